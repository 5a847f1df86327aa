// The conversation between Quorvel and its formatting server, stated once
// for both ends: the client (src/client, src/driver), the server and its
// engine (src/server), the fuzz targets and the tests include this.
//
// The client sends one message at a time, its first byte a letter; the
// server answers settings and "O" with lines ended by the end mark, and
// each "N" with one token reply "kind,column,text" ("0" at the end of the
// file). The client writes the tokens line by line by the rule below.
#pragma once

#include <cstddef>
#include <string_view>

namespace Protocol {

/// The first byte of each client message.
namespace Letter {
inline constexpr char Open = 'O';      ///< & file name: format that file
inline constexpr char Next = 'N';      ///< the next token of the open file
inline constexpr char Close = 'C';     ///< the conversation is over
inline constexpr char Compiler = 'X';  ///< & Ada edition
inline constexpr char Path = 'P';      ///< & folder of sources named without one
inline constexpr char Units = 'U';     ///< & indentation width
inline constexpr char Errors = 'E';    ///< & most error lines for one file
inline constexpr char Timeout = 'T';   ///< & seconds of silence before the server ends
inline constexpr char Width = 'W';     ///< & longest line (sent only when configured)
}  // namespace Letter

/// The messages that are a letter alone.
inline constexpr std::string_view Next_Message = "N";
inline constexpr std::string_view Close_Message = "C";

/// The line that ends the server's answer to a setting or to "O".
inline constexpr std::string_view End_Mark = ".";

/// The answer to "N" when the open file has no token left (or none is open).
inline constexpr std::string_view End_Of_File_Reply = "0";

/// The longest reply the client reads unless its configuration says more.
inline constexpr std::size_t Default_Reply_Size = 1000;

/// Token kinds, the first number of a token reply. The client's letter case
/// depends on them (Case_Of); the kinds the engine sends are named.
namespace Kind {
inline constexpr int End_Of_File = 0;    ///< the reply "0": no token left
inline constexpr int Identifier = 1;     ///< kept as written
inline constexpr int Literal = 2;        ///< numbers, strings, characters: kept
inline constexpr int End_Of_Line = 3;    ///< with an empty text: the line ends
inline constexpr int Reserved_Word = 4;  ///< lower-cased
inline constexpr int Delimiter = 5;      ///< lower-cased (no letters anyway)
inline constexpr int Comment = 104;      ///< kept as written
inline constexpr int Attribute = 105;    ///< the name after an apostrophe: kept
inline constexpr int Upper_Cased = 107;  ///< put in upper case
inline constexpr int Verbatim = 108;     ///< byte-order mark, form feed, vertical tab: kept
inline constexpr int Last = 110;         ///< a larger kind is no token
}  // namespace Kind

enum class Letter_Case { Kept, Upper, Lower };

/// The letter case the client gives a token's text of kind Id.
constexpr Letter_Case Case_Of(long long Id) noexcept {
  switch (Id) {
    case Kind::Identifier:
    case Kind::Literal:
    case Kind::Comment:
    case Kind::Attribute:
    case Kind::Verbatim:
      return Letter_Case::Kept;
    case Kind::Upper_Cased:
      return Letter_Case::Upper;
    default:
      return Letter_Case::Lower;
  }
}

/// The last column of a written line: the client puts no text past it
/// without starting a new line first.
inline constexpr long long Last_Column = 999;

/// What the client does with a token's text of Text_Size bytes at Column
/// (1-based) when the line being written holds Line_Size bytes: it first
/// adds Blanks (up to the column, for a column on the line past its end),
/// then ends the line when the text would pass Last_Column, and then
/// writes the text. A text longer than a whole line is written whole on a
/// line of its own.
struct Placement {
  std::size_t Blanks = 0;
  bool Line_Ends_First = false;
};

constexpr Placement Place_Text(std::size_t Line_Size, long long Column,
                               std::size_t Text_Size) noexcept {
  Placement Result;
  const auto Next_Column = static_cast<long long>(Line_Size) + 1;
  if (Column > Next_Column && Column <= Last_Column) {
    Result.Blanks = static_cast<std::size_t>(Column - Next_Column);
  }
  Result.Line_Ends_First = Line_Size + Result.Blanks + Text_Size > Last_Column;
  return Result;
}

}  // namespace Protocol
