// Fuzz target: the formatting engine over any source text. Input: one byte
// of settings (edition, indentation width, error limit), then the source.
// Formatting never throws; it keeps every token and every byte but the
// layout's blanks and line ends (the code's in order, the comments' in
// order); formatting its own output changes nothing.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "formatter.h"
#include "fuzz_check.h"
#include "gates.h"
#include "lexer.h"
#include "protocol.h"
#include "text.h"
#include "token_writer.h"

namespace {

using Formatter::Token;

Formatter::Settings Settings_Of(unsigned char Byte) {
  Formatter::Settings Options;
  Options.Language = static_cast<Formatter::Edition>(Byte % 5);
  // -1 .. 9: widths outside 1 .. 9 are clamped by the engine.
  Options.Units = (Byte / 5) % 11 - 1;
  Options.Errors = static_cast<std::size_t>(Byte >> 6);
  return Options;
}

std::string Without_Layout(std::string_view Text) {
  std::string Result;
  for (const char C : Text) {
    if (C != ' ' && C != '\t' && C != '\r' && C != '\n') {
      Result += C;
    }
  }
  return Result;
}

// The tokens as the client writes them (kind and text with its letter case),
// line ends left out.
std::vector<std::pair<int, std::string>> Lexical(const std::vector<Token>& Tokens) {
  std::vector<std::pair<int, std::string>> Result;
  for (const Token& Item : Tokens) {
    if (Item.Kind != Formatter::Kinds::End_Of_Line) {
      Result.emplace_back(Item.Kind, Client::Apply_Case(Item.Kind, Item.Text));
    }
  }
  return Result;
}

void Check_Stream(const Formatter::Result& Formatted, const Formatter::Settings& Options) {
  if (!Formatted.Errors.empty()) {
    Fuzz::Check(Formatted.Tokens.empty(), "tokens beside lexical errors");
    Fuzz::Check(Formatted.Errors.size() <= std::max<std::size_t>(Options.Errors, 1),
                "more errors than the limit");
    for (const Formatter::Diagnostic& Error : Formatted.Errors) {
      Fuzz::Check(Error.Line >= 1 && Error.Column >= 1 && !Error.Message.empty(),
                  "an error without its place or message");
    }
    return;
  }
  for (const Token& Item : Formatted.Tokens) {
    Fuzz::Check(Item.Kind >= 1 && Item.Kind <= Protocol::Kind::Last && Item.Column >= 1,
                "a token out of range");
    Fuzz::Check(Item.Text.empty() == (Item.Kind == Formatter::Kinds::End_Of_Line),
                "an empty text that is no line end, or a line end with a text");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) {
    return 0;
  }
  const Formatter::Settings Options = Settings_Of(Data[0]);
  const std::string_view Source = Fuzz::Bytes(Data + 1, Size - 1);
  const Formatter::Result Once = Formatter::Format(Source, Options);
  Check_Stream(Once, Options);
  if (!Once.Errors.empty()) {
    return 0;
  }
  // The code's bytes in order, and the comments' in order: an end-of-line
  // comment that no longer fits beside its code moves above it. Words are
  // compared without letter case: attribute and pragma names are given the
  // case the language defines, and a word after a lone apostrophe may be
  // read as an attribute once a comment between them has moved away.
  std::string Code;
  std::string Comments;
  for (const Token& Item : Once.Tokens) {
    const bool Named = Item.Kind == Formatter::Kinds::Identifier ||
                       Item.Kind == Formatter::Kinds::Attribute ||
                       Item.Kind == Formatter::Kinds::Reserved_Word;
    (Item.Kind == Formatter::Kinds::Comment ? Comments : Code) +=
        Named ? Text::Lower_Case(Item.Text) : std::string(Item.Text);
  }
  const Formatter::Lexed Input = Formatter::Lex(Source, Options.Language, 1);
  std::string Source_Code;
  std::string Source_Comments;
  for (const Formatter::Lexeme& Item : Input.Lexemes) {
    const std::string_view Text = Formatter::Text_Of(Source, Item);
    const bool Named = Item.Class == Formatter::Lexeme_Class::Identifier ||
                       Item.Class == Formatter::Lexeme_Class::Attribute ||
                       Item.Class == Formatter::Lexeme_Class::Reserved_Word;
    (Item.Class == Formatter::Lexeme_Class::Comment ? Source_Comments : Source_Code) +=
        Named ? Text::Lower_Case(Text) : std::string(Text);
  }
  Fuzz::Check(Without_Layout(Code) == Without_Layout(Source_Code) &&
                  Without_Layout(Comments) == Without_Layout(Source_Comments),
              "bytes other than blanks and line ends were lost, added or moved");

  // What the user gets (the client's own writer), formatted once more.
  const std::string Written = Gates::Render(Once.Tokens);
  const Formatter::Result Twice = Formatter::Format(Written, Options);
  Check_Stream(Twice, Options);
  Fuzz::Check(Twice.Errors.empty(), "the formatted text does not lex");
  Fuzz::Check(Lexical(Twice.Tokens) == Lexical(Once.Tokens),
              "the formatted text holds other tokens than the source");
  Fuzz::Check(Gates::Render(Twice.Tokens) == Written, "formatting twice changes the text");
  return 0;
}
