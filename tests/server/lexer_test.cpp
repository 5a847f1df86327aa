// The lexer: every kind of lexeme, the apostrophe of attributes versus
// character literals, reserved words by edition, line ends, and the
// lexical errors with their line and column.
#include "lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Formatter::Edition;
using Formatter::Lexeme_Class;

// "class:text" for every lexeme, so that a table can state a whole lexing.
std::vector<std::string> Lexemes_Of(std::string_view Source, Edition Language = Edition::Ada2022) {
  const Formatter::Lexed Result = Formatter::Lex(Source, Language, 10);
  EXPECT_TRUE(Result.Errors.empty()) << Source << ": " << Result.Errors.front().Message;
  std::vector<std::string> Texts;
  for (const Formatter::Lexeme& Item : Result.Lexemes) {
    static const char* const Names[] = {"id",  "rw",  "attr", "num", "chr",
                                        "str", "del", "com",  "eff", "bom"};
    Texts.push_back(std::string(Names[static_cast<int>(Item.Class)]) + ':' +
                    std::string(Formatter::Text_Of(Source, Item)));
  }
  return Texts;
}

struct Lexing_Case {
  std::string Source;
  std::vector<std::string> Expected;
};

class Lexing : public testing::TestWithParam<Lexing_Case> {};

TEST_P(Lexing, GivesTheExpectedLexemes) {
  EXPECT_EQ(Lexemes_Of(GetParam().Source), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lexemes, Lexing,
    testing::Values(
        Lexing_Case{"X := 16#FF_FF#;", {"id:X", "del::=", "num:16#FF_FF#", "del:;"}},
        Lexing_Case{"2#1010.01#E+2 1.0E-5 1_000 3e2 16:F:",
                    {"num:2#1010.01#E+2", "num:1.0E-5", "num:1_000", "num:3e2", "num:16:F:"}},
        Lexing_Case{"1 .. 10", {"num:1", "del:..", "num:10"}},
        Lexing_Case{"1..10", {"num:1", "del:..", "num:10"}},
        Lexing_Case{"Character'('a')", {"id:Character", "del:'", "del:(", "chr:'a'", "del:)"}},
        Lexing_Case{"X'Length", {"id:X", "del:'", "attr:Length"}},
        Lexing_Case{"T'(others => <>)",
                    {"id:T", "del:'", "del:(", "rw:others", "del:=>", "del:<>", "del:)"}},
        Lexing_Case{"A'Access X.all'Size F (X)'Range",
                    {"id:A", "del:'", "attr:Access", "id:X", "del:.", "rw:all", "del:'",
                     "attr:Size", "id:F", "del:(", "id:X", "del:)", "del:'", "attr:Range"}},
        Lexing_Case{"C := ''' & '\"';",
                    {"id:C", "del::=", "chr:'''", "del:&", "chr:'\"'", "del:;"}},
        Lexing_Case{"T'Class'Input", {"id:T", "del:'", "attr:Class", "del:'", "attr:Input"}},
        Lexing_Case{"S := \"say \"\"hi\"\"\" & \"\";",
                    {"id:S", "del::=", "str:\"say \"\"hi\"\"\"", "del:&", "str:\"\"", "del:;"}},
        Lexing_Case{"S := %no quotes%;", {"id:S", "del::=", "str:%no quotes%", "del:;"}},
        Lexing_Case{"null; -- it's \"fine\"", {"rw:null", "del:;", "com:-- it's \"fine\""}},
        Lexing_Case{"A=>B..C**D:=E/=F>=G<=H<<L>>I<>J|K!M",
                    {"id:A",   "del:=>", "id:B",   "del:..", "id:C",   "del:**", "id:D",
                     "del::=", "id:E",   "del:/=", "id:F",   "del:>=", "id:G",   "del:<=",
                     "id:H",   "del:<<", "id:L",   "del:>>", "id:I",   "del:<>", "id:J",
                     "del:|",  "id:K",   "del:!",  "id:M"}},
        Lexing_Case{
            "A&B*C+D,E-F.G/H:I;J<K=L>M(N)",
            {"id:A", "del:&", "id:B", "del:*", "id:C", "del:+", "id:D", "del:,", "id:E", "del:-",
             "id:F", "del:.", "id:G", "del:/", "id:H", "del::", "id:I", "del:;", "id:J", "del:<",
             "id:K", "del:=", "id:L", "del:>", "id:M", "del:(", "id:N", "del:)"}},
        Lexing_Case{"V := [1, 2] & @;",
                    {"id:V", "del::=", "del:[", "num:1", "del:,", "num:2", "del:]", "del:&",
                     "del:@", "del:;"}},
        Lexing_Case{"Gr\xF6\xDF"
                    "e_\xC9t\xE9 := 1;",
                    {"id:Gr\xF6\xDF"
                     "e_\xC9t\xE9",
                     "del::=", "num:1", "del:;"}},
        Lexing_Case{"BEGIN End", {"rw:BEGIN", "rw:End"}},
        Lexing_Case{"\xEF\xBB\xBFX\f;", {"bom:\xEF\xBB\xBF", "id:X", "eff:\f", "del:;"}}));

struct Edition_Case {
  std::string Word;
  Edition First;  ///< the first edition in which Word is reserved
};

class Editions : public testing::TestWithParam<Edition_Case> {};

TEST_P(Editions, ReserveWordsFromTheirEditionOn) {
  for (const Edition Language :
       {Edition::Ada83, Edition::Ada95, Edition::Ada2005, Edition::Ada2012, Edition::Ada2022}) {
    const std::vector<std::string> Expected{(Language >= GetParam().First ? "rw:" : "id:") +
                                            GetParam().Word};
    EXPECT_EQ(Lexemes_Of(GetParam().Word, Language), Expected) << static_cast<int>(Language);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Words, Editions,
    testing::Values(
        Edition_Case{"abort", Edition::Ada83}, Edition_Case{"xor", Edition::Ada83},
        Edition_Case{"abstract", Edition::Ada95}, Edition_Case{"aliased", Edition::Ada95},
        Edition_Case{"protected", Edition::Ada95}, Edition_Case{"requeue", Edition::Ada95},
        Edition_Case{"tagged", Edition::Ada95}, Edition_Case{"until", Edition::Ada95},
        Edition_Case{"interface", Edition::Ada2005}, Edition_Case{"overriding", Edition::Ada2005},
        Edition_Case{"synchronized", Edition::Ada2005}, Edition_Case{"some", Edition::Ada2012},
        Edition_Case{"parallel", Edition::Ada2022}));

TEST(Vocabulary, Ada2022HasSeventyFourReservedWordsAndAda83SixtyThree) {
  const char* const Candidates[] = {
      "abort",     "abs",        "abstract",  "accept",    "access", "aliased",  "all",
      "and",       "array",      "at",        "begin",     "body",   "case",     "constant",
      "declare",   "delay",      "delta",     "digits",    "do",     "else",     "elsif",
      "end",       "entry",      "exception", "exit",      "for",    "function", "generic",
      "goto",      "if",         "in",        "interface", "is",     "limited",  "loop",
      "mod",       "new",        "not",       "null",      "of",     "or",       "others",
      "out",       "overriding", "package",   "parallel",  "pragma", "private",  "procedure",
      "protected", "raise",      "range",     "record",    "rem",    "renames",  "requeue",
      "return",    "reverse",    "select",    "separate",  "some",   "subtype",  "synchronized",
      "tagged",    "task",       "terminate", "then",      "type",   "until",    "use",
      "when",      "while",      "with",      "xor"};
  int In_2022 = 0;
  int In_83 = 0;
  for (const char* Word : Candidates) {
    In_2022 += Formatter::Reserved_Word(Word, Edition::Ada2022) != Formatter::Code::None ? 1 : 0;
    In_83 += Formatter::Reserved_Word(Word, Edition::Ada83) != Formatter::Code::None ? 1 : 0;
  }
  EXPECT_EQ(In_2022, 74);
  EXPECT_EQ(In_83, 63);
}

// Every delimiter by its spelling, the longest match first, and what is none.
TEST(Vocabulary, FindsEachDelimiterWithItsLength) {
  using Formatter::Code;
  struct Row {
    std::string_view Text;
    Code Symbol;
    std::size_t Length;
  };
  // clang-format off
  const Row Rows[] = {
      {"=>", Code::Arrow, 2},      {"..", Code::Double_Dot, 2},   {"**", Code::Double_Star, 2},
      {":=", Code::Assign, 2},     {"/=", Code::Not_Equal, 2},    {">=", Code::Greater_Equal, 2},
      {"<=", Code::Less_Equal, 2}, {"<<", Code::Left_Label, 2},   {">>", Code::Right_Label, 2},
      {"<>", Code::Box, 2},        {"&&", Code::Ampersand, 1},    {"'a", Code::Apostrophe, 1},
      {"((", Code::Left_Paren, 1}, {")", Code::Right_Paren, 1},   {"*", Code::Star, 1},
      {"+-", Code::Plus, 1},       {",", Code::Comma, 1},         {"-", Code::Minus, 1},
      {".5", Code::Dot, 1},        {"/", Code::Slash, 1},         {":", Code::Colon, 1},
      {";", Code::Semicolon, 1},   {"<", Code::Less, 1},          {"=", Code::Equal, 1},
      {">", Code::Greater, 1},     {"|", Code::Bar, 1},           {"!", Code::Bar, 1},
      {"[", Code::Left_Bracket, 1}, {"]", Code::Right_Bracket, 1}, {"@", Code::At_Sign, 1},
      {"$", Code::None, 0},        {"#", Code::None, 0},          {"", Code::None, 0},
  };
  // clang-format on
  for (const Row& Expected : Rows) {
    std::size_t Length = 99;
    EXPECT_EQ(Formatter::Delimiter_At(Expected.Text, Edition::Ada2022, Length), Expected.Symbol)
        << Expected.Text;
    EXPECT_EQ(Length, Expected.Length) << Expected.Text;
  }
  std::size_t Length = 99;
  EXPECT_EQ(Formatter::Delimiter_At("@", Edition::Ada2012, Length), Code::None);
  EXPECT_EQ(Length, 0U);
  EXPECT_EQ(Formatter::Reserved_Word("BeGiN", Edition::Ada83), Code::Begin);
  EXPECT_EQ(Formatter::Reserved_Word("\xE9lse", Edition::Ada2022), Code::None);
}

TEST(Lexer, BracketsAndTargetNameAreDelimitersOnlyFromAda2022) {
  EXPECT_FALSE(Formatter::Lex("[", Edition::Ada2022, 10).Errors.size() > 0);
  EXPECT_EQ(Formatter::Lex("X := @ + [1];", Edition::Ada2012, 10).Errors.size(), 3U);
}

TEST(Lexer, LatinLettersAreNotLettersInAda83) {
  EXPECT_EQ(Formatter::Lex("\xC9t\xE9", Edition::Ada83, 10).Errors.size(), 2U);
  EXPECT_TRUE(Formatter::Lex("\xC9t\xE9", Edition::Ada95, 10).Errors.empty());
}

TEST(Lexer, AcceptsEveryLineEndAndCountsLines) {
  const Formatter::Lexed Result = Formatter::Lex("A\r\nB\rC\nD", Edition::Ada2022, 10);
  ASSERT_EQ(Result.Lines.size(), 4U);
  EXPECT_TRUE(Result.Lines[0].Terminated);
  EXPECT_TRUE(Result.Lines[2].Terminated);
  EXPECT_FALSE(Result.Lines[3].Terminated);
  for (std::size_t L = 0; L < 4; ++L) {
    EXPECT_EQ(Result.Lines[L].Count, 1U);
    EXPECT_EQ(Result.Lexemes[L].Line, L);
  }
  EXPECT_EQ(Formatter::Lex("A\n\n", Edition::Ada2022, 10).Lines.size(), 2U);
  EXPECT_TRUE(Formatter::Lex("", Edition::Ada2022, 10).Lines.empty());
}

TEST(Lexer, CountsColumnsWithTabsToMultiplesOfEight) {
  const Formatter::Lexed Result = Formatter::Lex("\tA B\tC", Edition::Ada2022, 10);
  ASSERT_EQ(Result.Lexemes.size(), 3U);
  EXPECT_EQ(Result.Lexemes[0].Column, 9);
  EXPECT_EQ(Result.Lexemes[1].Column, 11);
  EXPECT_EQ(Result.Lexemes[2].Column, 17);
}

struct Error_Case {
  std::string Source;
  std::size_t Line;
  std::size_t Column;
  std::string Message;
};

class Lexical_Errors : public testing::TestWithParam<Error_Case> {};

TEST_P(Lexical_Errors, AreReportedAtTheirPlace) {
  const Formatter::Lexed Result = Formatter::Lex(GetParam().Source, Edition::Ada2022, 10);
  ASSERT_FALSE(Result.Errors.empty()) << GetParam().Source;
  EXPECT_EQ(Result.Errors.front().Line, GetParam().Line);
  EXPECT_EQ(Result.Errors.front().Column, GetParam().Column);
  EXPECT_EQ(Result.Errors.front().Message, GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, Lexical_Errors,
    testing::Values(Error_Case{"X := 1;\n   Y $ 2;", 2, 6, "illegal character"},
                    Error_Case{"S := \"open\nB;", 1, 6, "missing string quote"},
                    Error_Case{"A__B", 1, 2, "two underscores in a row"},
                    Error_Case{"Last_ := 1;", 1, 5, "an identifier cannot end with an underscore"},
                    Error_Case{"16#FG#", 1, 5, "missing '#' at the end of a based literal"},
                    Error_Case{"8#78#", 1, 4, "digit not allowed in base 8"},
                    Error_Case{"2#12#", 1, 4, "digit not allowed in base 2"},
                    Error_Case{"17#1#", 1, 1, "the base of a based literal must be 2 to 16"},
                    Error_Case{"16#FF", 1, 6, "missing '#' at the end of a based literal"},
                    Error_Case{"1_", 1, 2, "an underscore must stand between two digits"},
                    Error_Case{"X := 1E;", 1, 8, "digit expected in the exponent"},
                    Error_Case{"X := 10Y;", 1, 8,
                               "a numeric literal must be separated from what follows it"},
                    Error_Case{"X := 'ab';", 1, 6,
                               "an apostrophe must follow a name or start a character literal"},
                    Error_Case{"\tS := \"a\tb\";", 1, 16, "character not allowed in a string"},
                    Error_Case{"X := %a\"b%;", 1, 8, "character not allowed in a string"},
                    Error_Case{"X := `;", 1, 6, "illegal character"},
                    Error_Case{std::string("X := \0;", 7), 1, 6, "illegal character"}));

TEST(Lexer, StopsAtTheErrorLimit) {
  EXPECT_EQ(Formatter::Lex("$ $ $ $", Edition::Ada2022, 2).Errors.size(), 2U);
  EXPECT_EQ(Formatter::Lex("$ $ $ $", Edition::Ada2022, 0).Errors.size(), 1U);
}

}  // namespace

// Lexemes hold their offsets and columns in 32 bits: a longer source is
// refused whole rather than numbered wrongly.
TEST(Lexer, RefusesASourceLongerThanTheEngineTakes) {
  const std::string Source(Formatter::Largest_Source + 1, 'A');
  const Formatter::Lexed Result = Formatter::Lex(Source, Edition::Ada2022, 10);
  ASSERT_EQ(Result.Errors.size(), 1U);
  EXPECT_EQ(Result.Errors.front().Message, "the file is too large to format");
  EXPECT_EQ(Result.Errors.front().Line, 1U);
  EXPECT_EQ(Result.Errors.front().Column, 1U);
  EXPECT_TRUE(Result.Lexemes.empty());
}
