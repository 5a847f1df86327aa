// Format: lex, lay out, and turn the lexemes into the token stream.
#include "formatter.h"

#include <algorithm>
#include <climits>

#include "layout.h"
#include "lexer.h"

namespace Formatter {

namespace {

int Kind_Of(Lexeme_Class Class) noexcept {
  switch (Class) {
    case Lexeme_Class::Identifier:
      return Kinds::Identifier;
    case Lexeme_Class::Attribute:
      return Kinds::Attribute;
    case Lexeme_Class::Numeric_Literal:
    case Lexeme_Class::Character_Literal:
    case Lexeme_Class::String_Literal:
      return Kinds::Literal;
    case Lexeme_Class::Reserved_Word:
      return Kinds::Reserved_Word;
    case Lexeme_Class::Delimiter:
      return Kinds::Delimiter;
    case Lexeme_Class::Comment:
      return Kinds::Comment;
    case Lexeme_Class::Effector:
    case Lexeme_Class::Byte_Order_Mark:
    default:
      return Kinds::Verbatim;
  }
}

int Clamped(long long Column) noexcept {
  return static_cast<int>(std::clamp<long long>(Column, 1, INT_MAX));
}

Settings Sound(const Settings& Options) noexcept {
  Settings Result = Options;
  Result.Units = std::clamp(Options.Units, 1, 9);
  Result.Errors = std::max<std::size_t>(Options.Errors, 1);
  return Result;
}

}  // namespace

Result Format(std::string_view Source, const Settings& Options) {
  const Settings In_Force = Sound(Options);
  Lexed Input = Lex(Source, In_Force.Language, In_Force.Errors);
  Result Output;
  if (!Input.Errors.empty()) {
    Output.Errors = std::move(Input.Errors);
    return Output;
  }
  const std::vector<long long> Column = Lay_Out(Source, Input, In_Force);
  Output.Tokens.reserve(Input.Lexemes.size() + Input.Lines.size());
  for (const Source_Line& Line : Input.Lines) {
    long long Shift = 0;
    for (std::size_t I = Line.First; I < Line.First + Line.Count; ++I) {
      const Lexeme& Item = Input.Lexemes[I];
      // The byte-order mark takes three of the client's columns.
      Output.Tokens.push_back(
          Token{Kind_Of(Item.Class), Clamped(Column[I] + Shift), std::string(Text_Of(Source, Item))});
      if (Item.Class == Lexeme_Class::Byte_Order_Mark) {
        Shift = static_cast<long long>(Item.Length);
      }
    }
    if (Line.Terminated) {
      Output.Tokens.push_back(Token{Kinds::End_Of_Line, 1, std::string()});
    }
  }
  return Output;
}

}  // namespace Formatter
