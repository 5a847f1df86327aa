// The lexer of the formatting engine: Ada's lexical rules over 8-bit
// (Latin-1) text, with every lexeme's place in the source and the line
// structure kept, so that the layout can follow the author.
#pragma once

#include <cstddef>
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

struct Lexeme {
  Lexeme_Class Class = Lexeme_Class::Identifier;
  Code Symbol = Code::None;  ///< the reserved word or delimiter, else None
  std::size_t Offset = 0;    ///< first byte in the source
  std::size_t Length = 0;
  std::size_t Line = 0;  ///< 0-based physical line
  long long Column = 1;  ///< 1-based column in the source, tabs expanded to multiples of 8
};

/// One physical line: its lexemes are Lexemes[First .. First + Count - 1].
struct Source_Line {
  std::size_t First = 0;
  std::size_t Count = 0;
  bool Terminated = false;  ///< ends with CR LF, LF or CR (the last line may not)
};

struct Lexed {
  std::vector<Lexeme> Lexemes;
  std::vector<Source_Line> Lines;
  std::vector<Diagnostic> Errors;  ///< at most the limit given to Lex
};

/// Lexes Source. Lexical errors are collected (at most Error_Limit of them,
/// lexing stops at the limit); the lexemes are complete only when Errors is
/// empty. Never throws for any input bytes (only std::bad_alloc).
Lexed Lex(std::string_view Source, Edition Language, std::size_t Error_Limit);

/// The text of a lexeme.
inline std::string_view Text_Of(std::string_view Source, const Lexeme& Item) noexcept {
  return Source.substr(Item.Offset, Item.Length);
}

}  // namespace Formatter
