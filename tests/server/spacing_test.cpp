// The formatting engine's spacing never joins two lexemes into another
// one: where the style wants no blank but closing the gap would change the
// tokens, the author's blank stays.
#include "spacing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Merge_Case {
  std::string_view Left;
  std::string_view Right;
  bool Expected;
};

class Would_Merge : public testing::TestWithParam<Merge_Case> {};

TEST_P(Would_Merge, TellsWhetherTwoLexemesWouldReadAsOther) {
  EXPECT_EQ(Formatter::Would_Merge(GetParam().Left, GetParam().Right), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, Would_Merge,
                         testing::Values(Merge_Case{"A", "B", true}, Merge_Case{"-", "-", true},
                                         Merge_Case{":", "=", true}, Merge_Case{"A", ".", false},
                                         Merge_Case{".", "B", false}, Merge_Case{"X1", ".", false},
                                         // A numeral, a dot and a digit make a real literal.
                                         Merge_Case{"2", ".", true}, Merge_Case{"1_000", ".", true},
                                         Merge_Case{".", "0", true}, Merge_Case{".", "5E3", true}));

// The line that Format lays Source out on (a single line, no line end).
std::string Formatted_Line(std::string_view Source) {
  const Formatter::Result Formatted = Formatter::Format(Source, Formatter::Settings{});
  EXPECT_TRUE(Formatted.Errors.empty()) << Source;
  std::string Line;
  for (const Formatter::Token& Item : Formatted.Tokens) {
    Line.resize(static_cast<std::size_t>(Item.Column) - 1, ' ');
    Line += Item.Text;
  }
  return Line;
}

TEST(Format_Spacing, BlanksBesideADotBetweenNumeralsStay) {
  EXPECT_EQ(Formatted_Line("2 .0"), "2 .0");
  EXPECT_EQ(Formatted_Line("2. 0"), "2. 0");
  EXPECT_EQ(Formatted_Line("2 . 0"), "2 . 0");
  // Elsewhere the style still closes the gaps around a dot.
  EXPECT_EQ(Formatted_Line("A . B"), "A.B");
  EXPECT_EQ(Formatted_Line("2.0"), "2.0");
}

}  // namespace
