// Fixed-width upper-case hexadecimal images and 64-bit values from halves.
#pragma once

#include <cstdint>
#include <string>

namespace Unsigned {

/// One of "0123456789ABCDEF"; throws Constraint_Error above 15.
char Hex_Digit(unsigned Value);
std::string Hex_Image(std::uint8_t Value);   ///< 2 digits
std::string Hex_Image(std::uint16_t Value);  ///< 4 digits
std::string Hex_Image(std::uint32_t Value);  ///< 8 digits
/// Only the exact widths above: a wider value must be narrowed (and
/// range-checked) by the caller, as with Narrow below.
template <class T>
std::string Hex_Image(T) = delete;

/// Hexadecimal image with as many digits as Value needs, at least
/// Minimum_Digits (used where an identifier may exceed a fixed width).
std::string Hex_Image_Wide(std::uint64_t Value, unsigned Minimum_Digits);

/// Value as type T; throws Constraint_Error when it does not fit.
template <class T>
T Narrow(std::uint64_t Value);

std::uint64_t Make_64(std::uint32_t High, std::uint32_t Low) noexcept;

}  // namespace Unsigned
