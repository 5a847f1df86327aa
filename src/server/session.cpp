// The formatting server's answers to the client's messages.
#include "session.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <new>
#include <optional>

#include "source_file.h"

namespace Server {

namespace {

std::string Position(const std::string& Name, std::size_t Line, std::size_t Column) {
  return Name + ':' + std::to_string(Line) + ':' + std::to_string(Column) + ": ";
}

// The first token that the client could not take whole ("line:column:
// why"), or nothing. Checked before the style is sent: once the client has
// the style it writes the file, and a bad token met then would end its run.
std::optional<std::string> Unsendable(const std::vector<Formatter::Token>& Tokens,
                                      std::size_t Reply_Limit) {
  std::size_t Line = 1;
  for (const Formatter::Token& Token : Tokens) {
    const auto Column = static_cast<std::size_t>(std::max(Token.Column, 0));
    if (Token.Kind <= Protocol::Kind::End_Of_File || Token.Kind > Protocol::Kind::Last ||
        Token.Column < 1) {
      return std::to_string(Line) + ':' + std::to_string(Column) +
             ": formatter failure: token kind " + std::to_string(Token.Kind) + " at column " +
             std::to_string(Token.Column);
    }
    const std::size_t Length = std::to_string(Token.Kind).size() +
                               std::to_string(Token.Column).size() + 2 + Token.Text.size();
    if (Length > Reply_Limit) {
      return std::to_string(Line) + ':' + std::to_string(Column) + ": a token of " +
             std::to_string(Token.Text.size()) + " characters does not fit in a reply of " +
             std::to_string(Reply_Limit) + " (Pipelength)";
    }
    if (Token.Kind == Protocol::Kind::End_Of_Line && Token.Text.empty()) {
      ++Line;
    }
  }
  return std::nullopt;
}

}  // namespace

Session::Session(Formatting_Engine& Engine, std::size_t Pipe_Length)
    : Formatting(Engine), Reply_Limit(std::max<std::size_t>(Pipe_Length, 1)) {}

std::vector<std::string> Session::Answer(std::string_view Message) {
  if (Ended) {
    return {};
  }
  if (Message.empty()) {
    return Lines_Then_End({"Empty message"});
  }
  const char Command = Message.front();
  const bool Too_Long = Message.size() > Longest_Message;
  switch (Command) {
    case Protocol::Letter::Open:
      return Open(Message.substr(1), Too_Long);
    case Protocol::Letter::Next: {
      std::string Reply;
      Next_Token(Reply);
      return {std::move(Reply)};
    }
    case Protocol::Letter::Close:
      Ended = true;
      Close_File();
      return {};
    default:
      break;
  }
  std::optional<std::string> Line =
      Too_Long ? Refuse_Setting(Now, Command) : Apply_Setting(Now, Command, Message.substr(1));
  if (!Line) {
    Line = "Unknown message \"" + Shown(Message) + '"';
  }
  return Lines_Then_End({*Line});
}

std::vector<std::string> Session::Open(std::string_view Name, bool Too_Long) {
  Close_File();
  if (Too_Long) {
    return Lines_Then_End({'<' + Shown(Name) + ": the file name is too long"});
  }
  if (Name.empty()) {
    return Lines_Then_End({"<no file name given"});
  }
  Source_Text Source = Read_Source(std::string(Name), Now.Path);
  if (!Source.Failure.empty()) {
    return Lines_Then_End({'<' + Position(Source.Name, 1, 1) + Source.Failure});
  }
  Text = std::move(Source.Text);
  std::vector<std::string> Replies = Formatted(Source.Name);
  if (Tokens.empty()) {
    Close_File();
  }
  return Replies;
}

// Assigning {} would keep the room the file took.
void Session::Close_File() noexcept {
  Tokens = std::vector<Formatter::Token>();
  Laid_Out = {};
  Text = std::string();
  Next = 0;
}

std::vector<std::string> Session::Formatted(const std::string& Name) {
  Formatter::Settings Options;
  Options.Language = Now.Compiler;
  Options.Units = Now.Units;
  Options.Width = Now.Width;
  Options.Errors = static_cast<std::size_t>(Now.Errors);
  Formatter::Result Result;
  try {
    Result = Formatting.Format(Text, Options);
  } catch (const std::bad_alloc&) {
    return Lines_Then_End({'<' + Position(Name, 1, 1) + "the file is too large to format"});
  } catch (const std::exception& Failure) {
    return Lines_Then_End({'<' + Position(Name, 1, 1) + "formatter failure: " + Failure.what()});
  }
  std::vector<std::string> Lines;
  for (const Formatter::Diagnostic& Error : Result.Errors) {
    if (Lines.size() == static_cast<std::size_t>(Now.Errors)) {
      break;
    }
    Lines.push_back('<' + Position(Name, Error.Line, Error.Column) + Error.Message);
  }
  if (!Lines.empty()) {
    return Lines_Then_End(std::move(Lines));
  }
  if (const std::optional<std::string> Problem = Unsendable(Result.Tokens, Reply_Limit)) {
    return Lines_Then_End({'<' + Name + ':' + *Problem});
  }
  Tokens = std::move(Result.Tokens);
  Laid_Out = std::move(Result.Laid_Out);
  // A style name the client could not take is left out: without one, the
  // client settles the style itself.
  if (Style_Name.size() <= Reply_Limit) {
    Lines.emplace_back(Style_Name);
  }
  return Lines_Then_End(std::move(Lines));
}

void Session::Next_Token(std::string& Reply) {
  if (Next >= Tokens.size()) {
    Close_File();
    // One byte, pushed: assigning the view trips GCC 12's -Wrestrict at -O3.
    Reply.clear();
    Reply.push_back(Protocol::End_Of_File_Reply.front());
    return;
  }
  Token_Reply(Tokens[Next++], Reply);
}

std::vector<std::string> Session::Lines_Then_End(std::vector<std::string> Lines) const {
  for (std::string& Line : Lines) {
    Line = Printable(std::string_view(Line).substr(0, Reply_Limit));
  }
  Lines.emplace_back(Protocol::End_Mark);
  return Lines;
}

void Token_Reply(const Formatter::Token& Token, std::string& Reply) {
  char Numbers[32];
  char* End = std::to_chars(Numbers, Numbers + 15, Token.Kind).ptr;
  *End++ = ',';
  End = std::to_chars(End, Numbers + sizeof Numbers - 1, Token.Column).ptr;
  *End++ = ',';
  Reply.assign(Numbers, End).append(Token.Text);
}

}  // namespace Server
