// Where a continuation line of an expression goes when its author's
// column is lost: the lexemes of the lines above that it is placed from.
#pragma once

#include <cstddef>
#include <vector>

#include "lexer.h"
#include "structure.h"

namespace Formatter::Nesting {

/// The first choice of the association whose `=>` is Arrow: the lexeme
/// after the `(`, `[` or `,` before it on its line, or No_Lexeme.
std::size_t Choice_Start(const Lexed& Input, std::size_t Arrow) noexcept;

/// The first lexeme of the name (`A.B`, `T'Base`, `T'` before an
/// aggregate) that ends with Last on its line, or No_Lexeme.
std::size_t Name_Start(const Lexed& Input, std::size_t Last) noexcept;

/// `and`, `or`, `xor`, `and then` or `or else` ends the line at Last.
bool Ends_With_Logical(const Lexed& Input, std::size_t Last) noexcept;

/// A binary operator that a line of a long condition begins with.
bool Is_Line_Operator(Code S) noexcept;

/// The first lexeme of the operand that the line of I (inside parenthesis
/// Paren) goes on from: the first line of it that starts inside Paren
/// itself after a line that ends with `=>`, a comma, or the `then` or
/// `else` of an if expression (for a relational operator at I, also after
/// a line that ends with a logical operator). No_Lexeme when the operand starts on
/// Paren's own line (after the parenthesis, where the line goes anyway) or
/// is not found.
std::size_t Operand_Start(const Lexed& Input, const std::vector<Line_Role>& Roles, std::size_t I,
                          std::size_t Paren) noexcept;

/// The first lexeme of the nearest line above I's, within its statement
/// (which began on Statement_Line) and directly inside parenthesis Paren
/// (No_Lexeme: outside every parenthesis), that begins with `and`, `or` or
/// `xor`: the level the logical operator at I goes on at. No_Lexeme when
/// an association (`Name =>`) or a comma comes first, or none is found.
std::size_t Logical_Line_Above(const Lexed& Input, const std::vector<Line_Role>& Roles,
                               std::size_t I, std::size_t Statement_Line,
                               std::size_t Paren) noexcept;

}  // namespace Formatter::Nesting
