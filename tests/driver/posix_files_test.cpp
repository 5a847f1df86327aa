// What only POSIX file systems hold: FIFOs and devices named as files,
// permission bits, symbolic links, control characters in names, and
// signals that stop a run.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "child_process.h"
#include "files.h"
#include "run_program.h"
#include "run_support.h"
#include "scratch.h"
#include "script_files.h"
#include "scripted.h"

namespace {

using Test_Support::Entries;
using Test_Support::Lines;
using Test_Support::Run_Quorvel;
using Test_Support::Scratch_Folder;
using Test_Support::Scripted_Server;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string Original = "procedure A is begin null; end A;\n";

mode_t Mode_Of(const std::string& Path) {
  struct stat Info {};
  return ::stat(Path.c_str(), &Info) == 0 ? Info.st_mode & 07777 : 0;
}

// A run whose reader of a FIFO would wait for ever: after 10 s the FIFO is
// opened for writing and closed, again and again, which ends each such
// wait, and the test fails instead of hanging.
Test_Support::Run_Result Run_Unblocking(const Strings& Arguments, const std::string& Fifo) {
  auto Run = std::async(std::launch::async, [&] { return Run_Quorvel(Arguments); });
  if (Run.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
    ADD_FAILURE() << "the run waits on the FIFO";
    while (Run.wait_for(std::chrono::milliseconds(100)) == std::future_status::timeout) {
      const int Writer = ::open(Fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (Writer >= 0) {
        ::close(Writer);
      }
    }
  }
  return Run.get();
}

TEST(Posix_Files, AFifoOrADeviceIsNeverReadAsConfigurationOrSource) {
  // Named first, a file is offered as the configuration before the real
  // one; /dev/zero comes after it, as a source only (read as a
  // configuration it would take all memory before failing).
  for (const char* Special : {"fifo", "/dev/null", "/dev/zero"}) {
    Scratch_Folder Scratch;
    Scratch.Make_Folder("out");
    ASSERT_EQ(::mkfifo((Scratch / "fifo").c_str(), 0600), 0);
    const std::string Name = Special[0] == '/' ? Special : Scratch / Special;
    Scripted_Server Server;
    // Were the file sent, the run would stop here, before its style is
    // looked up in the file itself.
    Server.Replies({"<sent to the server", "."});
    const std::string Ini = Server.Configuration(Scratch.Path());
    const Strings Arguments = Name == "/dev/zero" ? Strings{Ini, Name, Scratch / "out"}
                                                  : Strings{Name, Ini, Scratch / "out"};
    const auto Result = Run_Unblocking(Arguments, Scratch / "fifo");
    const std::string Shown = Windows::Files::Full_Name(Name);
    EXPECT_EQ(Result.Console, Lines({"Configuration file: " + Ini, "Processing file: " + Shown,
                                     Shown + ":1:1: is not a plain file"}))
        << Special;
    EXPECT_EQ(Result.Status, 1) << Special;
    EXPECT_TRUE(Entries(Scratch / "out").empty()) << Special;
    EXPECT_EQ(Server.Record(), (Strings{"ARGS " + Server.Name(), "C", "<end>"})) << Special;
  }
}

TEST(Posix_Files, AFolderRunRefusesAFifoAndAFolderAndFormatsTheRest) {
  Scratch_Folder Scratch;
  Scratch.Write("src/b.adb", Original);
  Scratch.Make_Folder("src/c.adb");
  Scratch.Make_Folder("out");
  ASSERT_EQ(::mkfifo((Scratch / "src/a.adb").c_str(), 0600), 0);
  Scripted_Server Server;
  Server.Replies({"Standard", "."}).Tokens({"1,1,X"});
  const std::string Ini = Server.Configuration(Scratch.Path());
  const auto Result =
      Run_Unblocking({Ini, Scratch / "src/*", Scratch / "out"}, Scratch / "src/a.adb");
  for (const std::string& Line : {Scratch / "src/a.adb:1:1: is not a plain file\r\n",
                                  Scratch / "src/c.adb:1:1: is a folder, not a file\r\n"}) {
    EXPECT_NE(Result.Console.find(Line), std::string::npos) << Result.Console;
  }
  EXPECT_EQ(Result.Status, 1);
  EXPECT_EQ(Scratch.Read("out/b.adb"), "X\r\n");
  EXPECT_EQ(Entries(Scratch / "out"), Strings{"b.adb"});
  const Strings Record = Server.Record();
  EXPECT_EQ(std::count_if(Record.begin(), Record.end(),
                          [](const std::string& Line) { return Line.rfind('O', 0) == 0; }),
            1);
}

// One run that formats the file Source into the line "X": the arguments
// after the configuration, the console, and the messages the server got.
struct One_File_Run {
  One_File_Run(const Scratch_Folder& Scratch, const Strings& Arguments) {
    Server.Replies({"Standard", "."}).Tokens({"1,1,X"});
    Ini = Server.Configuration(Scratch.Path());
    Strings All = Arguments;
    All.insert(All.begin(), Ini);
    Result = Run_Quorvel(All);
  }
  Scripted_Server Server;
  std::string Ini;
  Test_Support::Run_Result Result;
};

// Formats src/a.adb in place with the keyword.
void Format_In_Place(const Scratch_Folder& Scratch) {
  const One_File_Run Run(Scratch, {Scratch / "src/a.adb", Scratch / "src", "overwrite"});
  EXPECT_EQ(Run.Result.Status, 0) << Run.Result.Console;
}

TEST(Posix_Files, AFileFormattedInPlaceKeepsItsPermissionBits) {
  for (const mode_t Mode : {0600u, 0755u, 0640u, 0444u}) {
    Scratch_Folder Scratch;
    Scratch.Write("src/a.adb", Original);
    ASSERT_EQ(::chmod((Scratch / "src/a.adb").c_str(), Mode), 0);
    Format_In_Place(Scratch);
    EXPECT_EQ(Scratch.Read("src/a.adb"), "X\r\n") << std::oct << Mode;
    EXPECT_EQ(Mode_Of(Scratch / "src/a.adb"), Mode) << std::oct << Mode;
    EXPECT_EQ(Entries(Scratch / "src"), Strings{"a.adb"}) << std::oct << Mode;
  }
}

TEST(Posix_Files, AFileFormattedInPlaceKeepsItsOwnerAndGroupWhereTheRunMaySetThem) {
  Scratch_Folder Scratch;
  Scratch.Write("src/a.adb", Original);
  const uid_t Owner = 2'000'000'000u + static_cast<uid_t>(::getpid()) % 100'000u;
  const gid_t Group = Owner + 1;
  if (::geteuid() != 0 || ::chown((Scratch / "src/a.adb").c_str(), Owner, Group) != 0) {
    GTEST_SKIP() << "needs root and users to give the file to (not a user namespace)";
  }
  Format_In_Place(Scratch);
  struct stat Info {};
  ASSERT_EQ(::stat((Scratch / "src/a.adb").c_str(), &Info), 0);
  EXPECT_EQ(Info.st_uid, Owner);
  EXPECT_EQ(Info.st_gid, Group);
  EXPECT_EQ(Scratch.Read("src/a.adb"), "X\r\n");
}

TEST(Posix_Files, ASymbolicLinkStaysALinkAndItsTargetIsFormatted) {
  Scratch_Folder Scratch;
  Scratch.Write("real/a.adb", Original);
  ASSERT_EQ(::chmod((Scratch / "real/a.adb").c_str(), 0600), 0);
  Scratch.Make_Folder("src");
  fs::create_symlink("../real/a.adb", Scratch / "src/a.adb");
  Format_In_Place(Scratch);
  EXPECT_TRUE(fs::is_symlink(Scratch / "src/a.adb"));
  EXPECT_EQ(fs::read_symlink(Scratch / "src/a.adb"), "../real/a.adb");
  EXPECT_EQ(Scratch.Read("real/a.adb"), "X\r\n");
  EXPECT_EQ(Mode_Of(Scratch / "real/a.adb"), 0600u);
  EXPECT_EQ(Entries(Scratch / "real"), Strings{"a.adb"});
}

TEST(Posix_Files, ControlCharactersInANameAreShownAsQuestionMarks) {
  Scratch_Folder Scratch;
  const std::string Name = "a\n\x1b[2J\tb.adb";
  Scratch.Write("src/" + Name, Original);
  Scratch.Make_Folder("out");
  const One_File_Run Run(Scratch, {Scratch / ("src/" + Name), Scratch / "out"});
  EXPECT_EQ(
      Run.Result.Console,
      Lines({"Configuration file: " + Run.Ini, "Processing file: " + (Scratch / "src/a??[2J?b.adb"),
             "Filename has Style = Standard", "New file=" + (Scratch / "out/a??[2J?b.adb")}));
  EXPECT_EQ(Run.Result.Status, 0);
  EXPECT_EQ(Scratch.Read("out/" + Name), "X\r\n");
  EXPECT_EQ(Run.Server.Record()[1], "O" + Test_Support::Escape_Line(Scratch / ("src/" + Name)));
}

// The real program, stopped by Signal while its server holds the file
// half-formatted: the temporary goes, the source formatted in place stays.
TEST(Posix_Files, ASignalRemovesTheTemporaryAndLeavesTheDestination) {
  for (const int Signal : {SIGINT, SIGTERM, SIGHUP}) {
    Scratch_Folder Scratch;
    Scratch.Write("src/a.adb", Original);
    Scripted_Server Server;
    Server.Replies({"Standard", "."}).Replies({"1,1,First"});
    Server.Replies({"!wait " + (Scratch / "go-on"), "1,7,Part"});
    const std::string Ini = Server.Configuration(Scratch.Path());
    Test_Support::Child_Process Run(Test_Support::Program_In_Bin("quorvel"),
                                    {Ini, Scratch / "src/a.adb", Scratch / "src", "overwrite"});
    // Asked for its second token: the temporary is there.
    for (int Wait = 0; Wait < 3000 && Server.Record(0).size() < 4; ++Wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(Entries(Scratch / "src").size(), 2u) << Signal;
    Run.Signal(Signal);
    EXPECT_EQ(Run.Wait(20.0), std::optional<int>(130)) << Signal;
    Scratch.Write("go-on", "");
    EXPECT_EQ(Entries(Scratch / "src"), Strings{"a.adb"}) << Signal;
    EXPECT_EQ(Scratch.Read("src/a.adb"), Original) << Signal;
  }
}

}  // namespace
