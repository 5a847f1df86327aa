// The "Standard" layout: the column of every lexeme of a lexed source, the
// author's line breaks kept, indentation from the syntactic nesting, blanks
// from the GNAT token-spacing rules, alignment blanks kept.
#pragma once

#include <string_view>
#include <vector>

#include "formatter.h"
#include "lexer.h"

namespace Formatter {

/// The 1-based column of every lexeme of Input (same order), with the
/// Byte_Order_Mark taking no column. Made flags the lines that the engine
/// made by breaking long lines (see Group_Columns); it may be empty. Never
/// throws (only std::bad_alloc).
std::vector<Column_Number> Lay_Out(std::string_view Source, const Lexed& Input,
                                   const Settings& Options, const std::vector<bool>& Made);

}  // namespace Formatter
