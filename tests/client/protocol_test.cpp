// The line-writing rule that the client's writer and the engine share:
// blanks up to a column on the line, the line ended first where a text
// would pass the last column.
#include "protocol.h"

#include <gtest/gtest.h>

namespace {

struct Place_Case {
  std::size_t Line_Size;
  long long Column;
  std::size_t Text_Size;
  std::size_t Blanks;
  bool Line_Ends_First;
};

class Place_Text : public testing::TestWithParam<Place_Case> {};

TEST_P(Place_Text, PadsToTheColumnAndEndsTheLineBeforeTheLastColumnIsPassed) {
  const Place_Case& C = GetParam();
  const Protocol::Placement Place = Protocol::Place_Text(C.Line_Size, C.Column, C.Text_Size);
  EXPECT_EQ(Place.Blanks, C.Blanks);
  EXPECT_EQ(Place.Line_Ends_First, C.Line_Ends_First);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Place_Text,
    testing::Values(Place_Case{0, 1, 5, 0, false}, Place_Case{0, 5, 3, 4, false},
                    // A column the line has reached already, or its next one: no blank.
                    Place_Case{10, 5, 3, 0, false}, Place_Case{10, 11, 3, 0, false},
                    // The last column takes a one-byte text; a longer one ends the line
                    // after the blanks.
                    Place_Case{0, 999, 1, 998, false}, Place_Case{0, 999, 2, 998, true},
                    // A column past the last one gets no blanks.
                    Place_Case{0, 1000, 1, 0, false}, Place_Case{998, 1000, 2, 0, true},
                    // A text longer than a whole line ends even an empty line first.
                    Place_Case{0, 1, 999, 0, false}, Place_Case{0, 1, 1000, 0, true}));

}  // namespace
