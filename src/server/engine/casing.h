// The letter case GNAT's style wants for the names the language defines:
// attribute designators, pragma names and aspect marks in mixed case
// (GNAT's -gnatya and -gnatyp), whatever case the author wrote them in.
#pragma once

#include <string>
#include <string_view>

#include "formatter.h"

namespace Formatter {

/// Text in mixed case: its first letter and every letter after an
/// underscore in upper case, the others in lower case.
std::string Mixed_Case(std::string_view Text);

/// Gives every attribute, pragma name and aspect mark of Output its mixed
/// case. The texts that change are kept in a store added to
/// Output.Laid_Out.
void Mix_Defined_Names(Result& Output);

}  // namespace Formatter
