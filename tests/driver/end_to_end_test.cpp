// Whole runs against the scripted formatting server: the exact traffic, the
// console lines, the exit status and the bytes of the output files.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "files.h"
#include "path_style.h"
#include "pipe.h"
#include "run_support.h"
#include "scratch.h"
#include "scripted.h"

namespace {

using Test_Support::Entries;
using Test_Support::Lines;
using Test_Support::Run_Quorvel;
using Test_Support::Scratch_Folder;
using Test_Support::Scripted_Server;
using Strings = std::vector<std::string>;

const char Sep = Windows::Separator(Windows::Native_Style);
const std::string Source_Text = "procedure A is begin null; end A;\n";

// The token replies of a small procedure and the file they make.
const Strings Procedure_Tokens = {"5,1,PROCEDURE", "1,11,A",   "5,13,is", "3,1,", "107,4,begin",
                                  "3,1,",          "5,7,NULL", "5,11,;",  "3,1,", "4,1,end",
                                  "1,5,A",         "5,6,;",    "3,1,"};
const std::string Procedure_File = "procedure A is\r\n   BEGIN\r\n      null;\r\nend A;\r\n";

Strings With_Ends(Strings Middle, const std::string& Args) {
  Middle.insert(Middle.begin(), "ARGS " + Args);
  Middle.push_back("C");
  Middle.push_back("<end>");
  return Middle;
}

Strings Requests(std::size_t Count) {
  return Strings(Count, "N");
}

Strings Join(Strings A, const Strings& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

bool Has_Record(const Strings& Log, const std::string& Record) {
  return std::find(Log.begin(), Log.end(), Record) != Log.end();
}

class End_To_End : public testing::Test {
 protected:
  void SetUp() override {
    Scratch.Write("src/a.adb", Source_Text);
    Scratch.Make_Folder("out");
    Scratch.Make_Folder("cfg");
    Source = Windows::Files::Full_Name(Scratch / "src/a.adb");
    Out = Scratch / "out";
  }

  Scratch_Folder Scratch;
  Scripted_Server Server;
  std::string Source;
  std::string Out;
};

TEST_F(End_To_End, FormatsOneFileWithSettingsAndTraffic) {
  Server.Replies({"", "Compiler is Ada2012", "."}).Replies({"Units are 3", "."});
  Server.Replies({"Standard", "."}).Tokens(Procedure_Tokens);
  const std::string Ini = Server.Configuration(Scratch / "cfg", {"Compiler=Ada2012", "Units=3"});
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Console,
            Lines({"Compiler is Ada2012", "Units are 3", "Configuration file: " + Ini,
                   "Processing file: " + Source, "Filename has Style = Standard",
                   "New file=" + Out + Sep + "a.adb"}));
  EXPECT_EQ(Result.Status, 0);
  EXPECT_EQ(Scratch.Read("out/a.adb"), Procedure_File);
  EXPECT_EQ(Entries(Out), Strings{"a.adb"});
  EXPECT_EQ(Server.Record(),
            With_Ends(Join({"XAda2012", "U3", "O" + Source}, Requests(Procedure_Tokens.size() + 1)),
                      Server.Name()));
  EXPECT_TRUE(Has_Record(Result.Log, "Write to Server=XAda2012"));
  EXPECT_TRUE(Has_Record(Result.Log, "Reply from Server=Compiler is Ada2012"));
  EXPECT_TRUE(Has_Record(Result.Log, "Reply from Server=."));
  EXPECT_TRUE(Has_Record(Result.Log, "Write to Server=O" + Source));
  EXPECT_TRUE(Has_Record(Result.Log, "Write to Server=C"));
  EXPECT_FALSE(Has_Record(Result.Log, "Reply from Server="));
}

// Width goes after the five others whatever the file's order; a
// configuration without it sends no W (the test above).
TEST_F(End_To_End, TheWidthIsSentAfterTheOtherSettings) {
  Server.Replies({"Errors = 4", "."}).Replies({"Timeout = 5 s", "."});
  Server.Replies({"Width = 100", "."}).Replies({"Standard", "."}).Tokens(Procedure_Tokens);
  const std::string Ini =
      Server.Configuration(Scratch / "cfg", {"Width=100", "Timeout=5", "Errors=4"});
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Status, 0) << Result.Console;
  EXPECT_EQ(Result.Console.rfind(Lines({"Errors = 4", "Timeout = 5 s", "Width = 100"}), 0), 0u)
      << Result.Console;
  EXPECT_EQ(Server.Record(), With_Ends(Join({"E4", "T5", "W100", "O" + Source},
                                            Requests(Procedure_Tokens.size() + 1)),
                                       Server.Name()));
}

TEST_F(End_To_End, PipelengthGoesOnTheServerLineAndAllowsLongReplies) {
  const std::string Long(1500, 'z');
  Server.Replies({"Standard", "."}).Tokens({"1,1,a", "2,3," + Long, "1,1,c", "112,1,x", "4"});
  const std::string Ini = Server.Configuration(Scratch / "cfg", {"Pipelength=4000"});
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Status, 0) << Result.Console;
  EXPECT_EQ(Scratch.Read("out/a.adb"), "a \r\n" + Long + "\r\nc\r\n");
  EXPECT_EQ(Server.Record().front(), "ARGS " + Server.Name() + " 4000");
  EXPECT_TRUE(Has_Record(Result.Log, "Bad Token, Id = 112"));
}

// The server is started with the length the client reads, in decimal,
// whatever the text says; a reply of exactly that length is taken.
TEST_F(End_To_End, TheServerIsStartedWithThePipelengthInForce) {
  struct Row {
    const char* Setting;
    std::size_t Length;
  };
  for (const Row& Each : {Row{"Pipelength=04_000", 4000}, Row{"Pipelength=lots", 1000},
                          Row{"Pipelength=2147483648", 1000}}) {
    Scripted_Server Own;
    const std::string Longest(Each.Length, 'r');
    Own.Replies({Longest, "."}).Replies({"Standard", "."}).Tokens({"1,1,A"});
    const std::string Ini = Own.Configuration(Scratch / "cfg", {"Compiler=Ada", Each.Setting});
    const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out, "overwrite"});
    EXPECT_EQ(Result.Status, 0) << Each.Setting << ": " << Result.Console.substr(0, 100);
    EXPECT_EQ(Result.Console.substr(0, Each.Length + 2), Longest + "\r\n") << Each.Setting;
    EXPECT_EQ(Own.Record().front(), "ARGS " + Own.Name() + " " + std::to_string(Each.Length))
        << Each.Setting;
  }
}

// An empty reply is neither an error line nor a style.
TEST_F(End_To_End, AnEmptyReplyToOpenEndsTheRun) {
  Server.Replies({"", "Standard", "."}).Tokens({"1,1,A"});
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Console, Lines({"Configuration file: " + Ini, "Processing file: " + Source,
                                   "Unexpected Error"}));
  EXPECT_EQ(Result.Status, 1);
  EXPECT_EQ(Entries(Out), Strings{});
}

TEST_F(End_To_End, ErrorRepliesSkipTheFile) {
  Server.Replies({"<a.adb:1:1: unexpected", "<", "."});
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Console, Lines({"Configuration file: " + Ini, "Processing file: " + Source,
                                   "a.adb:1:1: unexpected", ""}));
  EXPECT_EQ(Result.Status, 1);
  EXPECT_EQ(Entries(Out), Strings{});
  EXPECT_EQ(Server.Record(), With_Ends({"O" + Source}, Server.Name()));
}

TEST_F(End_To_End, ASecondStyleIsAnError) {
  Server.Replies({"Standard", ".x", "."});
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Console, Lines({"Configuration file: " + Ini, "Processing file: " + Source,
                                   "Duplicate Style = .x"}));
  EXPECT_EQ(Result.Status, 1);
  EXPECT_EQ(Entries(Out), Strings{});
}

TEST_F(End_To_End, StyleFallsBackToTheSourceThenToStandard) {
  Scratch.Write("src/b.adb", "-- [Format]\r\n[Format]\r\nStyle = GNAT\r\n");
  Server.Replies({"."}).Tokens({});
  auto Result = Run_Quorvel({Server.Configuration(Scratch / "cfg"), Scratch / "src/b.adb", Out});
  EXPECT_NE(Result.Console.find("Filename has Style = GNAT\r\n"), std::string::npos);
  EXPECT_EQ(Scratch.Read("out/b.adb"), "");
  EXPECT_TRUE(Scratch.Has("out/b.adb"));
  // A second run needs a server of its own: the first may still be ending.
  Scripted_Server Second;
  Second.Replies({"."}).Tokens({});
  Result = Run_Quorvel({Second.Configuration(Scratch / "cfg"), Scratch / "src/a.adb", Out});
  EXPECT_NE(Result.Console.find("Filename has Style = Standard\r\n"), std::string::npos);
}

TEST_F(End_To_End, AnExistingDestinationNeedsTheKeyword) {
  Scratch.Write("out/a.adb", "old");
  Server.Replies({"Standard", "."});
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  const std::string New_Name = Out + Sep + "a.adb";
  EXPECT_EQ(Result.Console, Lines({"Configuration file: " + Ini, "Processing file: " + Source,
                                   "Filename has Style = Standard", "New file=" + New_Name,
                                   "Destination file " + New_Name + " already exists"}));
  EXPECT_EQ(Result.Status, 1);
  EXPECT_EQ(Scratch.Read("out/a.adb"), "old");
  EXPECT_EQ(Server.Record(), With_Ends({"O" + Source}, Server.Name()));
}

TEST_F(End_To_End, TheKeywordReplacesAnExistingDestination) {
  Scratch.Write("out/a.adb", "old");
  Server.Replies({"Standard", "."}).Tokens(Procedure_Tokens);
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const auto Result = Run_Quorvel({"OverWrite", Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Status, 0) << Result.Console;
  EXPECT_EQ(Scratch.Read("out/a.adb"), Procedure_File);
  EXPECT_EQ(Entries(Out), Strings{"a.adb"});
}

// The check before formatting saw no file; the final move must not replace
// the one that another program made meanwhile.
TEST_F(End_To_End, ADestinationMadeWhileTheFileIsFormattedStays) {
  const std::string New_Name = Out + Sep + "a.adb";
  Server.Replies({"Standard", "."}).Replies({"!create " + New_Name, "1,1,X"});
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Console, Lines({"Configuration file: " + Ini, "Processing file: " + Source,
                                   "Filename has Style = Standard", "New file=" + New_Name,
                                   "Destination file " + New_Name + " already exists"}));
  EXPECT_EQ(Result.Status, 1);
  EXPECT_EQ(Scratch.Read("out/a.adb"), "theirs");
  EXPECT_EQ(Entries(Out), Strings{"a.adb"});
}

// The longest name the system takes for a file in Folder: 255 bytes on
// POSIX; on Windows a whole path of 259 characters, the ANSI calls' limit.
std::string Longest_Name(const std::string& Folder) {
  const bool Posix = Windows::Native_Style == Windows::Path_Style::Posix;
  const std::size_t Length = Posix ? 255 : 259 - Folder.size() - 1;
  return std::string(Length - 4, 'n') + ".adb";
}

TEST_F(End_To_End, ANameOfTheLongestLengthCanBeFormatted) {
  const std::string Name = Longest_Name(Out);
  Scratch.Write("src/" + Name, Source_Text);
  Server.Replies({"Standard", "."}).Tokens({"1,1,X"});
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const auto Result = Run_Quorvel({Ini, Scratch / ("src/" + Name), Out});
  EXPECT_EQ(Result.Status, 0) << Result.Console;
  EXPECT_EQ(Scratch.Read("out/" + Name), "X\r\n");
  EXPECT_EQ(Entries(Out), Strings{Name});
}

TEST_F(End_To_End, ADestinationThatCannotBeCreatedSkipsTheFile) {
  Scratch.Make_Folder("out/a.adb");
  Server.Replies({"Standard", "."});
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out, "overwrite"});
  EXPECT_EQ(Result.Console,
            Lines({"Configuration file: " + Ini, "Processing file: " + Source,
                   "Filename has Style = Standard", "New file=" + Out + Sep + "a.adb",
                   "Cannot create destination file"}));
  EXPECT_EQ(Result.Status, 1);
  EXPECT_EQ(Server.Record(), With_Ends({"O" + Source}, Server.Name()));
}

TEST_F(End_To_End, AFolderRunTakesEveryAdaSourceInAnyCase) {
  for (const char* Name : {"b.ADS", "x.Ada", "d.txt", "y.adb.bak", "sub/c.adb"}) {
    Scratch.Write(std::string("src/") + Name, "x");
  }
  for (int File = 0; File < 3; ++File) {
    Server.Replies({"Standard", "."}).Tokens({"1,1,X"});
  }
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const std::string Folder = Scratch / "src";
  const auto Result = Run_Quorvel({Ini, Folder + Sep + "*", Out});
  EXPECT_EQ(Result.Status, 0) << Result.Console;
  EXPECT_EQ(Result.Console.rfind(
                Lines({"Configuration file: " + Ini, "Source directory = " + Folder}), 0),
            0u);
  EXPECT_EQ(Entries(Out), (Strings{"a.adb", "b.ADS", "x.Ada"}));
  EXPECT_EQ(Scratch.Read("out/x.Ada"), "X\r\n");
  Strings Opened;
  for (const std::string& Line : Server.Record()) {
    if (Line.rfind("O", 0) == 0) {
      Opened.push_back(Line);
    }
  }
  std::sort(Opened.begin(), Opened.end());
  EXPECT_EQ(Opened, (Strings{"O" + Folder + Sep + "a.adb", "O" + Folder + Sep + "b.ADS",
                             "O" + Folder + Sep + "x.Ada"}));
}

TEST_F(End_To_End, AMalformedReplyEndsTheRunAndLeavesNoFile) {
  Server.Replies({"Standard", "."}).Replies({"1,1,a"}).Replies({"1,"});
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Console.substr(Result.Console.size() - 18), "Unexpected Error\r\n");
  EXPECT_EQ(Result.Status, 1);
  EXPECT_EQ(Entries(Out), Strings{});
  ASSERT_FALSE(Result.Log.empty());
  EXPECT_EQ(Result.Log.back().rfind("Quorvel: Exception = CONSTRAINT_ERROR", 0), 0u);
}

TEST_F(End_To_End, AServerDyingMidFileLeavesAnInPlaceSourceIntact) {
  Server.Replies({"Standard", "."}).Replies({"1,1,x"}).Replies({"!die"});
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const std::string Folder = Scratch / "src";
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Folder, "overwrite"});
  EXPECT_EQ(Result.Console.substr(Result.Console.size() - 18), "Unexpected Error\r\n");
  EXPECT_EQ(Result.Status, 1);
  EXPECT_EQ(Scratch.Read("src/a.adb"), Source_Text);
  EXPECT_EQ(Entries(Folder), Strings{"a.adb"});
}

TEST_F(End_To_End, AServerThatNeverMakesItsPipeIsTriedFourTimes) {
  Server.No_Pipe();
  const std::string Ini = Server.Configuration(Scratch / "cfg", {"Compiler=Ada95"});
  const auto Started = std::chrono::steady_clock::now();
  const auto Result = Run_Quorvel({Ini, Out});
  const double Waited =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - Started).count();
  EXPECT_EQ(Result.Console, Lines({"Cannot communicate with server", "Configuration file: " + Ini,
                                   "Nothing found to format!"}));
  EXPECT_GE(Waited, 4.0);
  EXPECT_EQ(Server.Record().front(), "ARGS " + Server.Name());
}

TEST_F(End_To_End, ABusyPipeIsReported) {
  Server.Start();
  Windows::Pipe::Handle First_Client;
  for (int Attempt = 0; Attempt < 100 && !First_Client; ++Attempt) {
    try {
      Windows::Pipe::Open(First_Client, Server.Name(), false, Windows::Pipe::Direction::Duplex,
                          1000);
    } catch (const Windows::Pipe::No_Server&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  ASSERT_TRUE(First_Client);
  const std::string Ini = Server.Configuration(Scratch / "cfg");
  const auto Result = Run_Quorvel({Ini, Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Console, Lines({"Specified Pipe already in use"}));
  EXPECT_EQ(Result.Status, 1);
  const std::string Close = "C";
  Windows::Pipe::Write(First_Client, Close.data(), Close.size());
  EXPECT_EQ(Server.Record(), With_Ends({}, Server.Name()));
}

TEST_F(End_To_End, AServerPathWithBlanksStaysOneWord) {
  const std::string Folder = Scratch / "with blank";
  std::filesystem::create_directories(Folder);
  const std::string Program =
      Folder + Sep + std::filesystem::path(Scripted_Server::Program()).filename().string();
  std::filesystem::copy_file(Scripted_Server::Program(), Program);
  Server.Replies({"Standard", "."}).Tokens({"1,1,X"});
  Server.Write_Script();
  Scratch.Write("cfg/blank.ini",
                "[Quv_Client]\r\nPipename=" + Server.Name() + "\r\nServer=" + Program + "\r\n");
  const auto Result = Run_Quorvel({Scratch / "cfg/blank.ini", Scratch / "src/a.adb", Out});
  EXPECT_EQ(Result.Status, 0) << Result.Console;
  EXPECT_EQ(Scratch.Read("out/a.adb"), "X\r\n");
}

struct Configuration_Case {
  std::string Content;  // "@" stands for the scripted server's program
  std::string Line;
};

class Configuration_Error : public testing::TestWithParam<Configuration_Case> {};

TEST_P(Configuration_Error, IsReportedAndTheRunGoesOn) {
  Scratch_Folder Scratch;
  Scratch.Make_Folder("out");
  std::string Content = GetParam().Content;
  const std::size_t At = Content.find('@');
  if (At != std::string::npos) {
    Content.replace(At, 1, Scripted_Server::Program());
  }
  Scratch.Write("q.ini", "[Quv_Client]\r\n" + Content);
  const auto Result = Run_Quorvel({Scratch / "q.ini", Scratch / "out"});
  EXPECT_EQ(Result.Console, Lines({GetParam().Line, "Configuration file: " + Scratch / "q.ini",
                                   "Nothing found to format!"}));
  EXPECT_EQ(Result.Status, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Configuration_Error,
    testing::Values(
        Configuration_Case{"Server=x\r\n", "Pipename not specified in configuration file"},
        Configuration_Case{"Pipelength=10\r\n", "Pipename not specified in configuration file"},
        Configuration_Case{"Pipename=qv-none-1\r\n", "Server not specified in configuration file"},
        Configuration_Case{"Pipename=qv-none-2\r\nServer=nothere.exe\r\n",
                           "Specified server not found"}));

// Each row: the name of a file holding a client section that names the
// scripted server, the bytes added after it, and whether it is taken as
// the configuration.
struct Candidate_Case {
  std::string Name;
  std::size_t Padding;
  bool Taken;
};

class Configuration_Candidate : public testing::TestWithParam<Candidate_Case> {};

TEST_P(Configuration_Candidate, IsReadOnlyWhenNoAdaSourceAndSmall) {
  Scratch_Folder Scratch;
  Scratch.Make_Folder("out");
  Scripted_Server Server;
  Server.Write_Script();
  const std::string Section = "[Quv_Client]\r\nPipename=" + Server.Name() +
                              "\r\nServer=" + Scripted_Server::Program() + "\r\n";
  const std::size_t Comment = GetParam().Padding + (1u << 20) - Section.size() - 3;
  Scratch.Write(GetParam().Name, Section + ";" + std::string(Comment, 'x') + "\r\n");
  const std::string Path = Scratch / GetParam().Name;
  const auto Result = Run_Quorvel({Path, Scratch / "out"});
  if (GetParam().Taken) {
    EXPECT_EQ(Result.Console, Lines({"Configuration file: " + Path, "Nothing found to format!"}));
    EXPECT_EQ(Server.Record().front(), "ARGS " + Server.Name());
  } else {
    EXPECT_EQ(Result.Console, Lines({"Configuration file missing"}));
    EXPECT_TRUE(Server.Record(0.5).empty()) << "the server was started";
  }
}

// An Ada source holding a client section must never start the program it
// names (an editor formatting on save, CI formatting a contribution).
INSTANTIATE_TEST_SUITE_P(Table, Configuration_Candidate,
                         testing::Values(Candidate_Case{"hello.adb", 0, false},
                                         Candidate_Case{"hello.ADS", 0, false},
                                         Candidate_Case{"hello.Ada", 0, false},
                                         Candidate_Case{"large.ini", 1, false},
                                         Candidate_Case{"limit.ini", 0, true}));

TEST(Configuration, AFileWithoutClientSettingsIsNotAConfiguration) {
  Scratch_Folder Scratch;
  Scratch.Make_Folder("out");
  Scratch.Write("q.ini", "[Other]\r\nPipename=x\r\n");
  const auto Result = Run_Quorvel({Scratch / "q.ini", Scratch / "out"});
  EXPECT_EQ(Result.Console, Lines({"Configuration file missing"}));
}

}  // namespace
