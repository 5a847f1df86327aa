// Where a line of the laid-out token stream that is longer than the width
// breaks: the natural points of its construct, the way GNAT's style breaks
// it, and where each piece goes.
#pragma once

#include <cstddef>
#include <vector>

#include "formatter.h"

namespace Formatter {

/// Where the pieces of one line of the token stream go: the indexes (into
/// the stream) of the tokens that start a new line, each with its column
/// there, and whether the line's end-of-line comment goes on a line of its
/// own above the code. When the `(` of a list that goes on over the next
/// lines moves from column Paren_From to Paren_To, those lines move with it.
struct Line_Breaks {
  std::vector<std::size_t> Before;
  std::vector<Column_Number> Column;
  bool Comment_Above = false;
  int Paren_From = 0;
  int Paren_To = 0;
};

/// The breaks for the line of Tokens that starts at index First (just
/// after a line end, or 0) and ends before index Last (its line end, or
/// the end of the stream), for lines of at most Width columns. Empty when
/// the line and the list it opens fit, or when nothing shortens them.
Line_Breaks Breaks_For(const std::vector<Token>& Tokens, std::size_t First, std::size_t Last,
                       Column_Number Width);

/// True for a line end token.
inline bool Ends_Line(const Token& Item) noexcept {
  return Item.Kind == Kinds::End_Of_Line && Item.Text.empty();
}

/// The column of the last character of Item.
inline Column_Number Last_Column(const Token& Item) noexcept {
  return Item.Column + static_cast<Column_Number>(Item.Text.size()) - 1;
}

/// The change in parenthesis nesting over Items[0 .. Count - 1].
int Nesting_Change(const Token* Items, std::size_t Count);

}  // namespace Formatter
