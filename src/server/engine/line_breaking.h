// Lines that fit: a line of the laid-out token stream longer than the
// width in force is broken at its construct's natural points, the way
// GNAT's style breaks it, and the text laid out again. Lines that fit keep
// the breaks their author made; nothing is ever joined.
#pragma once

#include <string>
#include <vector>

#include "formatter.h"

namespace Formatter {

/// The text the client writes for Tokens, letter case aside (LF line ends).
std::string Written_Text(const std::vector<Token>& Tokens);

/// Output (laid out with In_Force) with its long lines broken, as long as
/// there is a natural point left that shortens them, and laid out anew.
/// Output is returned as it is when it has errors, when In_Force.Width is
/// 0, or when every line fits.
Result Fit_Lines(Result Output, const Settings& In_Force);

/// Where the pieces of one line of the token stream go: the indexes (into
/// the stream) of the tokens that start a new line, each with its column
/// there, and whether the line's end-of-line comment goes on a line of its
/// own above the code. Empty when the line fits or cannot be shortened.
struct Line_Breaks {
  std::vector<std::size_t> Before;
  std::vector<int> Column;
  bool Comment_Above = false;
};

/// The breaks for the line of Tokens that starts at index First (just
/// after a line end, or 0) and ends before index Last (its line end, or
/// the end of the stream), for lines of at most Width columns.
Line_Breaks Breaks_For(const std::vector<Token>& Tokens, std::size_t First, std::size_t Last,
                       int Width);

}  // namespace Formatter
