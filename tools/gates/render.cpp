// Rendering a token stream with the client's own writer, and splitting
// texts into lines.
#include "render.h"

#include <string>

#include "protocol.h"
#include "token_writer.h"

namespace Gates {

namespace {

// The server's side of the conversation: each "N" gets the next token as
// "kind,column,text", and "0" once the tokens are used up.
class Token_Feed final : public Client::Conversation {
 public:
  explicit Token_Feed(const std::vector<Formatter::Token>& All) : Tokens(All) {}

  void Write_To_Server(std::string_view Message) override {
    Asked = Message == Protocol::Next_Message;
  }

  std::string Read_Reply() override {
    if (!Asked || Next == Tokens.size()) {
      return std::string(Protocol::End_Of_File_Reply);
    }
    const Formatter::Token& Item = Tokens[Next++];
    return (std::to_string(Item.Kind) + ',' + std::to_string(Item.Column) + ',').append(Item.Text);
  }

 private:
  const std::vector<Formatter::Token>& Tokens;
  std::size_t Next = 0;
  bool Asked = false;
};

class Text_Sink final : public Client::Line_Sink {
 public:
  void Put_Line(std::string_view Line) override {
    Text.append(Line);
    Text.append("\r\n");
  }
  std::string Text;
};

}  // namespace

std::string Render(const std::vector<Formatter::Token>& Tokens) {
  Token_Feed Feed(Tokens);
  Text_Sink Sink;
  Client::Write_Tokens(Feed, Sink);
  return std::move(Sink.Text);
}

std::vector<std::string_view> Lines_Of(std::string_view Text) {
  std::vector<std::string_view> Lines;
  std::size_t Start = 0;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '\n' || Text[I] == '\r') {
      Lines.push_back(Text.substr(Start, I - Start));
      if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') {
        ++I;
      }
      Start = I + 1;
    }
  }
  if (Start < Text.size()) {
    Lines.push_back(Text.substr(Start));
  }
  return Lines;
}

}  // namespace Gates
