// Wide (16-bit) strings of the Windows interfaces on a platform whose file
// names and text are 8-bit: conversions between UTF-16 and UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace Windows {

/// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string To_UTF_8(std::u16string_view Wide);

/// UTF-8 to UTF-16; a byte that does not start a valid sequence is taken
/// as the Latin-1 character of that value.
std::u16string To_UTF_16(std::string_view Narrow);

/// Bytes taken two at a time, low byte first, as 16-bit units; an odd last
/// byte is dropped.
std::u16string Units_Of(std::string_view Bytes);
/// Each unit as two bytes, low byte first.
std::string Bytes_Of(std::u16string_view Units);

}  // namespace Windows
