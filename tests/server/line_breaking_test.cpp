// Lines that fit: long lines broken at their construct's natural points,
// blank lines squeezed, and what must never change (the tokens, lines that
// fit, a second formatting).
#include <gtest/gtest.h>

#include <string>

#include "layout_support.h"

namespace {

using Layout_Support::Formatted;
using Layout_Support::Lexeme_List;

Formatter::Settings Width(int Columns) {
  Formatter::Settings Options;
  Options.Width = Columns;
  return Options;
}

// The longest line of Text.
std::size_t Longest(const std::string& Text) {
  std::size_t Most = 0;
  std::size_t Start = 0;
  for (std::size_t End = Text.find('\n'); End != std::string::npos;
       Start = End + 1, End = Text.find('\n', Start)) {
    Most = std::max(Most, End - Start);
  }
  return Most;
}

struct Long_Line_Case {
  std::string Name;
  std::string Source;
  std::string Expected;
};

class Long_Line : public testing::TestWithParam<Long_Line_Case> {};

TEST_P(Long_Line, IsBrokenAtItsNaturalPointsOnce) {
  const Formatter::Settings Options = Width(60);
  const std::string Once = Formatted(GetParam().Source, Options);
  EXPECT_EQ(Once, GetParam().Expected);
  EXPECT_EQ(Formatted(Once, Options), Once) << "a second pass changed it";
  EXPECT_EQ(Lexeme_List(Once), Lexeme_List(GetParam().Source));
  EXPECT_LE(Longest(Once), Longest(GetParam().Source));
}

INSTANTIATE_TEST_SUITE_P(
    Width_60, Long_Line,
    testing::Values(
        Long_Line_Case{"Call",
                       "procedure P is\nbegin\n   Put_Line (Item => Message, File => Output, "
                       "Width => Columns);\nend P;\n",
                       "procedure P is\nbegin\n   Put_Line (Item => Message,\n             "
                       "File  => Output,\n             Width => Columns);\nend P;\n"},
        Long_Line_Case{"CallWhoseAssociationsDoNotFitAfterTheParenthesis",
                       "procedure P is\nbegin\n   Some_Rather_Long_Procedure_Name "
                       "(First_Value_Of_The_Long_Pair, Second);\nend P;\n",
                       "procedure P is\nbegin\n   Some_Rather_Long_Procedure_Name\n     "
                       "(First_Value_Of_The_Long_Pair, Second);\nend P;\n"},
        Long_Line_Case{"Aggregate",
                       "X : constant Point := (Horizontal => 10, Vertical => 20, Depth => 30);\n",
                       "X : constant Point :=\n  (Horizontal => 10, Vertical => 20, Depth => "
                       "30);\n"},
        Long_Line_Case{"Condition",
                       "if Count > Limit and then Buffer (Count) /= Space or else Done then\n   "
                       "null;\nend if;\n",
                       "if Count > Limit and then Buffer (Count) /= Space\n  or else Done\n"
                       "then\n   null;\nend if;\n"},
        Long_Line_Case{"DeclarationWithDefault",
                       "Total_Count : Natural := Initial_Count + Increment * Number_Of_Steps;\n",
                       "Total_Count : Natural :=\n  Initial_Count + Increment * "
                       "Number_Of_Steps;\n"},
        Long_Line_Case{"Aspects",
                       "procedure Push (S : in out Stack; X : Item) with Pre => not Full (S);\n",
                       "procedure Push (S : in out Stack; X : Item)\n  with Pre => not Full "
                       "(S);\n"},
        Long_Line_Case{"StringTooLongToBreak",
                       "S : constant String := \"a string far longer than sixty columns, "
                       "whole\";\n",
                       "S : constant String :=\n  \"a string far longer than sixty columns, "
                       "whole\";\n"},
        Long_Line_Case{"TrailingComment",
                       "begin\n   X := Y + 1;  --  the comment that no longer fits beside it\n"
                       "end;\n",
                       "begin\n   --  the comment that no longer fits beside it\n   X := Y + 1;\n"
                       "end;\n"},
        Long_Line_Case{"ListWhoseLaterLineDoesNotFit",
                       "procedure Set_Control (This : in out Device;\n"
                       "                       Charge_Pump_Source_Override : Boolean);\n",
                       "procedure Set_Control\n  (This                        : in out Device;\n"
                       "   Charge_Pump_Source_Override : Boolean);\n"},
        Long_Line_Case{"ParametersOnePerLine",
                       "procedure Copy (Source : String; Target : out String; Count : "
                       "Natural);\n",
                       "procedure Copy (Source : String;\n                Target : out "
                       "String;\n                Count  : Natural);\n"},
        // Only the lines the breaking made are aligned: the author's own
        // declarations below keep their single blanks.
        Long_Line_Case{"ParametersAlignedTheAuthorsDeclarationsNot",
                       "package P is\n   procedure Copy (Source : String; Target : out String; "
                       "Count : Natural);\n   A : Integer;\n   Longer : Integer;\nend P;\n",
                       "package P is\n   procedure Copy (Source : String;\n                   "
                       "Target : out String;\n                   Count  : Natural);\n"
                       "   A : Integer;\n   Longer : Integer;\nend P;\n"}),
    [](const testing::TestParamInfo<Long_Line_Case>& Info) { return Info.param.Name; });

TEST(Long_Line, ThatFitsKeepsItsAuthorsBreaksAndOneThatCannotBeShortenedStays) {
  const std::string Fitting = "X :=\n  A + B;\nCall (A,\n      B);\n";
  EXPECT_EQ(Formatted(Fitting, Width(60)), Fitting);
  const std::string Name = "Call_" + std::string(70, 'a') + ";\n";
  EXPECT_EQ(Formatted(Name, Width(60)), Name);
}

TEST(Long_Line, WidthZeroBreaksNothingAndTheDefaultIs79) {
  const std::string Line =
      "Total_Count : Natural := Initial_Count + Increment * "
      "Number_Of_Steps + Offset_Of_It;\n";
  ASSERT_GT(Line.size(), 80u);
  EXPECT_EQ(Formatted(Line, Width(0)), Line);
  EXPECT_EQ(Formatted(Line),
            "Total_Count : Natural :=\n  Initial_Count + Increment * Number_Of_Steps + "
            "Offset_Of_It;\n");
}

// GNAT's own way for a source to set its longest line, or to have none.
TEST(Long_Line, FollowsTheWidthASourceSetsItself) {
  const std::string Line =
      "Total_Count : Natural := Initial_Count + Increment * Number_Of_Steps;\n";
  for (const std::string Pragma :
       {"pragma Style_Checks (\"M100\");\n", "pragma Style_Checks (Off);\n"}) {
    EXPECT_EQ(Formatted(Pragma + Line, Width(60)), Pragma + Line);
  }
  const std::string Narrow = "pragma Style_Checks (\"3M50\");\n";
  EXPECT_EQ(Formatted(Narrow + Line, Width(79)),
            Narrow + "Total_Count : Natural :=\n  Initial_Count + Increment * Number_Of_Steps;\n");
}

struct Blank_Case {
  std::string Source;
  std::string Expected;
};

class Blank_Lines : public testing::TestWithParam<Blank_Case> {};

TEST_P(Blank_Lines, AreSqueezedAsGnatsStyleAsks) {
  EXPECT_EQ(Formatted(GetParam().Source, Width(0)), GetParam().Expected);
  EXPECT_EQ(Formatted(GetParam().Expected), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Blank_Lines,
    testing::Values(Blank_Case{"A;\n\n\n\nB;\n", "A;\n\nB;\n"},
                    Blank_Case{"A;\n\nB;\n\n", "A;\n\nB;\n"}, Blank_Case{"A;\n\n\n", "A;\n"},
                    Blank_Case{"\n\n\nA;\n", "\nA;\n"},
                    Blank_Case{"begin\n\n   A;\n\n   --  note\n\n\n   B;\nend;\n",
                               "begin\n\n   A;\n\n   --  note\n\n   B;\nend;\n"},
                    Blank_Case{"\n\n", ""}));

}  // namespace
