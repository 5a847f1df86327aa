// Lines that fit: a line of the laid-out token stream longer than the
// width in force is broken at its construct's natural points, the way
// GNAT's style breaks it, and the text laid out again. Lines that fit keep
// the breaks their author made; nothing is ever joined.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formatter.h"

namespace Formatter {

/// The text the client writes for Tokens, letter case aside (LF line ends).
/// Made, when given, flags lines of Tokens and becomes the flags of the
/// text's lines (a line the client breaks gives both pieces its flag).
std::string Written_Text(const std::vector<Token>& Tokens, std::vector<bool>* Made = nullptr);

/// Format, for a text whose lines flagged in Made the engine made itself
/// by breaking long lines: those are aligned as lines that moved are, since
/// no author chose their blanks (Made may be shorter than the lines).
Result Format_Pieces(std::string_view Source, const Settings& Options,
                     const std::vector<bool>& Made);

/// Output (laid out with In_Force) with its long lines broken, as long as
/// there is a natural point left that shortens them, and laid out anew.
/// Output is returned as it is when it has errors, when In_Force.Width is
/// 0, or when every line fits.
Result Fit_Lines(Result Output, const Settings& In_Force);

}  // namespace Formatter
