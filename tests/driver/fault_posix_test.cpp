// Faults that only POSIX systems show: a file-size limit on the program,
// the socket a killed server leaves behind, a pipe folder others could use.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "files.h"
#include "pipe_posix.h"
#include "run_program.h"
#include "run_support.h"
#include "scratch.h"
#include "scripted.h"

namespace {

using Test_Support::Scratch_Folder;
using Test_Support::Scripted_Server;

const std::string Original = "procedure A is begin null; end A;\n";

bool Ends_With(const std::string& Text, const std::string& End) {
  return Text.size() >= End.size() && Text.compare(Text.size() - End.size(), End.size(), End) == 0;
}

TEST(Fault_Posix, AFullDiskLeavesNoHalfWrittenDestination) {
  if (!Windows::Files::Exists("/usr/bin/prlimit")) {
    GTEST_SKIP() << "needs prlimit to limit the file size of the program";
  }
  Scratch_Folder Scratch;
  Scratch.Write("a.adb", Original);
  Scratch.Make_Folder("out");
  Scripted_Server Server;
  Server.Replies({"Standard", "."});
  std::vector<std::string> Tokens;
  for (int Line = 0; Line < 6; ++Line) {
    Tokens.push_back("2,1," + std::string(3000, 'x'));
    Tokens.push_back("3,1,");
  }
  Server.Tokens(Tokens);
  const std::string Ini = Server.Configuration(Scratch.Path(), {"Pipelength=4000"});
  const auto Result = Test_Support::Run_Program(
      "/usr/bin/prlimit", {"--fsize=8192", Test_Support::Program_In_Bin("quorvel"), Ini,
                           Scratch / "a.adb", Scratch / "out"});
  EXPECT_TRUE(Ends_With(Result.Output, "Unexpected Error\r\n")) << Result.Output;
  EXPECT_EQ(Result.Status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(Scratch / "out"));
}

// A socket bound and never listened on, as a killed server leaves it.
void Leave_Stale_Socket(const std::string& Name) {
  const std::string Folder = Windows::Pipe::Posix::Default_Folder();
  std::filesystem::create_directories(Folder);
  std::filesystem::permissions(Folder, std::filesystem::perms::owner_all);
  const int Socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(Socket, 0);
  sockaddr_un Address{};
  Address.sun_family = AF_UNIX;
  const std::string Path = Folder + "/" + Name;
  std::strncpy(Address.sun_path, Path.c_str(), sizeof Address.sun_path - 1);
  ASSERT_EQ(::bind(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address), 0);
  ::close(Socket);
  ASSERT_TRUE(std::filesystem::exists(Path));
}

TEST(Fault_Posix, AServerLeftOverByAKilledRunIsReplaced) {
  Scratch_Folder Scratch;
  Scratch.Write("a.adb", Original);
  Scratch.Make_Folder("out");
  Scripted_Server Server;
  Leave_Stale_Socket(Server.Name());
  Server.Replies({"Standard", "."}).Tokens({"1,1,A"});
  const std::string Ini = Server.Configuration(Scratch.Path());
  const auto Result = Test_Support::Run_Quorvel({Ini, Scratch / "a.adb", Scratch / "out"});
  EXPECT_EQ(Result.Status, 0) << Result.Console;
  EXPECT_EQ(Scratch.Read("out/a.adb"), "A\r\n");
  EXPECT_EQ(Server.Record().front(), "ARGS " + Server.Name());
}

// Another run that is starting the server holds the pipe's lock: the server
// this run starts finds the name in use and ends, and this run never sees a
// pipe at all.
TEST(Fault_Posix, ARunWhoseServerFindsThePipeTakenIsToldSo) {
  Scratch_Folder Scratch;
  Scratch.Write("a.adb", Original);
  Scratch.Make_Folder("out");
  Scripted_Server Server;
  Server.Replies({"Standard", "."}).Tokens({"1,1,A"});
  const std::string Folder = Windows::Pipe::Posix::Default_Folder();
  std::filesystem::create_directories(Folder);
  std::filesystem::permissions(Folder, std::filesystem::perms::owner_all);
  const std::string Lock_Path = Folder + "/" + Server.Name() + ".lock";
  const int Lock = ::open(Lock_Path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(Lock, 0);
  ASSERT_EQ(::flock(Lock, LOCK_EX | LOCK_NB), 0);
  const std::string Ini = Server.Configuration(Scratch.Path());
  const auto Result = Test_Support::Run_Quorvel({Ini, Scratch / "a.adb", Scratch / "out"});
  ::unlink(Lock_Path.c_str());
  ::close(Lock);
  EXPECT_EQ(Result.Console, Test_Support::Lines({"Specified Pipe already in use"}));
  EXPECT_EQ(Result.Status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(Scratch / "out"));
}

// The descriptors the server holds, from its "FDS" record line.
std::vector<int> Server_Descriptors(const std::vector<std::string>& Record) {
  std::vector<int> Numbers;
  for (const std::string& Line : Record) {
    if (Line.rfind("FDS", 0) == 0) {
      std::istringstream Words(Line.substr(3));
      for (int Number = 0; Words >> Number;) {
        Numbers.push_back(Number);
      }
    }
  }
  return Numbers;
}

TEST(Fault_Posix, TheServerGetsNoDescriptorOfTheCallerButTheStandardThree) {
  if (!std::filesystem::exists("/proc/self/fd")) {
    GTEST_SKIP() << "no /proc/self/fd for the server to list its descriptors";
  }
  // As callers leave them: open across exec (a shell may have left one of
  // them open already, which is kept as it is).
  const std::vector<int> Left_Open{47, 251};
  std::vector<int> Opened_Here;
  const int Null = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(Null, 0);
  for (const int Number : Left_Open) {
    if (::fcntl(Number, F_GETFD) == -1) {
      ASSERT_EQ(::dup2(Null, Number), Number);
      Opened_Here.push_back(Number);
    }
    ASSERT_EQ(::fcntl(Number, F_SETFD, 0), 0);
  }
  ::close(Null);
  Scratch_Folder Scratch;
  Scratch.Write("a.adb", Original);
  Scratch.Make_Folder("out");
  Scripted_Server Server;
  Server.Replies({"!fds", "Standard", "."}).Tokens({"1,1,A"});
  const std::string Ini = Server.Configuration(Scratch.Path());
  const auto Result = Test_Support::Run_Quorvel({Ini, Scratch / "a.adb", Scratch / "out"});
  for (const int Number : Opened_Here) {
    ::close(Number);
  }
  EXPECT_EQ(Result.Status, 0) << Result.Console;
  const std::vector<int> Held = Server_Descriptors(Server.Record());
  ASSERT_FALSE(Held.empty());
  for (const int Number : Left_Open) {
    EXPECT_EQ(std::count(Held.begin(), Held.end(), Number), 0) << Number;
  }
}

// The main procedure run in a child process as another (otherwise unused)
// user, whose pipe folder the test prepares; the child's console text comes
// back with its status in the last byte.
std::string Run_As(uid_t User, const std::vector<std::string>& Arguments) {
  int Channel[2];
  if (::pipe(Channel) != 0) {
    return "pipe failed";
  }
  const pid_t Child = ::fork();
  if (Child == 0) {
    ::close(Channel[0]);
    std::string Answer = "seteuid failed";
    if (::seteuid(User) == 0) {
      const auto Result = Test_Support::Run_Quorvel(Arguments);
      Answer = Result.Console + static_cast<char>('0' + Result.Status);
    }
    const ssize_t Written = ::write(Channel[1], Answer.data(), Answer.size());
    ::_exit(Written == static_cast<ssize_t>(Answer.size()) ? 0 : 1);
  }
  ::close(Channel[1]);
  std::string Answer;
  char Buffer[512];
  for (ssize_t Got; (Got = ::read(Channel[0], Buffer, sizeof Buffer)) > 0;) {
    Answer.append(Buffer, static_cast<std::size_t>(Got));
  }
  ::close(Channel[0]);
  int Status = 0;
  ::waitpid(Child, &Status, 0);
  return Answer;
}

struct Refused_Folder {
  const char* Case;
  bool Owned_By_User;
  mode_t Mode;
};

TEST(Fault_Posix, APipeFolderOthersCouldUseIsRefusedWithAClearMessage) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "needs root to act as another user";
  }
  const auto User =
      static_cast<uid_t>(2'000'000'000u + static_cast<unsigned>(::getpid()) % 100'000u);
  const std::string Folder = "/tmp/named-pipes-" + std::to_string(User);
  namespace fs = std::filesystem;
  fs::remove_all(Folder);
  ASSERT_EQ(::mkdir(Folder.c_str(), 0700), 0);
  if (::chown(Folder.c_str(), User, 0) != 0) {
    fs::remove_all(Folder);
    GTEST_SKIP() << "this system has no user " << User << " to act as (a user namespace?)";
  }
  Scratch_Folder Scratch;
  Scratch.Write("a.adb", Original);
  Scratch.Make_Folder("out");
  Scripted_Server Server;
  Server.Replies({"Standard", "."}).Tokens({"1,1,A"});
  const std::string Ini = Server.Configuration(Scratch.Path());
  fs::permissions(Scratch.Path(), fs::perms::all);
  fs::permissions(Scratch / "out", fs::perms::all);
  for (const Refused_Folder& Each : {Refused_Folder{"another owner", false, 0700},
                                     Refused_Folder{"open to the group", true, 0770},
                                     Refused_Folder{"open to others", true, 0701}}) {
    fs::remove_all(Folder);
    ASSERT_EQ(::mkdir(Folder.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(Folder.c_str(), Each.Mode), 0);
    ASSERT_EQ(::chown(Folder.c_str(), Each.Owned_By_User ? User : 0, 0), 0);
    const std::string Answer = Run_As(User, {Ini, Scratch / "a.adb", Scratch / "out"});
    EXPECT_EQ(Answer, "Access to the specified Pipe denied\r\n1") << Each.Case;
    EXPECT_TRUE(fs::is_empty(Folder)) << Each.Case;
    EXPECT_TRUE(fs::is_empty(Scratch / "out")) << Each.Case;
  }
  fs::remove_all(Folder);
  EXPECT_TRUE(Server.Record(0.5).empty());
}

}  // namespace
