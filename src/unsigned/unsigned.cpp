// Hexadecimal images, each width built from the next smaller one.
#include "unsigned.h"

#include <limits>

#include "named_error.h"

namespace Unsigned {

char Hex_Digit(unsigned Value) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  if (Value > 15) {
    throw Constraint_Error("range check failed");
  }
  return Digits[Value];
}

std::string Hex_Image(std::uint8_t Value) {
  return {Hex_Digit(Value / 16u), Hex_Digit(Value % 16u)};
}

std::string Hex_Image(std::uint16_t Value) {
  return Hex_Image(static_cast<std::uint8_t>(Value / 256u)) +
         Hex_Image(static_cast<std::uint8_t>(Value % 256u));
}

std::string Hex_Image(std::uint32_t Value) {
  return Hex_Image(static_cast<std::uint16_t>(Value / 65536u)) +
         Hex_Image(static_cast<std::uint16_t>(Value % 65536u));
}

std::string Hex_Image_Wide(std::uint64_t Value, unsigned Minimum_Digits) {
  std::string Digits;
  do {
    Digits.insert(Digits.begin(), Hex_Digit(static_cast<unsigned>(Value % 16u)));
    Value /= 16u;
  } while (Value != 0);
  if (Digits.size() < Minimum_Digits) {
    Digits.insert(0, Minimum_Digits - Digits.size(), '0');
  }
  return Digits;
}

template <class T>
T Narrow(std::uint64_t Value) {
  if (Value > std::numeric_limits<T>::max()) {
    throw Constraint_Error("range check failed");
  }
  return static_cast<T>(Value);
}

template std::uint8_t Narrow<std::uint8_t>(std::uint64_t);
template std::uint16_t Narrow<std::uint16_t>(std::uint64_t);
template std::uint32_t Narrow<std::uint32_t>(std::uint64_t);

std::uint64_t Make_64(std::uint32_t High, std::uint32_t Low) noexcept {
  return (static_cast<std::uint64_t>(High) << 32) | Low;
}

}  // namespace Unsigned
