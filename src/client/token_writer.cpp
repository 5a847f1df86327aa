// The token stream writer.
#include "token_writer.h"

#include <algorithm>
#include <optional>

#include "log.h"
#include "protocol.h"
#include "text.h"

namespace Client {

namespace {

// The standard conversion of an integer image; anything else ends the run.
long long Integer_Value(std::string_view Field) {
  const std::optional<long long> Value = Text::Integer_Value(Field);
  if (!Value) {
    throw Bad_Reply("bad number in token reply");
  }
  return *Value;
}

// The pending line and its two operations.
class Line_Builder {
 public:
  explicit Line_Builder(Line_Sink& Sink) : Output(Sink) {}

  // Text is placed as received (protocol.h says where), then given its
  // kind's letter case where it lies, so that no copy of it is made. The
  // line is a growable string, so a text longer than a whole line is
  // written whole on a line of its own instead of failing.
  void Write_At(long long Column, long long Id, std::string_view Text) {
    const Protocol::Placement Place = Protocol::Place_Text(Line.size(), Column, Text.size());
    Line.append(Place.Blanks, ' ');
    if (Place.Line_Ends_First) {
      End_Line();
    }
    Line.append(Text);
    Apply_Case(Id, Line.data() + Line.size() - Text.size(), Line.data() + Line.size());
  }

  void End_Line() {
    Output.Put_Line(Line);
    Line.clear();
  }

  bool Pending() const noexcept { return !Line.empty(); }

 private:
  Line_Sink& Output;
  std::string Line;
};

}  // namespace

Token Parse_Token(std::string_view Reply) {
  if (Reply.empty()) {
    throw Bad_Reply("empty token reply");
  }
  Token Result;
  const std::size_t P = Text::Index(',', Reply);
  Result.Id = Integer_Value(P == 0 ? Reply : Reply.substr(0, P - 1));
  if (Result.Id < 0) {
    throw Bad_Reply("negative token kind");
  }
  if (P == 0 || Result.Id == Protocol::Kind::End_Of_File || Result.Id > Protocol::Kind::Last) {
    return Result;
  }
  const std::size_t Q = Text::Index(',', Reply, P + 1, Text::Going::Forward);
  if (Q == 0) {
    throw Bad_Reply("token reply without column");
  }
  Result.Has_Fields = true;
  Result.Column = Integer_Value(Reply.substr(P, Q - 1 - P));
  if (Result.Column < 1) {
    throw Bad_Reply("token column below 1");
  }
  Result.Text = Reply.substr(Q);
  // Lines end only where the server sends an end-of-line token: a line end
  // inside a text would leave the file with a line not ended by CR LF.
  if (Result.Text.find_first_of("\r\n") != std::string_view::npos) {
    throw Bad_Reply("line end inside token text");
  }
  return Result;
}

void Apply_Case(long long Id, char* First, char* Last) noexcept {
  switch (Protocol::Case_Of(Id)) {
    case Protocol::Letter_Case::Kept:
      return;
    case Protocol::Letter_Case::Upper:
      std::transform(First, Last, First, Text::Upper);
      return;
    case Protocol::Letter_Case::Lower:
      std::transform(First, Last, First, Text::Lower);
      return;
  }
}

std::string Apply_Case(long long Id, std::string_view Text) {
  std::string Result(Text);
  Apply_Case(Id, Result.data(), Result.data() + Result.size());
  return Result;
}

void Write_Tokens(Conversation& Server, Line_Sink& Output) {
  Line_Builder Line(Output);
  for (;;) {
    Server.Write_To_Server(Protocol::Next_Message);
    const std::string Reply = Server.Read_Reply();
    const Token Next = Parse_Token(Reply);
    if (Next.Id == Protocol::Kind::End_Of_File) {
      break;
    }
    if (Next.Id > Protocol::Kind::Last) {
      Log::Write("Bad Token, Id =" + Text::Image(Next.Id));
      continue;
    }
    if (!Next.Has_Fields) {
      continue;
    }
    if (!Next.Text.empty()) {
      Line.Write_At(Next.Column, Next.Id, Next.Text);
    } else if (Next.Id == Protocol::Kind::End_Of_Line) {
      Line.End_Line();
    }
  }
  if (Line.Pending()) {
    Line.End_Line();
  }
}

}  // namespace Client
