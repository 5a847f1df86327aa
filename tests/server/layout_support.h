// Formatting a text through the engine and the client's writer, for tests
// that state inputs and outputs as plain text with LF line ends.
#pragma once

#include <string>
#include <string_view>

#include "formatter.h"

namespace Layout_Support {

/// Source formatted and written as the client writes it, CR LF turned into
/// LF; the first error's message when there are lexical errors.
std::string Formatted(std::string_view Source, const Formatter::Settings& Options = {});

/// The lexemes of Source, reserved words, names and attributes in lower
/// case, one per line: the code's in order, then the comments' in order (an
/// end-of-line comment that no longer fits beside its code goes on a line
/// above it).
std::string Lexeme_List(std::string_view Source);

}  // namespace Layout_Support
