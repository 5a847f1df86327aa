// Text::List: value semantics, positions and the not-in-list rule.
#include "text_list.h"

#include <gtest/gtest.h>

namespace {

Text::List Three() {
  return Text::To_List(std::vector<std::string>{"a", "B", "c"});
}

TEST(Text_List, CopiesShareNothing) {
  Text::List Original = Three();
  Text::List Copy = Original;
  Copy.Append("d");
  Copy.Remove("a", true);
  EXPECT_EQ(Original.To_Array(), (std::vector<std::string>{"a", "B", "c"}));
  EXPECT_EQ(Copy.To_Array(), (std::vector<std::string>{"B", "c", "d"}));
}

TEST(Text_List, ElementOutsideTheListIsNotInList) {
  const Text::List L = Three();
  EXPECT_EQ(L.Element(1), "a");
  EXPECT_EQ(L.Element(3), "c");
  EXPECT_THROW(L.Element(0), Text::Not_In_List);
  EXPECT_THROW(L.Element(4), Text::Not_In_List);
  EXPECT_THROW(L.Element(-1), Text::Not_In_List);
  EXPECT_THROW(Text::Empty_List().First(), Text::Not_In_List);
  EXPECT_THROW(Text::Empty_List().Last(), Text::Not_In_List);
}

TEST(Text_List, RemovingTheOnlyElementEmptiesTheList) {
  Text::List L;
  L.Append("x");
  L.Remove("X", false);
  EXPECT_TRUE(L.Is_Empty());
  EXPECT_EQ(L.Length(), 0u);
  L.Remove("nothing", true);
  EXPECT_TRUE(L.Is_Empty());
}

TEST(Text_List, RemoveTakesTheFirstMatchOnly) {
  Text::List L = Text::To_List(std::vector<std::string>{"a", "b", "a"});
  L.Remove("a", true);
  EXPECT_EQ(L.To_Array(), (std::vector<std::string>{"b", "a"}));
}

TEST(Text_List, IndexCountsFromTheFirstElement) {
  const Text::List L = Text::To_List(std::vector<std::string>{"x", "y", "x"});
  EXPECT_EQ(L.Index("x", 1, true), 1u);
  EXPECT_EQ(L.Index("x", 2, true), 3u);
  EXPECT_EQ(L.Index("y", 2, true), 2u);
  EXPECT_EQ(L.Index("Y", 1, true), 0u);
  EXPECT_EQ(L.Index("Y", 1, false), 2u);
  EXPECT_TRUE(L.Contains("X", false));
  EXPECT_FALSE(L.Contains("X", true));
}

TEST(Text_List, PrependKeepsArrayOrderAtTheHead) {
  Text::List L = Three();
  L.Prepend(std::vector<std::string>{"1", "2"});
  L.Prepend("0");
  L.Append(Three());
  EXPECT_EQ(L.To_Array(), (std::vector<std::string>{"0", "1", "2", "a", "B", "c", "a", "B", "c"}));
  EXPECT_EQ(L.First(), "0");
  EXPECT_EQ(L.Last(), "c");
}

TEST(Text_List, EqualityIsElementWise) {
  EXPECT_TRUE(Equal(Three(), Text::To_List(std::vector<std::string>{"A", "b", "C"}), false));
  EXPECT_FALSE(Equal(Three(), Text::To_List(std::vector<std::string>{"A", "b", "C"}), true));
  EXPECT_FALSE(Equal(Three(), Text::To_List(std::vector<std::string>{"a", "B"}), true));
  EXPECT_TRUE(Equal(Text::Empty_List(), Text::List(), true));
}

TEST(Text_List, NullReferenceIsARangeError) {
  const std::string A = "a";
  EXPECT_EQ(Text::To_List(std::vector<const std::string*>{&A, &A}).Length(), 2u);
  EXPECT_THROW(Text::To_List(std::vector<const std::string*>{&A, nullptr}), Constraint_Error);
}

}  // namespace
