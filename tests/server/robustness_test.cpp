// Any bytes in, never a crash nor a hang: random bytes, random sequences of
// Ada lexemes, truncated sources, deep nesting and very long lines. Where
// the input lexes, the written output holds exactly the input's lexemes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "layout_support.h"
#include "render.h"

namespace {

using Layout_Support::Lexeme_List;

void Expect_Same_Lexemes(const std::string& Source) {
  const Formatter::Result Result = Formatter::Format(Source, Formatter::Settings{});
  if (!Result.Errors.empty()) {
    EXPECT_TRUE(Result.Tokens.empty());
    return;
  }
  const std::string Output = Gates::Render(Result.Tokens);
  EXPECT_EQ(Lexeme_List(Output), Lexeme_List(Source)) << Source.substr(0, 200);
}

TEST(Robustness, RandomBytes) {
  std::mt19937 Random(5);
  std::uniform_int_distribution<int> Byte(0, 255);
  std::uniform_int_distribution<int> Length(0, 3000);
  for (int Round = 0; Round < 200; ++Round) {
    std::string Source(static_cast<std::size_t>(Length(Random)), ' ');
    for (char& C : Source) {
      C = static_cast<char>(Byte(Random));
    }
    Expect_Same_Lexemes(Source);
  }
}

TEST(Robustness, RandomLexemeSequences) {
  const std::vector<std::string> Words{
      "if",        "THEN",     "else",    "elsif",     "end",    "loop",      "is",      "begin",
      "procedure", "function", "package", "body",      "(",      ")",         ";",       "X",
      "Y_1",       ":=",       "=>",      "case",      "when",   "record",    "with",    "declare",
      "-- note\n", "\n",       "\n",      "\r\n",      "16#FF#", "\"s\"",     "'a'",     ".",
      "..",        "|",        "private", "select",    "or",     "exception", "generic", "type",
      "'",         "Length",   "-",       "+",         "abs",    "not",       "<<",      ">>",
      "[",         "]",        "@",       "**",        "\t",     "  ",        "\f",      "new",
      "do",        "accept",   "task",    "protected", "entry",  "separate",  "return",  "renames",
      ",",         ":",        "1",       "2.5",       "1E3",    "=",         ">",       "<",
      "/",         "*",        "&",       "%a%",       "!",      "'('",       "0"};
  std::mt19937 Random(7);
  std::uniform_int_distribution<std::size_t> Pick(0, Words.size() - 1);
  std::uniform_int_distribution<int> Length(0, 600);
  for (int Round = 0; Round < 300; ++Round) {
    std::string Source;
    for (int I = Length(Random); I > 0; --I) {
      Source += Words[Pick(Random)];
      Source += ' ';
    }
    Expect_Same_Lexemes(Source);
  }
}

const char* const Sample = R"(with Ada.Text_IO;
package body Sample is
   type R (D : Boolean) is record
      case D is
         when True => A : Integer;
         when False => null;
      end case;
   end record;
   task body T is
   begin
      select
         accept E (X : Integer) do
            Count := X'Size + Character'Pos ('a');
         end E;
      or
         terminate;
      end select;
   end T;
   function F (X : Integer) return Integer is
   begin
      return Result : Integer := X do
         Result := (if X > 0 then X else -X);
      end return;
   exception
      when others => raise;
   end F;
end Sample;
)";

TEST(Robustness, TruncatedSources) {
  const std::string Whole = Sample;
  for (std::size_t Cut = 0; Cut <= Whole.size(); ++Cut) {
    Expect_Same_Lexemes(Whole.substr(0, Cut));
    Expect_Same_Lexemes(Whole.substr(Cut));
  }
}

TEST(Robustness, DeepNestingAndLongLines) {
  std::string Deep = "procedure P is begin\n";
  for (int I = 0; I < 5000; ++I) {
    Deep += "loop\n";
  }
  for (int I = 0; I < 5000; ++I) {
    Deep += "elsif X then\nend loop;\n";
  }
  Expect_Same_Lexemes(Deep);
  std::string Long;
  for (int I = 0; I < 20000; ++I) {
    Long += "A  B ,  ";
  }
  Expect_Same_Lexemes(Long + "\n" + Long + "\n");
  Expect_Same_Lexemes("S := \"" + std::string(5000, 'x') + "\" & Y;\n-- " + std::string(3000, 'c'));
  Expect_Same_Lexemes(std::string(20000, '(') + std::string(20000, ')'));
  Expect_Same_Lexemes(std::string(20000, '\n') + "X;");
}

}  // namespace
