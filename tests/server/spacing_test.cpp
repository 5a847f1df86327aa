// The formatting engine's merge rule: which two lexemes, written with no
// blank between them, could read as something else.
#include "spacing.h"

#include <gtest/gtest.h>

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

}  // namespace
