// Whole runs of programs that start the log as Quorvel does (and of Quorvel
// itself), with settings written into the registry by the test and the log
// file read back byte for byte, the time and thread fields checked by pattern.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <list>
#include <regex>

#include "log_reading.h"
#include "path_style.h"
#include "registry.h"
#include "registry_setting.h"
#include "run_program.h"
#include "scratch.h"
#include "scripted.h"

namespace {

namespace fs = std::filesystem;
using Test_Support::Joined;
using Test_Support::Masked;
using Test_Support::Registry_Setting;
using Test_Support::Scratch_Folder;
using Windows::Registry::Root_Key;
using Strings = std::vector<std::string>;

const bool On_Windows = Windows::Native_Style == Windows::Path_Style::Windows;
const std::string Executable_Suffix = On_Windows ? ".exe" : "";

// The creation record with its date and time (the user's forms on Windows,
// those of US English on POSIX) replaced by "<date> <time>".
std::string Dated(const std::string& Content) {
  static const std::regex Posix_Form(
      R"(^ ~ => Log created \d{1,2}/\d{1,2}/\d{4} \d{1,2}:\d\d:\d\d [AP]M\r$)");
  static const std::regex Any_Form(R"(^ ~ => Log created \S.*\d.* .*\d.*\r$)");
  std::string Result = Masked(Content);
  const std::size_t Start = Result.find(" ~ => Log created ");
  if (Start == std::string::npos) {
    return Result;
  }
  const std::size_t End = Result.find('\n', Start);
  const std::string Line = Result.substr(Start, End - Start);
  if (std::regex_match(Line, On_Windows ? Any_Form : Posix_Form)) {
    Result.replace(Start, End - Start, " ~ => Log created <date> <time>\r");
  }
  return Result;
}

class Log_Run : public testing::Test {
 protected:
  // A copy of a probe under a name of its own: without version strings its
  // settings are keyed by that name.
  std::string Copy_Of(const std::string& Probe, const std::string& Name) {
    const std::string Copy = Scratch / "bin/" + Name + Executable_Suffix;
    fs::create_directories(fs::path(Copy).parent_path());
    fs::copy_file(Test_Support::Program_Beside_Tests(Probe), Copy);
    return Copy;
  }
  Registry_Setting& Key_For(const std::string& Product, Root_Key Root = Root_Key::User) {
    return Keys.emplace_back(Root, "Software\\Tallowmere\\" + Product);
  }
  Test_Support::Program_Result Run(const std::string& Program, const Strings& Arguments) {
    auto Result = Test_Support::Run_Program(Program, Arguments);
    EXPECT_EQ(Result.Output, "");
    EXPECT_EQ(Result.Status, 0);
    return Result;
  }

  Scratch_Folder Scratch;
  const std::string Stem = Test_Support::Unique_Name("probe");
  const std::string Log_Path = Scratch / "logs/run.log";
  std::list<Registry_Setting> Keys;

  void SetUp() override { Scratch.Make_Folder("logs"); }
};

TEST_F(Log_Run, AProgramWithoutVersionStringsUsesItsFileNameAndWritesOnlyTheCreationRecord) {
  const std::string Probe = Copy_Of("log_probe", Stem);
  Key_For(Stem).Set_String("Log", Log_Path);
  Run(Probe, {"first", "second record", ""});
  EXPECT_EQ(
      Dated(Scratch.Read("logs/run.log")),
      Joined({" ~ => Log created <date> <time>", " ~ => first", " ~ => second record", " ~ => "}));
}

TEST_F(Log_Run, WithoutSettingsTheProgramRunsAndWritesNoFile) {
  const std::string Probe = Copy_Of("log_probe", Stem);
  Key_For(Stem).Set_String("Other", Log_Path);
  Run(Probe, {"first"});
  EXPECT_TRUE(fs::is_empty(Scratch / "logs"));
}

TEST_F(Log_Run, AProductNameWithoutAVersionGivesNoVersionRecord) {
  Key_For("Quorvel Probe").Set_String("Log", Log_Path);
  Key_For("log_probe_named").Set_String("Log", Scratch / "logs/by-file-name.log");
  Run(Test_Support::Program_Beside_Tests("log_probe_named"), {"x"});
  EXPECT_EQ(Dated(Scratch.Read("logs/run.log")),
            Joined({" ~ => Log created <date> <time>", " ~ => x"}));
  EXPECT_FALSE(Scratch.Has("logs/by-file-name.log"));
}

TEST_F(Log_Run, TheHeaderNamesTheProductAndItsVersion) {
  Key_For("Quorvel Probe Versioned").Set_String("Log", Log_Path);
  Run(Test_Support::Program_Beside_Tests("log_probe_versioned"), {"--exception", "after"});
  EXPECT_EQ(
      Dated(Scratch.Read("logs/run.log")),
      Joined({" ~ => Quorvel Probe Versioned version 2.5.1", " ~ => Log created <date> <time>",
              " ~ => Quorvel: Exception = WINDOWS.FILES.IO.END_ERROR (named) disk full",
              " ~ => after"}));
}

TEST_F(Log_Run, TheHeaderCountsTowardsTheLimit) {
  const std::string Probe = Copy_Of("log_probe", Stem);
  Registry_Setting& Key = Key_For(Stem);
  Key.Set_String("Log", Log_Path);
  Key.Set_Dword("Log Limit", 2);
  Scratch.Write("logs/run.log", "an earlier run, longer than what comes now\r\n");
  Run(Probe, {"a", "b"});
  const Strings Notices = Test_Support::Rotation_Notices(2, Scratch / "logs/run_2.log");
  EXPECT_EQ(Dated(Scratch.Read("logs/run_2.log")),
            Joined({" ~ => Log created <date> <time>", " ~ => a"}));
  EXPECT_EQ(Masked(Scratch.Read("logs/run.log")), Joined({Notices[0], Notices[1], " ~ => b"}));
}

TEST_F(Log_Run, ASecondStartWritesNoSecondHeader) {
  const std::string Probe = Copy_Of("log_probe", Stem);
  Key_For(Stem).Set_String("Log", Log_Path);
  Run(Probe, {"a", "--start-again", "b"});
  EXPECT_EQ(Dated(Scratch.Read("logs/run.log")),
            Joined({" ~ => Log created <date> <time>", " ~ => a", " ~ => b"}));
}

TEST_F(Log_Run, LoggingCodeInASharedLibraryNamesItsBaseAddress) {
  Key_For("Quorvel Probe Library").Set_String("Log", Log_Path);
  const auto Result =
      Test_Support::Run_Program(Test_Support::Program_Beside_Tests("log_probe_host"), {"x"});
  EXPECT_EQ(Result.Status, 0);
  // The library prints its own base address first.
  ASSERT_GE(Result.Output.size(), 10u);
  const std::string Base = Result.Output.substr(0, Result.Output.size() - 2);
  EXPECT_TRUE(std::regex_match(Base, std::regex("[0-9A-F]{8,}"))) << Base;
  EXPECT_EQ(Dated(Scratch.Read("logs/run.log")),
            Joined({" ~ => Quorvel Probe Library version 4.0", " ~ => Log created <date> <time>",
                    " ~ => DLL Loaded at 0x" + Base, " ~ => x"}));
}

TEST_F(Log_Run, TheMachineSettingsServeWhenTheUserHasNone) {
  const std::string Probe = Copy_Of("log_probe", Stem);
  try {
    Key_For(Stem, Root_Key::Machine).Set_String("Log", Log_Path);
  } catch (const Test_Support::Registry_Not_Writable& Refused) {
    GTEST_SKIP() << Refused.what();
  }
  Run(Probe, {"from the machine's settings"});
  EXPECT_EQ(Dated(Scratch.Read("logs/run.log")),
            Joined({" ~ => Log created <date> <time>", " ~ => from the machine's settings"}));
}

TEST_F(Log_Run, QuorvelLogsItsMessagesToTheServerAndItsUnexpectedErrors) {
  // Quorvel's own key is the real per-user one: its former values come back.
  Key_For("Quorvel").Set_String("Log", Log_Path);
  const std::string Quorvel = Test_Support::Program_In_Bin("quorvel");
  const auto Usage = Test_Support::Run_Program(Quorvel, {});
  EXPECT_EQ(Usage.Status, 0);
  EXPECT_EQ(Dated(Scratch.Read("logs/run.log")),
            Joined({" ~ => Quorvel version " QUORVEL_TEST_PROJECT_VERSION,
                    " ~ => Log created <date> <time>"}));

  // No server to start: the first file's message goes into the void and
  // the run ends with an unexpected error.
  Scratch.Write("q.ini", "[Quv_Client]\r\nPipename=" + Stem + "\r\n");
  Scratch.Write("src/a.adb", "procedure A is begin null; end A;\r\n");
  Scratch.Make_Folder("out");
  const auto Failed = Test_Support::Run_Program(
      Quorvel, {Scratch / "q.ini", Scratch / "src/a.adb", Scratch / "out"});
  EXPECT_EQ(Failed.Status, 1);
  const Strings Lines = Test_Support::Lines_Of(Dated(Scratch.Read("logs/run.log")));
  ASSERT_EQ(Lines.size(), 4u);
  EXPECT_EQ(Lines[0], " ~ => Quorvel version " QUORVEL_TEST_PROJECT_VERSION);
  EXPECT_EQ(Lines[1], " ~ => Log created <date> <time>");
  EXPECT_EQ(Lines[2].rfind(" ~ => Write to Server=O", 0), 0u) << Lines[2];
  EXPECT_EQ(Lines[2].substr(Lines[2].size() - 5), "a.adb") << Lines[2];
  EXPECT_EQ(Lines[3], " ~ => Quorvel: Exception = WINDOWS.PIPE.NO_HANDLE (named) ");
}

TEST_F(Log_Run, AFullDiskSwitchesTheLogOffAndFormattingGoesOn) {
  if (On_Windows || !fs::exists("/usr/bin/prlimit")) {
    GTEST_SKIP() << "needs prlimit to limit the file size of the program";
  }
  Key_For("Quorvel").Set_String("Log", Log_Path);
  Test_Support::Scripted_Server Server;
  Server.Replies({"Standard", "."});
  Strings Tokens;
  for (int Line = 0; Line < 200; ++Line) {
    Tokens.push_back("1,1,x");
    Tokens.push_back("3,1,");
  }
  Server.Tokens(Tokens);
  Scratch.Write("src/a.adb", "procedure A is begin null; end A;\r\n");
  Scratch.Make_Folder("out");
  const std::string Ini = Server.Configuration(Scratch.Path());
  // Each request leaves a record of some forty bytes: the log reaches the
  // limit long before the formatted file does.
  const auto Result = Test_Support::Run_Program(
      "/usr/bin/prlimit", {"--fsize=4096", Test_Support::Program_In_Bin("quorvel"), Ini,
                           Scratch / "src/a.adb", Scratch / "out"});
  EXPECT_EQ(Result.Status, 0) << Result.Output;
  std::string Expected;
  for (int Line = 0; Line < 200; ++Line) {
    Expected += "x\r\n";
  }
  EXPECT_EQ(Scratch.Read("out/a.adb"), Expected);
  const std::string Log = Scratch.Read("logs/run.log");
  EXPECT_LE(Log.size(), 4096u);
  EXPECT_EQ(Log.rfind(" ", 0), 0u);
  EXPECT_NE(Log.find("Write to Server=N"), std::string::npos);
}

// A run of Quorvel formatting 200 one-token lines with the log on and a
// record limit of 50, so that the log would rotate several times; the
// scripted server may act on the log's folder at the 21st line.
class Log_Failing_Run : public Log_Run {
 protected:
  Test_Support::Program_Result Run_With(const std::string& Mid_Run_Action) {
    Registry_Setting& Key = Key_For("Quorvel");
    Key.Set_String("Log", Log_Path);
    Key.Set_Dword("Log Limit", 50);
    Server.Replies({"Standard", "."});
    for (int Line = 0; Line < 200; ++Line) {
      Strings Token{"1,1,x"};
      if (Line == 20 && !Mid_Run_Action.empty()) {
        Token.insert(Token.begin(), Mid_Run_Action);
      }
      Server.Replies(Token).Replies({"3,1,"});
    }
    Server.Replies({"0"});
    Scratch.Write("src/a.adb", "procedure A is begin null; end A;\r\n");
    Scratch.Make_Folder("out");
    Ini = Server.Configuration(Scratch.Path());
    return Test_Support::Run_Program(Test_Support::Program_In_Bin("quorvel"),
                                     {Ini, Scratch / "src/a.adb", Scratch / "out"});
  }
  void Expect_Formatted(const Test_Support::Program_Result& Result) {
    EXPECT_EQ(Result.Status, 0) << Result.Output;
    EXPECT_EQ(Result.Output,
              Joined({"Configuration file: " + Ini, "Processing file: " + (Scratch / "src/a.adb"),
                      "Filename has Style = Standard", "New file=" + (Scratch / "out/a.adb")}));
    std::string Expected;
    for (int Line = 0; Line < 200; ++Line) {
      Expected += "x\r\n";
    }
    EXPECT_EQ(Scratch.Read("out/a.adb"), Expected);
  }
  Test_Support::Scripted_Server Server;
  std::string Ini;
};

TEST_F(Log_Failing_Run, ALogFolderRemovedMidRunSwitchesTheLogOffAndFormattingGoesOn) {
  if (On_Windows) {
    GTEST_SKIP() << "a folder holding an open file cannot be removed on Windows";
  }
  // The open file stays writable once unlinked; the next rotation, which
  // moves it within its folder, is what finds the folder gone.
  const auto Result = Run_With("!remove " + (Scratch / "logs"));
  Expect_Formatted(Result);
  EXPECT_FALSE(fs::exists(Scratch / "logs"));
}

TEST_F(Log_Failing_Run, ARotationThatCannotMoveTheFileSwitchesTheLogOffAndFormattingGoesOn) {
  // A folder holding a file stands where the previous records would go:
  // neither deleted at the start nor replaced at the first rotation.
  Scratch.Write("logs/run_2.log/kept", "kept");
  const auto Result = Run_With("");
  Expect_Formatted(Result);
  EXPECT_EQ(Scratch.Read("logs/run_2.log/kept"), "kept");
  // The file was closed to be moved: it holds the records up to the limit
  // and nothing after them.
  const std::string Log = Scratch.Read("logs/run.log");
  EXPECT_EQ(std::count(Log.begin(), Log.end(), '\n'), 50) << Log;
  EXPECT_EQ(Log.rfind(" ", 0), 0u);
}

}  // namespace
