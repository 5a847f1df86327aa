// Alignment groups: consecutive lines that declare names (`A, B : T`),
// associate choices (`Name => Value`) or place components (`Name at 0
// range`) starting at one column have their colons, arrows or `at`s in one
// column, as the GNAT sources do.
#pragma once

#include <vector>

#include "lexer.h"
#include "structure.h"

namespace Formatter {

/// The longest line of the GNAT style: alignment and continuation lines do
/// not push a line past it where they can help it.
inline constexpr Column_Number Style_Line_Length = 79;

/// For every lexeme, the column that its alignment group gives it (the
/// colon or arrow of a group member), or 0. Column holds the columns as
/// placed so far. A group already aligned keeps its column; any other is
/// aligned one blank after its longest names, unless that would push one
/// of its lines past Style_Line_Length. Made flags the lines that the
/// engine itself made by breaking a long line (it may be shorter than the
/// lines, or empty): their blanks tell nothing of their author's choice,
/// so their groups are aligned as those of moved lines are.
std::vector<Column_Number> Group_Columns(const Lexed& Input, const std::vector<Line_Role>& Roles,
                                         const std::vector<Column_Number>& Column,
                                         const std::vector<bool>& Made);

}  // namespace Formatter
