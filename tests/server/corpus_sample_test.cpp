// The quality gates on a sample of GNAT's runtime sources (every eighth
// file, read where GNAT installed them): the same measures as the tool
// quorvel-gates runs on the whole corpus; and pieces of those sources cut
// anywhere. Skipped where GNAT is missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "gates.h"
#include "scratch.h"

namespace {

constexpr std::size_t Sample_Step = 8;

struct Same_Lines_Case {
  const char* Original;
  const char* Formatted;
  std::size_t Same;
};

// Lines kept count in order, wherever they moved to: a line broken in two or
// a blank line taken out costs that line, not every line after it.
TEST(Gates_Same_Lines, CountsTheLinesKeptInOrder) {
  const Same_Lines_Case Cases[] = {
      {"a\nb\nc\n", "a\nb\nc\n", 3}, {"a\nb c\nd\ne\n", "a\nb\n  c\nd\ne\n", 3},
      {"a\n\n\nb\n", "a\n\nb\n", 3}, {"x\ny\n", "z\nx\ny\n", 2},
      {"a\nb\n", "b\na\n", 1},       {"a\nb\n", "c\nd\ne\n", 0},
  };
  for (const Same_Lines_Case& Each : Cases) {
    EXPECT_EQ(Gates::Same_Lines(Each.Original, Each.Formatted), Each.Same) << Each.Formatted;
  }
}

TEST(Corpus_Sample, MeetsTheQualityGates) {
  const std::string Folder = Gates::Runtime_Folder();
  if (Folder.empty()) {
    GTEST_SKIP() << "GNAT's runtime sources are not installed";
  }
  const Test_Support::Scratch_Folder Scratch;
  const std::vector<std::string> Files = Gates::Ada_Files(Folder);
  Gates::Totals Sum;
  for (std::size_t I = 0; I < Files.size(); I += Sample_Step) {
    const std::string Name = std::filesystem::path(Files[I]).filename().string();
    const Gates::File_Measure File =
        Gates::Measure_File(Name, Gates::Read_File(Files[I]), Formatter::Settings{});
    Gates::Add(Sum, File);
    EXPECT_TRUE(File.Formatted) << Name << ": " << File.Failure;
    EXPECT_TRUE(File.Token_Preserving) << Name;
    EXPECT_TRUE(File.Idempotent) << Name;
    if (File.Formatted) {
      const std::string Messages =
          Gates::Style_Messages(Scratch.Path(), Name, File.Scrambled_Output);
      ++Sum.Style_Checked;
      Sum.Style_Clean += Messages.empty() ? 1U : 0U;
    }
  }
  ASSERT_GE(Sum.Files, 100U);
  EXPECT_GE(100 * Sum.Unchanged, 99 * Sum.Lines) << Gates::Table(Sum);
  EXPECT_GE(100 * Sum.Recovered, 90 * Sum.Lines) << Gates::Table(Sum);
  EXPECT_GE(100 * Sum.Style_Clean, 95 * Sum.Style_Checked) << Gates::Table(Sum);
  EXPECT_EQ(Sum.Exceptions + Sum.Error_Files, 0U);
  std::cout << Gates::Table(Sum);
}

// Real sources cut anywhere still format without an exception, and what
// is written holds exactly their lexemes.
TEST(Corpus_Sample, TruncatedFilesKeepTheirLexemes) {
  const std::string Folder = Gates::Runtime_Folder();
  if (Folder.empty()) {
    GTEST_SKIP() << "GNAT's runtime sources are not installed";
  }
  const std::vector<std::string> Files = Gates::Ada_Files(Folder);
  ASSERT_FALSE(Files.empty());
  for (std::size_t I = 0; I < Files.size(); I += Files.size() / 6 + 1) {
    const std::string Whole = Gates::Read_File(Files[I]);
    for (std::size_t Cut = 0; Cut < Whole.size(); Cut += Whole.size() / 40 + 1) {
      const std::string Part = Whole.substr(Cut, Whole.size() / 3);
      const Formatter::Result Result = Formatter::Format(Part, Formatter::Settings{});
      if (Result.Errors.empty()) {
        bool Error_Before = false;
        bool Error_After = false;
        EXPECT_EQ(Gates::Token_Texts(Gates::Render(Result.Tokens), Formatter::Edition::Ada2022,
                                     Error_After),
                  Gates::Token_Texts(Part, Formatter::Edition::Ada2022, Error_Before))
            << Files[I] << " from " << Cut;
        EXPECT_FALSE(Error_After);
      }
    }
  }
}

}  // namespace
