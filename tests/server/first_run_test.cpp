// A first run as a user makes it: the default configuration that the build
// wrote beside the client, and the real client starting the real server to
// format the example sources.
#include <gtest/gtest.h>

#include <filesystem>

#include "files.h"
#include "ini.h"
#include "module.h"
#include "run_program.h"
#include "scratch.h"
#include "text.h"

namespace {

const char Sep = Windows::Separator(Windows::Native_Style);

std::string Bin_Folder() {
  const std::string Server = Test_Support::Program_In_Bin("quorvel-server");
  return Server.substr(0, Windows::Last_Separator(Server, Windows::Native_Style));
}

// The text without blanks and line ends, in lower case: what formatting
// must leave as it was.
std::string Tokens_Only(std::string_view Source) {
  std::string Kept;
  for (const char C : Source) {
    if (C != ' ' && C != '\t' && C != '\r' && C != '\n') {
      Kept += Text::Lower(C);
    }
  }
  return Kept;
}

TEST(First_Run, TheBuildWritesAConfigurationBesideTheClient) {
  const std::string Ini = Bin_Folder() + "Quorvel.ini";
  ASSERT_TRUE(Windows::Files::Exists(Ini)) << Ini;
  EXPECT_EQ(Windows::Ini_Get("Pipename", "Quv_Client", Ini), "Quorvel");
  EXPECT_EQ(Windows::Ini_Get("Pipelength", "Quv_Client", Ini), "1000");
  const std::string Server = Windows::Ini_Get("Server", "Quv_Client", Ini);
  EXPECT_TRUE(Text::Equal(Server, Test_Support::Program_In_Bin("quorvel-server"), false)) << Server;
  EXPECT_TRUE(Windows::Files::Exists(Server)) << Server;
  for (const char* Setting : {"Compiler", "Path", "Units", "Errors", "Timeout", "Width"}) {
    EXPECT_EQ(Windows::Ini_Get(Setting, "Quv_Client", Ini), "") << Setting;
  }
}

// The default configuration's server, under a pipe name of this test's own
// (so that no other run on the machine can meet it), formats every example.
TEST(First_Run, TheClientStartsTheServerAndFormatsTheExamples) {
  const std::string Examples = Windows::Module_Directory() + "examples";
  const std::string Server = Windows::Ini_Get("Server", "Quv_Client", Bin_Folder() + "Quorvel.ini");
  Test_Support::Scratch_Folder Scratch;
  Scratch.Make_Folder("out");
  Scratch.Write("first.ini",
                "[Quv_Client]\r\nPipename=" + Test_Support::Unique_Name("quorvel-first") +
                    "\r\nPipelength=1000\r\nServer=" + Server + "\r\nUnits=3\r\n");
  const Test_Support::Program_Result Run =
      Test_Support::Run_Program(Test_Support::Program_In_Bin("quorvel"),
                                {Scratch / "first.ini", Examples + Sep + "*", Scratch / "out"});
  EXPECT_EQ(Run.Status, 0) << Run.Output;
  EXPECT_NE(Run.Output.find("Units = 3\r\n"), std::string::npos) << Run.Output;
  int Formatted = 0;
  for (const auto& Entry : std::filesystem::directory_iterator(Examples)) {
    const std::string Name = Entry.path().filename().string();
    const std::string Source = Test_Support::Read_File(Examples + Sep + Name);
    const std::string Output = Scratch.Read("out/" + Name);
    EXPECT_NE(Run.Output.find("Filename has Style = Standard\r\n"), std::string::npos);
    EXPECT_EQ(Tokens_Only(Output), Tokens_Only(Source)) << Name;
    EXPECT_NE(Output, Source) << Name << " was laid out badly on purpose";
    ++Formatted;
  }
  EXPECT_GE(Formatted, 4);
}

// Width=100 through the real client and server: the server answers it, a
// line of 95 columns stays as it is, and one of 118 is broken at its call's
// associations, one per line under the first.
TEST(First_Run, TheWidthReachesTheServerAndItsLinesFit) {
  const std::string Server = Windows::Ini_Get("Server", "Quv_Client", Bin_Folder() + "Quorvel.ini");
  Test_Support::Scratch_Folder Scratch;
  const std::string Fits = "   Put_Line (\"Ninety columns or so: \" & Some_Function (First_Argument, "
                           "Second_Argument) & \"!\");\r\n";
  Scratch.Write("src/wide.adb",
                "procedure Wide is\nbegin\n" + Fits +
                    "   Result := Compute (Alpha_Argument, Beta_Argument, Gamma_Argument, "
                    "Delta_Argument, Epsilon_Argument, Zeta_Argument);\nend Wide;\n");
  Scratch.Make_Folder("out");
  Scratch.Write("wide.ini", "[Quv_Client]\r\nPipename=" + Test_Support::Unique_Name("quorvel-wide") +
                                "\r\nServer=" + Server + "\r\nWidth=100\r\n");
  const Test_Support::Program_Result Run = Test_Support::Run_Program(
      Test_Support::Program_In_Bin("quorvel"),
      {Scratch / "wide.ini", Scratch / "src/wide.adb", Scratch / "out"});
  EXPECT_EQ(Run.Status, 0) << Run.Output;
  EXPECT_EQ(Run.Output.rfind("Width = 100\r\n", 0), 0u) << Run.Output;
  const std::string Call = "   Result := Compute (";
  const std::string Under(Call.size(), ' ');
  EXPECT_EQ(Scratch.Read("out/wide.adb"),
            "procedure Wide is\r\nbegin\r\n" + Fits + Call + "Alpha_Argument,\r\n" + Under +
                "Beta_Argument,\r\n" + Under + "Gamma_Argument,\r\n" + Under +
                "Delta_Argument,\r\n" + Under + "Epsilon_Argument,\r\n" + Under +
                "Zeta_Argument);\r\nend Wide;\r\n");
}

// A file with a lexical error: the server's error line (file:line:column:
// message) is printed and the file skipped; the good one beside it is
// formatted.
TEST(First_Run, AFileWithErrorsIsReportedAndSkipped) {
  const std::string Server = Windows::Ini_Get("Server", "Quv_Client", Bin_Folder() + "Quorvel.ini");
  Test_Support::Scratch_Folder Scratch;
  Scratch.Write("src/bad.adb", "procedure Bad is\nbegin\n   null; $\nend Bad;\n");
  Scratch.Write("src/good.adb", "procedure Good is begin null; end Good;\n");
  Scratch.Make_Folder("out");
  Scratch.Write("first.ini",
                "[Quv_Client]\r\nPipename=" + Test_Support::Unique_Name("quorvel-first") +
                    "\r\nServer=" + Server + "\r\n");
  const Test_Support::Program_Result Run = Test_Support::Run_Program(
      Test_Support::Program_In_Bin("quorvel"),
      {Scratch / "first.ini", (Scratch / "src") + Sep + "*", Scratch / "out"});
  EXPECT_EQ(Run.Status, 1) << Run.Output;
  EXPECT_NE(Run.Output.find("bad.adb:3:10: "), std::string::npos) << Run.Output;
  EXPECT_FALSE(Scratch.Has("out/bad.adb"));
  EXPECT_EQ(Scratch.Read("out/good.adb"), "procedure Good is begin null; end Good;\r\n");
}

}  // namespace
