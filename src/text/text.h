// The string library: 1-based positions, Latin-1 letter case, searches that
// answer 0 for "not found". Every caller that splits names, replies or
// arguments relies on these exact position rules.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "named_error.h"

namespace Text {

enum class Going { Forward, Backward };

/// Latin-1 lower case: A..Z and 0xC0..0xDE except 0xD7 move up by 0x20.
char Lower(char C) noexcept;
/// Latin-1 upper case: a..z and 0xE0..0xFE except 0xF7 move down by 0x20.
char Upper(char C) noexcept;

std::string Lower_Case(std::string_view S);
std::string Upper_Case(std::string_view S);

/// Characters Start .. Start+Length-1 of Source.
/// Throws Constraint_Error when Start < 1, when Start+Length-1 is negative,
/// or when the slice does not lie inside Source (Start may be Length+1 only
/// for an empty result).
std::string Sub_String(std::string_view Source, long long Start, long long Length);

void Clear(std::string& S) noexcept;
bool Is_Empty(std::string_view S) noexcept;

/// Byte equality, or equality of the Latin-1 lower-case forms.
bool Equal(std::string_view Left, std::string_view Right, bool Case_Sensitive) noexcept;

/// 1-based position of Pattern in Source, 0 when absent. From = 0 searches
/// the whole string; otherwise Forward searches From .. Length and Backward
/// 1 .. From, a match lying wholly inside that window. Throws
/// Constraint_Error when the window does not lie inside Source.
std::size_t Index(std::string_view Pattern, std::string_view Source, std::size_t From = 0,
                  Going Direction = Going::Forward);
std::size_t Index(char Item, std::string_view Source, std::size_t From = 0,
                  Going Direction = Going::Forward);

/// The value of an integer image as the language reads it: blanks around
/// it, an optional sign, decimal digits with single underscores between
/// them. Nothing for anything else (or a value out of range).
std::optional<long long> Integer_Value(std::string_view Image);

/// Decimal image of an integer with the language's leading blank for
/// non-negative values (" 42", "-7").
std::string Image(long long Value);

}  // namespace Text
