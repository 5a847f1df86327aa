// Blanks within lines: the token-spacing rules, alignment groups, kept and
// dropped alignment blanks, and the settings and line ends around them.
#include <gtest/gtest.h>

#include <string>

#include "layout_support.h"

namespace {

using Layout_Support::Formatted;

struct Spacing_Case {
  std::string Source;
  std::string Expected;
};

class Spacing : public testing::TestWithParam<Spacing_Case> {};

TEST_P(Spacing, FollowsTheTokenRules) {
  EXPECT_EQ(Formatted(GetParam().Source + "\n"), GetParam().Expected + "\n");
  EXPECT_EQ(Formatted(GetParam().Expected + "\n"), GetParam().Expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, Spacing,
    testing::Values(Spacing_Case{"X:=A+B*C-D/E&F;", "X := A + B * C - D / E & F;"},
                    Spacing_Case{"X := ( A , B ) ;", "X := (A, B);"},
                    Spacing_Case{"Call(A,B);", "Call (A, B);"},
                    Spacing_Case{"X := - 1 + ( - Y );", "X := -1 + (-Y);"},
                    Spacing_Case{"Y := abs  X mod 3 rem 2;", "Y := abs X mod 3 rem 2;"},
                    Spacing_Case{"if X not  in  1..10 then", "if X not in 1 .. 10 then"},
                    Spacing_Case{"N := X ' Length + T ' ( others => <> ) ' Size;",
                                 "N := X'Length + T'(others => <>)'Size;"},
                    Spacing_Case{"C := Character ' ( 'a' ) ;", "C := Character'('a');"},
                    Spacing_Case{"P := R . all . Next ' Access;", "P := R.all.Next'Access;"},
                    Spacing_Case{"when A|B=>null;", "when A | B => null;"},
                    Spacing_Case{"X : Integer:=1;", "X : Integer := 1;"},
                    Spacing_Case{"Y := 2**8 + 2 ** 4;", "Y := 2**8 + 2 ** 4;"},
                    Spacing_Case{"V := [ 1 , 2 ] ;", "V := [1, 2];"},
                    Spacing_Case{"R := [(1, 2), (3, 4)];", "R := [ (1, 2), (3, 4)];"},
                    Spacing_Case{"<< L >>", "<<L>>"}, Spacing_Case{"X := Y - - 1;", "X := Y - -1;"},
                    Spacing_Case{"X := 2 .0 + 3. 0;", "X := 2 .0 + 3. 0;"},
                    Spacing_Case{"S := \"a\"&\"b\";", "S := \"a\" & \"b\";"},
                    Spacing_Case{"if A=B and then C/=D or else E>=F then",
                                 "if A = B and then C /= D or else E >= F then"}));

TEST(Spacing, AlignsTheColonsOfConsecutiveDeclarations) {
  EXPECT_EQ(Formatted("A : Integer;\nLonger_Name  :   Float;\nB, C : T;\n\nD     : T;\n"),
            "A           : Integer;\nLonger_Name : Float;\nB, C        : T;\n\nD : T;\n");
}

TEST(Spacing, DoesNotAlignWhereALineWouldPassColumn79) {
  const std::string Long =
      "Target_First : Positive := 1;\n"
      "Ptr : Chunk_Access := Buffer.List.First_Chunk'Unchecked_Access.all.Next;\n";
  EXPECT_EQ(Formatted(Long), Long);
}

TEST(Spacing, ContinuesTwoColumnsInWhereAfterTheParenthesisIsTooLong) {
  EXPECT_EQ(Formatted("            pragma Assert (Source.Length <= 1\n"
                      "or else not (SA (Source.Length) < SA (Source.Length - 1)) or else Done);\n"),
            "pragma Assert (Source.Length <= 1\n"
            "  or else not (SA (Source.Length) < SA (Source.Length - 1)) or else Done);\n");
  EXPECT_EQ(Formatted("pragma Assert (Length <= 1\nor else Short);\n"),
            "pragma Assert (Length <= 1\n               or else Short);\n");
}

// A line indented by the author so that, once the blanks are placed, it
// stands just after the parenthesis counts as aligned after it: formatted
// again it would be, and the result must not change.
TEST(Spacing, ContinuesTwoColumnsInWhereAnAuthorsIndentLandsAfterTheParenthesis) {
  const std::string Sum = "A+B+C+D+E+F+G+H+I+J+K+L+M+N+O+P+Q+R+S+T+U+V+W+X+Y+Z";
  const std::string Spaced =
      "A + B + C + D + E + F + G + H + I + J + K + L + M + N + O + P + Q + R + S + T + U + V"
      " + W + X + Y + Z";
  Formatter::Settings Unbroken;  // the line passes 79 columns: no width here
  Unbroken.Width = 0;
  const std::string Once = Formatted("X:=F(\n        " + Sum + ");\n", Unbroken);
  EXPECT_EQ(Once, "X := F (\n  " + Spaced + ");\n");
  EXPECT_EQ(Formatted(Once, Unbroken), Once);
}

TEST(Spacing, PutsOneBlankBeforeACommentWhereTwoWouldPassColumn79) {
  const std::string Code = "Value := " + std::string(60, 'x') + ";";
  EXPECT_EQ(Formatted(Code + "   -- abcde\n"), Code + " -- abcde\n");
  EXPECT_EQ(Formatted(Code + " -- abcd\n"), Code + "  -- abcd\n");
}

TEST(Spacing, AlignsTheArrowsOfConsecutiveAssociations) {
  EXPECT_EQ(Formatted("Call\n(First => 1,\nSecond   => 2);\n"),
            "Call\n  (First  => 1,\n   Second => 2);\n");
}

TEST(Spacing, KeepsAnAlignmentTheAuthorMade) {
  const std::string Aligned =
      "X      : constant Integer := 1;  --  one\n"
      "Longer : constant Integer := 22; --  two\n";
  EXPECT_EQ(Formatted(Aligned),
            "X      : constant Integer := 1;  --  one\n"
            "Longer : constant Integer := 22;  --  two\n");
  const std::string Table = "Put (1,     2);\nPut (10,    20);\nPut (100,   300);\n";
  EXPECT_EQ(Formatted(Table), Table);
}

TEST(Spacing, DropsBlanksThatAlignNothing) {
  EXPECT_EQ(Formatted("Put (1,  2);\nPut (100, 3);\n"), "Put (1, 2);\nPut (100, 3);\n");
  // Two lexemes that both keep extra blanks do not hold each other up.
  EXPECT_EQ(Formatted("Put (1,  2);\nPut (1,  3);\n"), "Put (1, 2);\nPut (1, 3);\n");
}

TEST(Spacing, IndentsByTheUnitsSetting) {
  Formatter::Settings Four;
  Four.Units = 4;
  EXPECT_EQ(Formatted("procedure P is\nbegin\nif A then\nnull;\nend if;\nend P;\n", Four),
            "procedure P is\nbegin\n    if A then\n        null;\n    end if;\nend P;\n");
  Formatter::Settings Zero;
  Zero.Units = 0;
  EXPECT_EQ(Formatted("begin\nnull;\nend;\n", Zero), "begin\n null;\nend;\n");
}

TEST(Spacing, TreatsOlderEditionsWordsAsIdentifiers) {
  Formatter::Settings Ada83;
  Ada83.Language = Formatter::Edition::Ada83;
  EXPECT_EQ(Formatted("Interface := Some + Protected;\n", Ada83),
            "Interface := Some + Protected;\n");
  EXPECT_EQ(Formatted("INTERFACE := SOME;\n"), "interface := some;\n");
}

TEST(Spacing, KeepsLineEndsByteOrderMarkAndPageMarks) {
  EXPECT_EQ(Formatted("A;\r\nB;\rC;"), "A;\nB;\nC;\n");
  EXPECT_EQ(Formatted("\xEF\xBB\xBFpackage P is\nX : T;\nend P;\n"),
            "\xEF\xBB\xBFpackage P is\n   X : T;\nend P;\n");
  EXPECT_EQ(Formatted("A;\n\f\nB;\n"), "A;\n\f\nB;\n");
}

TEST(Spacing, ReportsLexicalErrorsInsteadOfTokens) {
  const Formatter::Result Result = Formatter::Format("X := 1;\nY := $;\n", Formatter::Settings{});
  EXPECT_TRUE(Result.Tokens.empty());
  ASSERT_EQ(Result.Errors.size(), 1U);
  EXPECT_EQ(Result.Errors[0].Line, 2U);
  EXPECT_EQ(Result.Errors[0].Column, 6U);
}

}  // namespace
