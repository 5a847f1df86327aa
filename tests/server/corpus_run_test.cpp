// A sample of GNAT's runtime sources formatted end to end, as a user formats
// a folder: the real client starting the real server over the pipe. Each
// file must come out exactly as the engine and the client's writer make it
// in-process, so nothing is lost or changed on the way through the pipe.
#include <gtest/gtest.h>

#include <filesystem>

#include "gates.h"
#include "path_style.h"
#include "run_program.h"
#include "scratch.h"

namespace {

constexpr std::size_t Sample_Step = 7;

TEST(Corpus_Run, AFolderOfRuntimeSourcesComesThroughThePipeUnchanged) {
  const std::string Folder = Gates::Runtime_Folder();
  if (Folder.empty()) {
    GTEST_SKIP() << "GNAT's runtime sources are not installed";
  }
  const Test_Support::Scratch_Folder Scratch;
  Scratch.Make_Folder("src");
  Scratch.Make_Folder("out");
  const std::vector<std::string> Files = Gates::Ada_Files(Folder);
  std::vector<std::string> Names;
  for (std::size_t I = 0; I < Files.size(); I += Sample_Step) {
    // Read where GNAT installed them; the copy lives only in the scratch folder.
    Names.push_back(std::filesystem::path(Files[I]).filename().string());
    Scratch.Write("src/" + Names.back(), Gates::Read_File(Files[I]));
  }
  ASSERT_GE(Names.size(), 200U);
  const std::string Pipename = Test_Support::Unique_Name("quorvel-corpus");
  Scratch.Write("run.ini", "[Quv_Client]\r\nPipename=" + Pipename +
                               "\r\nPipelength=1000\r\nServer=" +
                               Test_Support::Program_In_Bin("quorvel-server") + "\r\n");
  const auto Run =
      Test_Support::Run_Program(Test_Support::Program_In_Bin("quorvel"),
                                {Scratch / "run.ini", Scratch / "src/*", Scratch / "out"});
  Test_Support::End_Lingering_Server(Pipename);
  EXPECT_EQ(Run.Status, 0) << Run.Output.substr(0, 2000);
  std::size_t Same = 0;
  for (const std::string& Name : Names) {
    const std::string Source = Scratch.Read("src/" + Name);
    const Formatter::Result Expected = Formatter::Format(Source, Formatter::Settings{});
    ASSERT_TRUE(Expected.Errors.empty()) << Name;
    const bool Equal = Scratch.Read("out/" + Name) == Gates::Render(Expected.Tokens);
    EXPECT_TRUE(Equal) << Name;
    Same += Equal ? 1U : 0U;
  }
  EXPECT_EQ(Same, Names.size());
}

}  // namespace
