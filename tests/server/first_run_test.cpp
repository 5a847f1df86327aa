// A first run as a user makes it: the default configuration that the build
// wrote beside the client, and the real client starting the real server to
// format the example sources.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "files.h"
#include "ini.h"
#include "module.h"
#include "pipe.h"
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
  const std::string Pipename = Test_Support::Unique_Name("quorvel-first");
  Scratch.Write("first.ini", "[Quv_Client]\r\nPipename=" + Pipename +
                                 "\r\nPipelength=1000\r\nServer=" + Server + "\r\nUnits=3\r\n");
  const Test_Support::Program_Result Run =
      Test_Support::Run_Program(Test_Support::Program_In_Bin("quorvel"),
                                {Scratch / "first.ini", Examples + Sep + "*", Scratch / "out"});
  Test_Support::End_Lingering_Server(Pipename);
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
  const std::string Fits =
      "   Put_Line (\"Ninety columns or so: \" & Some_Function (First_Argument, "
      "Second_Argument) & \"!\");\r\n";
  Scratch.Write("src/wide.adb",
                "procedure Wide is\nbegin\n" + Fits +
                    "   Result := Compute (Alpha_Argument, Beta_Argument, Gamma_Argument, "
                    "Delta_Argument, Epsilon_Argument, Zeta_Argument);\nend Wide;\n");
  Scratch.Make_Folder("out");
  const std::string Pipename = Test_Support::Unique_Name("quorvel-wide");
  Scratch.Write("wide.ini", "[Quv_Client]\r\nPipename=" + Pipename + "\r\nServer=" + Server +
                                "\r\nWidth=100\r\n");
  const Test_Support::Program_Result Run =
      Test_Support::Run_Program(Test_Support::Program_In_Bin("quorvel"),
                                {Scratch / "wide.ini", Scratch / "src/wide.adb", Scratch / "out"});
  Test_Support::End_Lingering_Server(Pipename);
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
  const std::string Pipename = Test_Support::Unique_Name("quorvel-first");
  Scratch.Write("first.ini",
                "[Quv_Client]\r\nPipename=" + Pipename + "\r\nServer=" + Server + "\r\n");
  const Test_Support::Program_Result Run = Test_Support::Run_Program(
      Test_Support::Program_In_Bin("quorvel"),
      {Scratch / "first.ini", (Scratch / "src") + Sep + "*", Scratch / "out"});
  Test_Support::End_Lingering_Server(Pipename);
  EXPECT_EQ(Run.Status, 1) << Run.Output;
  EXPECT_NE(Run.Output.find("bad.adb:3:10: "), std::string::npos) << Run.Output;
  EXPECT_FALSE(Scratch.Has("out/bad.adb"));
  EXPECT_EQ(Scratch.Read("out/good.adb"), "procedure Good is begin null; end Good;\r\n");
}

// The wrapper that README gives for setting the linger time from the
// configuration: a script on POSIX, a command file on Windows.
std::string Wrapper(const std::string& Server, const std::string& Option) {
  if (Windows::Native_Style == Windows::Path_Style::Windows) {
    return "@\"" + Server + "\" " + Option + " %*\r\n";
  }
  return "#!/bin/sh\nexec '" + Server + "' " + Option + " \"$@\"\n";
}

// A run leaves its server waiting for the next client for the linger time
// that the wrapper named by Server gives, and the server then ends (the
// server tests show the waiting itself).
TEST(First_Run, AWrapperNamedByServerSetsTheLingerTime) {
  const std::string Server = Windows::Ini_Get("Server", "Quv_Client", Bin_Folder() + "Quorvel.ini");
  const bool On_Windows = Windows::Native_Style == Windows::Path_Style::Windows;
  Test_Support::Scratch_Folder Scratch;
  const std::string Script = Scratch / (On_Windows ? "server-1.cmd" : "server-1");
  Scratch.Write(On_Windows ? "server-1.cmd" : "server-1", Wrapper(Server, "--linger=1"));
  std::filesystem::permissions(Script, std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  Scratch.Write("p.adb", "procedure P is begin null; end P;\n");
  Scratch.Make_Folder("out");
  const std::string Pipename = Test_Support::Unique_Name("quorvel-linger");
  Scratch.Write("run.ini",
                "[Quv_Client]\r\nPipename=" + Pipename + "\r\nServer=" + Script + "\r\n");
  const Test_Support::Program_Result Run =
      Test_Support::Run_Program(Test_Support::Program_In_Bin("quorvel"),
                                {Scratch / "run.ini", Scratch / "p.adb", Scratch / "out"});
  ASSERT_EQ(Run.Status, 0) << Run.Output;
  EXPECT_EQ(Scratch.Read("out/p.adb"), "procedure P is begin null; end P;\r\n");
  // The server lingers for 1 s instead of 600: long gone six seconds later.
  std::this_thread::sleep_for(std::chrono::seconds(6));
  Windows::Pipe::Handle Client;
  EXPECT_THROW(Windows::Pipe::Open(Client, Pipename, false, Windows::Pipe::Direction::Duplex, 1000),
               Windows::Pipe::No_Server);
  Windows::Pipe::Close(Client);
  Test_Support::End_Lingering_Server(Pipename);  // when it would wait ten minutes
}

// Runs of the real client against the server the first run left waiting:
// the next one is served by it, and one that comes while another client is
// connected is told the pipe is busy.
TEST(First_Run, TheNextRunFindsTheServerWaitingOrBusy) {
  const std::string Server = Windows::Ini_Get("Server", "Quv_Client", Bin_Folder() + "Quorvel.ini");
  Test_Support::Scratch_Folder Scratch;
  Scratch.Write("p.adb", "procedure P is begin null; end P;\n");
  const std::string Pipename = Test_Support::Unique_Name("quorvel-next");
  Scratch.Write("run.ini", "[Quv_Client]\r\nPipename=" + Pipename + "\r\nServer=" + Server +
                               "\r\nUnits=4\r\n");
  const auto Run = [&](const std::string& Folder) {
    Scratch.Make_Folder(Folder);
    return Test_Support::Run_Program(Test_Support::Program_In_Bin("quorvel"),
                                     {Scratch / "run.ini", Scratch / "p.adb", Scratch / Folder});
  };
  const Test_Support::Program_Result First = Run("first");
  ASSERT_EQ(First.Status, 0) << First.Output;
  ASSERT_NE(First.Output.find(Scratch / "first/p.adb"), std::string::npos) << First.Output;
  const Test_Support::Program_Result Second = Run("second");
  std::string Expected = First.Output;
  const std::string First_File = Scratch / "first/p.adb";
  Expected.replace(Expected.find(First_File), First_File.size(), Scratch / "second/p.adb");
  EXPECT_EQ(Second.Output, Expected);
  EXPECT_EQ(Second.Status, 0);
  EXPECT_EQ(Scratch.Read("second/p.adb"), Scratch.Read("first/p.adb"));
  Windows::Pipe::Handle Other;
  Windows::Pipe::Open(Other, Pipename, false, Windows::Pipe::Direction::Duplex, 1000);
  const Test_Support::Program_Result Busy = Run("busy");
  EXPECT_EQ(Busy.Output, "Specified Pipe already in use\r\n");
  EXPECT_EQ(Busy.Status, 1);
  Windows::Pipe::Close(Other);
  Test_Support::End_Lingering_Server(Pipename);
}

}  // namespace
