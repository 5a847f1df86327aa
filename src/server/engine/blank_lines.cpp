// Squeezing blank lines: one pass over the token stream, dropping line ends.
#include "blank_lines.h"

#include "line_choice.h"

namespace Formatter {

void Squeeze_Blank_Lines(std::vector<Token>& Tokens) {
  // Run counts the line ends in a row just kept: the first ends a line of
  // text (or the first, empty, line), the second a blank line; a third
  // would end a second blank line in a row.
  std::size_t Kept = 0;
  std::size_t Run = 1;  // the start of the file counts as a line just ended
  for (const Token& Item : Tokens) {
    if (Ends_Line(Item)) {
      if (++Run > 2) {
        continue;
      }
    } else {
      Run = 0;
    }
    Tokens[Kept++] = Item;
  }
  Tokens.resize(Kept);
  // What ends the file: the last text's line end, and no blank line after it.
  while (!Tokens.empty() && Ends_Line(Tokens.back()) &&
         (Tokens.size() == 1 || Ends_Line(Tokens[Tokens.size() - 2]))) {
    Tokens.pop_back();
  }
}

}  // namespace Formatter
