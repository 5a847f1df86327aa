// Faults that only POSIX systems show: a file-size limit on the program,
// and the socket a killed server leaves behind.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

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

}  // namespace
