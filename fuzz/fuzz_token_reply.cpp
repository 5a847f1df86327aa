// Fuzz target: the token-reply parser and the token stream writer over any
// replies. Input: one separator byte, then the replies joined by it.
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "protocol.h"
#include "token_writer.h"

namespace {

// The formatting server of this run: the replies in order, then the end.
class Fake_Server final : public Client::Conversation {
 public:
  explicit Fake_Server(std::vector<std::string_view> Script) : Replies(std::move(Script)) {}

  void Write_To_Server(std::string_view Message) override {
    Fuzz::Check(Message == Protocol::Next_Message, "the writer sent something else than N");
    ++Requests;
  }

  std::string Read_Reply() override {
    Fuzz::Check(Requests == Next + 1, "a reply was read without its request");
    return Next < Replies.size() ? std::string(Replies[Next++])
                                 : (++Next, std::string(Protocol::End_Of_File_Reply));
  }

 private:
  std::vector<std::string_view> Replies;
  std::size_t Requests = 0;
  std::size_t Next = 0;
};

class Line_Check final : public Client::Line_Sink {
 public:
  void Put_Line(std::string_view Line) override {
    Fuzz::Check(Line.find_first_of("\r\n") == std::string_view::npos,
                "a written line holds a line end");
    Written += Line;
  }
  std::string Written;
};

std::string Without_Blanks(std::string_view S) {
  std::string Result;
  for (const char C : S) {
    if (C != ' ') {
      Result += C;
    }
  }
  return Result;
}

// Parse_Token on one reply; the text of a token that is written, or nothing.
std::string Parsed_Text(std::string_view Reply, bool& Ended) {
  const Client::Token Token = Client::Parse_Token(Reply);
  Fuzz::Check(Token.Id >= 0, "a negative kind was accepted");
  Ended = Token.Id == 0;
  if (!Token.Has_Fields) {
    return "";
  }
  Fuzz::Check(Token.Id >= 1 && Token.Id <= Protocol::Kind::Last && Token.Column >= 1,
              "fields out of range");
  Fuzz::Check(Reply.ends_with(Token.Text) && Reply.size() > Token.Text.size() &&
                  Reply[Reply.size() - Token.Text.size() - 1] == ',',
              "the text is not what follows the second comma");
  return Client::Apply_Case(Token.Id, Token.Text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  std::string_view Rest = Fuzz::Bytes(Data, Size);
  if (Rest.empty()) {
    return 0;
  }
  const char Separator = Rest.front();
  Rest.remove_prefix(1);
  std::vector<std::string_view> Replies;
  while (!Rest.empty()) {
    Replies.push_back(Fuzz::Take_Until(Rest, Separator));
  }

  // Every text the parser lets through, up to the end or the first bad reply.
  std::string Expected;
  bool Bad = false;
  for (const std::string_view Reply : Replies) {
    bool Ended = false;
    try {
      Expected += Parsed_Text(Reply, Ended);
    } catch (const Client::Bad_Reply&) {
      Bad = true;
    }
    if (Ended || Bad) {
      break;
    }
  }

  Fake_Server Server(Replies);
  Line_Check Output;
  bool Failed = false;
  try {
    Client::Write_Tokens(Server, Output);
  } catch (const Client::Bad_Reply&) {
    Failed = true;
  }
  Fuzz::Check(Failed == Bad, "the writer and the parser disagree on a bad reply");
  if (!Failed) {
    Fuzz::Check(Without_Blanks(Output.Written) == Without_Blanks(Expected),
                "the written text differs from the tokens' texts");
  }
  return 0;
}
