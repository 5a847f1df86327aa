// The quality gates on a sample of GNAT's runtime sources (every eighth
// file, read where GNAT installed them): the same measures as the tool
// quorvel-gates runs on the whole corpus. Skipped where GNAT is missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "gates.h"
#include "scratch.h"

namespace {

constexpr std::size_t Sample_Step = 8;

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

}  // namespace
