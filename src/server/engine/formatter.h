// The formatting engine of the formatting server: lexes Ada source and lays
// it out in the "Standard" style, as the token stream that the server hands
// to the client one token at a time. No pipe, no files: text in, tokens out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "protocol.h"

namespace Formatter {

/// The one type of every column the engine reads, computes or writes:
/// 1-based, tabs expanded to multiples of eight. The lexer holds a source's
/// columns below Column_Limit, so that a sum of a few columns and lengths
/// never leaves the type.
using Column_Number = std::int32_t;

/// Source columns from here on count as this one: a line that long holds
/// no layout worth keeping.
inline constexpr Column_Number Column_Limit = Column_Number{1} << 28;

/// The Ada edition whose reserved words apply.
enum class Edition { Ada83, Ada95, Ada2005, Ada2012, Ada2022 };

struct Settings {
  Edition Language = Edition::Ada2022;
  Column_Number Units = 3;  ///< indentation width, 1 .. 9 (values outside are clamped)
  /// The most lexical errors Format reports for one source (at least 1);
  /// lexing stops there.
  std::size_t Errors = 10;
  /// The longest line the layout aims at: a longer line is broken at its
  /// construct's natural points where that is possible. 0 breaks no line
  /// (beyond the client's Longest_Line).
  Column_Number Width = 79;
};

/// One token of the stream: its kind (1 .. Protocol::Kind::Last, the client's letter-case
/// rule depends on it), the 1-based column at which its text starts, and the
/// text. Kind End_Of_Line with an empty text ends a line. The text is not
/// copied: it lies in the source that was formatted (see Result).
struct Token {
  int Kind = 0;
  Column_Number Column = 1;
  std::string_view Text;
};

/// The kinds the engine sends (see docs/formatting-server.md for why).
namespace Kinds {
inline constexpr int Identifier = Protocol::Kind::Identifier;  ///< kept as written
inline constexpr int Literal = Protocol::Kind::Literal;  ///< numbers, strings, characters: kept
inline constexpr int End_Of_Line = Protocol::Kind::End_Of_Line;      ///< empty text: the line ends
inline constexpr int Reserved_Word = Protocol::Kind::Reserved_Word;  ///< lower-cased by the client
inline constexpr int Delimiter = Protocol::Kind::Delimiter;  ///< lower-cased (no letters anyway)
inline constexpr int Comment = Protocol::Kind::Comment;      ///< kept as written
inline constexpr int Attribute = Protocol::Kind::Attribute;  ///< after an apostrophe: kept (Access)
inline constexpr int Verbatim = Protocol::Kind::Verbatim;  ///< byte-order mark, form feed, VT: kept
}  // namespace Kinds

/// The last column of the client's line: the stream never has a token end
/// past it (a longer line is broken between tokens, where the client would
/// otherwise run words together).
inline constexpr auto Longest_Line = static_cast<Column_Number>(Protocol::Last_Column);

/// A lexical error: 1-based line and column, and what is wrong.
struct Diagnostic {
  std::size_t Line = 0;
  std::size_t Column = 0;
  std::string Message;
};

struct Result {
  std::vector<Token> Tokens;       ///< empty when Errors is not
  std::vector<Diagnostic> Errors;  ///< lexical errors, in source order
  /// Where the tokens' texts lie when not in the source: the source as laid
  /// out once already, when a line had to be broken, and attribute and
  /// pragma names given their mixed case (else empty). Each stage that
  /// makes texts adds the one that holds them; shared, so that moving or
  /// copying the result leaves the texts where they are.
  std::vector<std::shared_ptr<const std::string>> Laid_Out;
};

/// Formats one source text. The tokens' texts lie in Source (or in the
/// result's Laid_Out), so Source must outlive them. A source longer than
/// 128 MiB is refused with one error. Never throws for any input bytes
/// (only std::bad_alloc).
Result Format(std::string_view Source, const Settings& Options);

/// A string that dies with the call would leave the tokens' texts nowhere.
Result Format(std::string&& Source, const Settings& Options) = delete;

/// A literal lives on: formatted as its text.
inline Result Format(const char* Source, const Settings& Options) {
  return Format(std::string_view(Source), Options);
}

}  // namespace Formatter
