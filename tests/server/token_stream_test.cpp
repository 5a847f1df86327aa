// The token stream itself: kinds, columns, line ends, and the letter case
// that the client's table gives each kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formatter.h"
#include "layout_support.h"
#include "render.h"
#include "token_writer.h"

namespace {

std::string Image(const std::vector<Formatter::Token>& Tokens) {
  std::string Text;
  for (const Formatter::Token& Item : Tokens) {
    Text.append(std::to_string(Item.Kind) + ',' + std::to_string(Item.Column) + ',')
        .append(Item.Text)
        .push_back('\n');
  }
  return Text;
}

TEST(Token_Stream, GivesKindsColumnsAndLineEnds) {
  const Formatter::Result Result =
      Formatter::Format("IF X'Length>1 THEN -- Note\n\nS:=\"A\";", Formatter::Settings{});
  ASSERT_TRUE(Result.Errors.empty());
  EXPECT_EQ(Image(Result.Tokens),
            "4,1,IF\n1,4,X\n5,5,'\n105,6,Length\n5,13,>\n2,15,1\n4,17,THEN\n104,23,-- Note\n"
            "3,1,\n3,1,\n1,4,S\n5,6,:=\n2,9,\"A\"\n5,12,;\n");
}

TEST(Token_Stream, KindsGetTheRightLetterCaseFromTheClient) {
  const Formatter::Result Result = Formatter::Format(
      "\xEF\xBB\xBF"
      "BEGIN Mixed_Case'Access := 16#Ab# & \"Str\" & 'C';  --  Keep THIS\n\f",
      Formatter::Settings{});
  ASSERT_TRUE(Result.Errors.empty());
  std::string Written;
  for (const Formatter::Token& Item : Result.Tokens) {
    Written += Client::Apply_Case(Item.Kind, Item.Text);
    EXPECT_GE(Item.Kind, 1);
    EXPECT_LE(Item.Kind, 110);
  }
  EXPECT_EQ(Written,
            "\xEF\xBB\xBF"
            "beginMixed_Case'Access:=16#Ab#&\"Str\"&'C';--  Keep THIS\f");
}

TEST(Token_Stream, EndsLinesOnlyWithEmptyEndOfLineTokens) {
  const Formatter::Result Result = Formatter::Format("A;\nB;\n\nC;", Formatter::Settings{});
  int Line_Ends = 0;
  for (const Formatter::Token& Item : Result.Tokens) {
    if (Item.Kind == Formatter::Kinds::End_Of_Line) {
      EXPECT_TRUE(Item.Text.empty());
      ++Line_Ends;
    } else {
      EXPECT_FALSE(Item.Text.empty());
    }
  }
  EXPECT_EQ(Line_Ends, 3);
}

TEST(Token_Stream, BreaksLinesTheClientCouldNotHold) {
  std::string Long = "X :=";
  for (int I = 0; I < 300; ++I) {
    Long += " A" + std::to_string(I) + " +";
  }
  Long += " 1;\n";
  const Formatter::Result Result = Formatter::Format(Long, Formatter::Settings{});
  for (const Formatter::Token& Item : Result.Tokens) {
    EXPECT_LE(Item.Column + static_cast<long long>(Item.Text.size()) - 1, Formatter::Longest_Line);
  }
}

// The pieces of a broken line are laid out as the lines they became: a
// statement broken off goes where statements go, so that formatting the
// result once more changes nothing.
TEST(Token_Stream, LaysOutTheLinesALongLineWasBrokenInto) {
  std::string Body;
  for (int I = 0; I < 200; ++I) {
    Body += "null; ";
  }
  const std::string Once =
      Layout_Support::Formatted("procedure P is\nbegin\n   " + Body + "\nend P;\n");
  EXPECT_EQ(Layout_Support::Formatted(Once), Once);
  const std::vector<std::string_view> Lines = Gates::Lines_Of(Once);
  ASSERT_GT(Lines.size(), 4u);
  for (std::size_t L = 2; L + 1 < Lines.size(); ++L) {
    EXPECT_EQ(Lines[L].substr(0, 8), "   null;") << L;
  }
}

// A text longer than the client's line gets a line of its own from the
// client, which ends the pending line itself and writes an empty line when
// none is pending: a line end token before such a text would add an empty
// line above it at every run.
TEST(Token_Stream, LeavesTheLineEndBeforeAnOverlongTextToTheClient) {
  const std::string Comment = "--  " + std::string(1200, 'x');
  const std::string Literal = '"' + std::string(1200, 'y') + '"';
  const std::string Once =
      Layout_Support::Formatted("procedure P is\n   " + Comment + "\nbegin\n   X := 1;\n\n   " +
                                Comment + "\n   S := " + Literal + ";\nend P;\n");
  EXPECT_EQ(Once, "procedure P is\n" + Comment + "\nbegin\n   X := 1;\n\n" + Comment +
                      "\n   S :=\n" + Literal + "\n     ;\nend P;\n");
  EXPECT_EQ(Layout_Support::Formatted(Once), Once);
}

// A line indented so deep that it would pass the client's last column
// starts where it still fits, and the lines placed relative to it follow
// that column, not the one it would have had.
TEST(Token_Stream, PlacesLinesUnderAStatementMovedLeftToFit) {
  std::string Source = "procedure P is\nbegin\n";
  for (int I = 0; I < 105; ++I) {
    Source += "loop\n";
  }
  const std::string Name = "N" + std::string(48, 'a') + "Z";
  Source += Name + " :=\n1;\n";
  for (int I = 0; I < 105; ++I) {
    Source += "end loop;\n";
  }
  Formatter::Settings Options;
  Options.Units = 9;
  const std::string Once = Layout_Support::Formatted(Source + "end P;\n", Options);
  EXPECT_EQ(Layout_Support::Formatted(Once, Options), Once);
  // The line ends in the last column that the client holds.
  EXPECT_NE(Once.find('\n' + std::string(Formatter::Longest_Line - Name.size() - 3, ' ') + Name +
                      " :=\n"),
            std::string::npos);
}

// Laying out the pieces of a broken line can move the lines after them
// (here the pieces of the last line, near the client's last column, went
// to other columns once the line before them was broken as well): the
// pieces are laid out again until the layout gives back what it was given.
TEST(Token_Stream, LaysOutBrokenLinesAgainUntilTheyStayPut) {
  const std::string Source =
      "R\r" + std::string(123, '\t') +
      "RDUR\xFF\xFF\xFF\xFF\xFF\xFF\xFFRINL;case\nbegin\nloop\nif;\nne(\"ven\"fE";
  Formatter::Settings Options;
  Options.Language = Formatter::Edition::Ada95;
  const std::string Once = Layout_Support::Formatted(Source, Options);
  EXPECT_EQ(Layout_Support::Formatted(Once, Options), Once);
}

TEST(Token_Stream, AContinuationHeldBackFromTheLastColumnStaysWhereItLands) {
  // Held back from column 999, "fr" lands just after the lone parenthesis;
  // laid out again it must not then be taken two columns in from the line
  // above, which sent it back and forth between two columns.
  const std::string Source = "c\n" + std::string(123, '\t') + ";case\nbegin\nloop\nif;\n(\"ven\"fr";
  const Formatter::Settings Options;
  const std::string Once = Layout_Support::Formatted(Source, Options);
  EXPECT_EQ(Layout_Support::Formatted(Once, Options), Once);
}

}  // namespace
