// Fixed-width hexadecimal images and 64-bit values.
#include "unsigned.h"

#include <gtest/gtest.h>

#include "named_error.h"

namespace {

TEST(Unsigned_Hex_Image, KeepsItsFullWidthInUpperCase) {
  EXPECT_EQ(Unsigned::Hex_Image(std::uint8_t{255}), "FF");
  EXPECT_EQ(Unsigned::Hex_Image(std::uint8_t{0}), "00");
  EXPECT_EQ(Unsigned::Hex_Image(std::uint16_t{10}), "000A");
  EXPECT_EQ(Unsigned::Hex_Image(std::uint16_t{0}), "0000");
  EXPECT_EQ(Unsigned::Hex_Image(std::uint16_t{0xFFFF}), "FFFF");
  EXPECT_EQ(Unsigned::Hex_Image(std::uint32_t{0x04000000}), "04000000");
  EXPECT_EQ(Unsigned::Hex_Image(std::uint32_t{0x040904E4}), "040904E4");
  EXPECT_EQ(Unsigned::Hex_Image(std::uint32_t{0xDEADBEEF}), "DEADBEEF");
}

TEST(Unsigned_Hex_Image, AValueTooWideIsARangeError) {
  EXPECT_THROW(Unsigned::Narrow<std::uint16_t>(0x10000), Constraint_Error);
  EXPECT_EQ(Unsigned::Hex_Image(Unsigned::Narrow<std::uint16_t>(0xFFFF)), "FFFF");
  EXPECT_THROW(Unsigned::Hex_Digit(16), Constraint_Error);
  EXPECT_EQ(Unsigned::Hex_Digit(11), 'B');
}

TEST(Unsigned_Hex_Image, WideImagesNeverCutDigits) {
  EXPECT_EQ(Unsigned::Hex_Image_Wide(0x1A, 4), "001A");
  EXPECT_EQ(Unsigned::Hex_Image_Wide(0x12345, 4), "12345");
  EXPECT_EQ(Unsigned::Hex_Image_Wide(0, 4), "0000");
}

TEST(Unsigned_Make_64, JoinsTheHalves) {
  EXPECT_EQ(Unsigned::Make_64(1, 0), 0x100000000ull);
  EXPECT_EQ(Unsigned::Make_64(0, 0xFFFFFFFF), 0xFFFFFFFFull);
  EXPECT_EQ(Unsigned::Make_64(0xFFFFFFFF, 0xFFFFFFFF), ~0ull);
}

}  // namespace
