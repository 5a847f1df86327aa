// The string library's position, search and letter-case rules.
#include "text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Text::Going;

struct Index_Case {
  std::string_view Pattern;
  std::string_view Source;
  std::size_t From;
  Going Direction;
  std::size_t Expected;
};

class Text_Index : public testing::TestWithParam<Index_Case> {};

TEST_P(Text_Index, FindsThePositionCountedFromTheFirstCharacter) {
  const Index_Case& C = GetParam();
  EXPECT_EQ(Text::Index(C.Pattern, C.Source, C.From, C.Direction), C.Expected);
  if (C.Pattern.size() == 1) {
    EXPECT_EQ(Text::Index(C.Pattern[0], C.Source, C.From, C.Direction), C.Expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Text_Index,
                         testing::Values(Index_Case{".", "a.b.c", 0, Going::Backward, 4},
                                         Index_Case{".", "a.b.c", 0, Going::Forward, 2},
                                         Index_Case{".", "abc", 0, Going::Forward, 0},
                                         Index_Case{",", "12,5,x", 3, Going::Forward, 3},
                                         Index_Case{",", "12,5,x", 4, Going::Forward, 5},
                                         Index_Case{"\\", "C:\\a\\b", 6, Going::Backward, 5},
                                         Index_Case{"\\", "C:\\a\\b", 4, Going::Backward, 3},
                                         Index_Case{"\\", "C:\\a\\b", 3, Going::Backward, 3},
                                         Index_Case{"x", "abc", 4, Going::Forward, 0},
                                         Index_Case{"x", "", 0, Going::Forward, 0},
                                         Index_Case{"x", "", 0, Going::Backward, 0},
                                         Index_Case{"b.c", "a.b.c", 0, Going::Forward, 3},
                                         Index_Case{"b.c", "a.b.c", 4, Going::Backward, 0},
                                         Index_Case{"b.c", "a.b.c", 5, Going::Backward, 3},
                                         Index_Case{"ab", "abab", 2, Going::Forward, 3},
                                         Index_Case{"ab", "abab", 0, Going::Backward, 3},
                                         Index_Case{"A", "a", 0, Going::Forward, 0}));

TEST(Text_Index_Window, OutsideTheStringIsAnIndexError) {
  EXPECT_THROW(Text::Index('.', "abc", 5, Going::Forward), Constraint_Error);
  EXPECT_THROW(Text::Index('.', "abc", 4, Going::Backward), Constraint_Error);
  EXPECT_EQ(Text::Index('.', "abc", 4, Going::Forward), 0u);
}

TEST(Text_Index_Window, FromBeyondTheLargestLongLongIsAnIndexError) {
  constexpr std::size_t Far = std::numeric_limits<std::size_t>::max();
  EXPECT_THROW(Text::Index('.', "a.b", Far, Going::Backward), Constraint_Error);
  EXPECT_THROW(Text::Index("b", "a.b", Far / 2 + 1, Going::Backward), Constraint_Error);
  EXPECT_THROW(Text::Index('.', "a.b", Far, Going::Forward), Constraint_Error);
}

TEST(Text_Sub_String, TakesStartAndLength) {
  EXPECT_EQ(Text::Sub_String("abc", 1, 0), "");
  EXPECT_EQ(Text::Sub_String("abc", 2, 2), "bc");
  EXPECT_EQ(Text::Sub_String("abc", 4, 0), "");
  EXPECT_EQ(Text::Sub_String("a\\*", 1, 1), "a");
  EXPECT_THROW(Text::Sub_String("abc", 3, 2), Constraint_Error);
  EXPECT_THROW(Text::Sub_String("abc", 5, 0), Constraint_Error);
  EXPECT_THROW(Text::Sub_String("abc", 1, -2), Constraint_Error);
}

TEST(Text_Sub_String, ExtremeStartsAndLengthsAreErrorsNotOverflows) {
  constexpr long long Most = std::numeric_limits<long long>::max();
  constexpr long long Least = std::numeric_limits<long long>::min();
  EXPECT_THROW(Text::Sub_String("abc", Least, Least), Constraint_Error);
  EXPECT_THROW(Text::Sub_String("abc", Most, 2), Constraint_Error);
  EXPECT_THROW(Text::Sub_String("abc", 2, Most), Constraint_Error);
  EXPECT_THROW(Text::Sub_String("abc", Most, Most), Constraint_Error);
  EXPECT_THROW(Text::Sub_String("abc", Most, 0), Constraint_Error);
}

TEST(Text_Equal, IgnoresLatin1CaseOnlyWhenAsked) {
  EXPECT_TRUE(Text::Equal("ABC", "abc", false));
  EXPECT_FALSE(Text::Equal("ABC", "abc", true));
  EXPECT_TRUE(Text::Equal("\xC9", "\xE9", false));
  EXPECT_FALSE(Text::Equal("\xC9", "\xE9", true));
  EXPECT_FALSE(Text::Equal("\xDF", "\xFF", false));
  EXPECT_TRUE(Text::Equal("\xDF", "\xDF", false));
  EXPECT_FALSE(Text::Equal("\xD7", "\xF7", false));
  EXPECT_FALSE(Text::Equal("ab", "abc", false));
}

TEST(Text_Case, MapsExactlyTheLatin1Letters) {
  for (int B = 0; B < 256; ++B) {
    const char C = static_cast<char>(B);
    const bool Capital = (B >= 'A' && B <= 'Z') || (B >= 0xC0 && B <= 0xDE && B != 0xD7);
    const bool Small = (B >= 'a' && B <= 'z') || (B >= 0xE0 && B <= 0xFE && B != 0xF7);
    EXPECT_EQ(static_cast<unsigned char>(Text::Lower(C)), Capital ? B + 0x20 : B) << B;
    EXPECT_EQ(static_cast<unsigned char>(Text::Upper(C)), Small ? B - 0x20 : B) << B;
  }
  EXPECT_EQ(Text::Lower_Case("Begin \xC0\xDF"), "begin \xE0\xDF");
  EXPECT_EQ(Text::Upper_Case("end \xE0\xFF"), "END \xC0\xFF");
}

TEST(Text_Misc, EmptinessClearingAndImages) {
  EXPECT_TRUE(Text::Is_Empty(""));
  EXPECT_FALSE(Text::Is_Empty(" "));
  std::string S = "x";
  Text::Clear(S);
  EXPECT_TRUE(S.empty());
  EXPECT_EQ(Text::Image(111), " 111");
  EXPECT_EQ(Text::Image(0), " 0");
  EXPECT_EQ(Text::Image(-5), "-5");
}

}  // namespace

namespace {

struct Value_Case {
  std::string_view Image;
  std::optional<long long> Expected;
};

class Text_Integer_Value : public testing::TestWithParam<Value_Case> {};

TEST_P(Text_Integer_Value, ReadsAnIntegerImage) {
  EXPECT_EQ(Text::Integer_Value(GetParam().Image), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Text_Integer_Value,
    testing::Values(Value_Case{"4000", 4000}, Value_Case{" 12 ", 12}, Value_Case{"-3", -3},
                    Value_Case{"+7", 7}, Value_Case{"1_000", 1000}, Value_Case{"0", 0},
                    Value_Case{"", std::nullopt}, Value_Case{"  ", std::nullopt},
                    Value_Case{"x", std::nullopt}, Value_Case{"12a", std::nullopt},
                    Value_Case{"1__0", std::nullopt}, Value_Case{"_1", std::nullopt},
                    Value_Case{"1_", std::nullopt}, Value_Case{"- 1", std::nullopt},
                    Value_Case{"1 2", std::nullopt}, Value_Case{"-", std::nullopt},
                    Value_Case{"9223372036854775807", 9223372036854775807LL},
                    Value_Case{"9223372036854775808", std::nullopt},
                    // The lowest value is in range although its magnitude is not.
                    Value_Case{"-9223372036854775808", std::numeric_limits<long long>::min()},
                    Value_Case{"-9_223_372_036_854_775_808", std::numeric_limits<long long>::min()},
                    Value_Case{"-9223372036854775809", std::nullopt}));

}  // namespace
