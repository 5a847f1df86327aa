// The lexer of the formatting engine: Ada's lexical rules over 8-bit
// (Latin-1) text, with every lexeme's place in the source and the line
// structure kept, so that the layout can follow the author.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "formatter.h"
#include "vocabulary.h"

namespace Formatter {

enum class Lexeme_Class : unsigned char {
  Identifier,
  Reserved_Word,
  Attribute,  ///< the designator after an apostrophe (Length, Access, Range...)
  Numeric_Literal,
  Character_Literal,
  String_Literal,
  Delimiter,
  Comment,
  Effector,         ///< a form feed or vertical tab standing between lexemes
  Byte_Order_Mark,  ///< the UTF-8 byte-order mark at the very start
};

/// An offset, a length, or a lexeme or line number of a source that the
/// engine formats (its columns are Column_Number, formatter.h: below
/// Column_Limit in the source, and laid out a little past that at most).
using Index = std::uint32_t;

/// The longest source the engine formats.
inline constexpr std::size_t Largest_Source = std::size_t{1} << 27;

/// Kept small: a source holds about one lexeme for every five bytes, and
/// all of them are held at once.
struct Lexeme {
  Index Offset = 0;  ///< first byte in the source
  Index Length = 0;
  Index Line = 0;            ///< 0-based physical line
  Column_Number Column = 1;  ///< 1-based column in the source, tabs expanded to multiples of 8
  Lexeme_Class Class = Lexeme_Class::Identifier;
  Code Symbol = Code::None;  ///< the reserved word or delimiter, else None
};

/// One physical line: its lexemes are Lexemes[First .. First + Count - 1].
struct Source_Line {
  Index First = 0;
  Index Count = 0;
  bool Terminated = false;  ///< ends with CR LF, LF or CR (the last line may not)
};

struct Lexed {
  std::vector<Lexeme> Lexemes;
  std::vector<Source_Line> Lines;
  std::vector<Diagnostic> Errors;  ///< at most the limit given to Lex
};

/// Lexes Source. Lexical errors are collected (at most Error_Limit of them,
/// lexing stops at the limit); the lexemes are complete only when Errors is
/// empty. Source is at most Largest_Source bytes long. Never throws for
/// any input bytes (only std::bad_alloc).
Lexed Lex(std::string_view Source, Edition Language, std::size_t Error_Limit);

/// Names, attributes and literals: the lexemes that stand for a value by
/// their class alone.
constexpr bool Is_Operand_Class(Lexeme_Class Class) noexcept {
  switch (Class) {
    case Lexeme_Class::Identifier:
    case Lexeme_Class::Attribute:
    case Lexeme_Class::Numeric_Literal:
    case Lexeme_Class::Character_Literal:
    case Lexeme_Class::String_Literal:
      return true;
    default:
      return false;
  }
}

/// The text of a lexeme.
inline std::string_view Text_Of(std::string_view Source, const Lexeme& Item) noexcept {
  return Source.substr(Item.Offset, Item.Length);
}

}  // namespace Formatter
