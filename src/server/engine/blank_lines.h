// Blank lines as GNAT's style check (-gnatyu) wants them: never two in a
// row, and none at the end of the file.
#pragma once

#include <vector>

#include "formatter.h"

namespace Formatter {

/// Removes from Tokens the line ends that make a blank line follow a blank
/// line, and those that make blank lines end the file. Blank lines are
/// line ends with nothing between them; a lone blank line stays where its
/// author put it.
void Squeeze_Blank_Lines(std::vector<Token>& Tokens);

}  // namespace Formatter
