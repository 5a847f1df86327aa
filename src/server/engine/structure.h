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

/// No lexeme (a lexeme number, see Index, never reaches it).
inline constexpr std::size_t No_Lexeme = std::numeric_limits<Index>::max();

enum class Line_Kind : unsigned char {
  Empty,         ///< no lexeme but effectors (a blank line)
  Comment,       ///< only a comment (and effectors)
  Fixed,         ///< starts a statement, declaration or clause, or a closing keyword
  Continuation,  ///< continues the statement begun on Statement_Line
};

/// Where a continuation line goes when the author's offset does not follow
/// the style.
enum class Continuation_Rule : unsigned char {
  Indented,  ///< after the open parenthesis, else two columns in from the statement
  Level,     ///< at the statement's own indentation (`with` of aspects alone...)
  Under,     ///< at the column of lexeme Reference plus Shift
};

/// Kept small: one is held for every line.
struct Line_Role {
  Line_Kind Kind = Line_Kind::Empty;
  Continuation_Rule Rule = Continuation_Rule::Indented;
  /// Comment: the comment stands inside an unfinished statement.
  bool Inside_Statement = false;
  /// Comment: the next code line starts with a closing keyword (end, else,
  /// elsif, when, exception, begin, or, private).
  bool Before_Closer = false;
  /// Fixed: the indentation (0-based column) of the first lexeme. Comment:
  /// the indentation a statement would take at this place.
  Column_Number Indent = 0;
  /// Continuation: the line on which the statement began.
  Index Statement_Line = 0;
  /// Continuation: the innermost parenthesis still open at the start of the
  /// line, or No_Lexeme.
  Index Open_Paren = No_Lexeme;
  Index Reference = No_Lexeme;
  Column_Number Shift = 0;
  /// The first lexeme that is not a comment or effector, or No_Lexeme.
  Index First_Code = No_Lexeme;
};

/// Places the lexemes of one line as soon as its role is known, so that the
/// nesting that follows can build on the columns of the lines before.
class Line_Placer {
 public:
  virtual ~Line_Placer() = default;
  /// Places line L (Roles[0 .. L] are known) and returns the column of its
  /// first code lexeme.
  virtual Column_Number Place(std::size_t L, const std::vector<Line_Role>& Roles) = 0;
};

/// The role of every line of Input (Lexed.Lines order), each code line
/// handed to Placer as soon as its role is known. Units is the indentation
/// width.
std::vector<Line_Role> Analyse(const Lexed& Input, Column_Number Units, Line_Placer& Placer);

}  // namespace Formatter
