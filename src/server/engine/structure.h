// The syntactic nesting of a lexed source, line by line: which lines start
// a statement or declaration (and at which indentation), which continue one,
// and which hold only comments. Syntax errors never stop it: nesting that
// does not balance is clamped at the left margin.
#pragma once

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

#include "lexer.h"

namespace Formatter {

inline constexpr std::size_t No_Lexeme = std::numeric_limits<std::size_t>::max();

enum class Line_Kind : unsigned char {
  Empty,         ///< no lexeme (a blank line)
  Comment,       ///< only a comment (and effectors)
  Fixed,         ///< starts a statement, declaration or clause, or a closing keyword
  Continuation,  ///< continues the statement begun on Statement_Line
};

struct Line_Role {
  Line_Kind Kind = Line_Kind::Empty;
  /// Fixed: the indentation (0-based column) of the first lexeme. Comment:
  /// the indentation a statement would take at this place.
  long long Indent = 0;
  /// Continuation: the line on which the statement began.
  std::size_t Statement_Line = 0;
  /// Continuation: the innermost parenthesis still open at the start of the
  /// line (opened on an earlier line of the statement), or No_Lexeme.
  std::size_t Open_Paren = No_Lexeme;
  /// The first lexeme that is not a comment or effector, or No_Lexeme.
  std::size_t First_Code = No_Lexeme;
  /// Comment: the line ends an unfinished statement's text (the comment
  /// stands inside a statement), so it follows the next code line.
  bool Inside_Statement = false;
  /// Comment: the next code line starts with a closing keyword (end, else,
  /// elsif, when, exception, begin, or, private).
  bool Before_Closer = false;
};

/// The role of every line of Source (Lexed.Lines order). Units is the
/// indentation width. Unary is filled with one flag per lexeme: the plus
/// or minus sign is unary.
std::vector<Line_Role> Analyse(std::string_view Source, const Lexed& Input, int Units,
                               std::vector<bool>& Unary);

}  // namespace Formatter
