// Windows::Pipe over Unix-domain sockets: the contract other programs on the
// machine rely on (folder, names, wire format, one client per server, dead
// servers' sockets) and what a POSIX process needs (close-on-exec, no
// SIGPIPE, the peer's user).
#include "pipe_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "descriptor_posix.h"
#include "log_capture.h"
#include "pipe_ends.h"
#include "scratch.h"

namespace {

using namespace Pipe_Ends;
using Pipe::Direction;
using Test_Support::Scratch_Folder;
using Test_Support::Unique_Name;
using Windows::Descriptor;
namespace Posix = Windows::Pipe::Posix;

sockaddr_un Address_Of(const std::string& Path) {
  sockaddr_un Address{};
  Address.sun_family = AF_UNIX;
  Path.copy(Address.sun_path, sizeof Address.sun_path - 1);
  return Address;
}

// A socket of the test's own at Path: bound, and listening when asked.
Descriptor Raw_Socket_At(const std::string& Path, bool Listening) {
  Descriptor Socket(::socket(AF_UNIX, SOCK_STREAM, 0));
  const sockaddr_un Address = Address_Of(Path);
  if (::bind(Socket.Get(), reinterpret_cast<const sockaddr*>(&Address), sizeof Address) != 0 ||
      (Listening && ::listen(Socket.Get(), 1) != 0)) {
    ADD_FAILURE() << "cannot make a socket at " << Path << ": errno " << errno;
  }
  return Socket;
}

Descriptor Raw_Client_Of(const std::string& Path) {
  Descriptor Socket(::socket(AF_UNIX, SOCK_STREAM, 0));
  const sockaddr_un Address = Address_Of(Path);
  Retry_While_No_Server([&] {
    if (::connect(Socket.Get(), reinterpret_cast<const sockaddr*>(&Address), sizeof Address) != 0) {
      throw Pipe::No_Server();
    }
  });
  return Socket;
}

std::string Make_Folder(const Scratch_Folder& Scratch, mode_t Mode) {
  const std::string Folder = Scratch / "pipes";
  EXPECT_EQ(::mkdir(Folder.c_str(), 0700), 0);
  EXPECT_EQ(::chmod(Folder.c_str(), Mode), 0);
  return Folder;
}

void Expect_Both_Ends_Refused(const std::string& Folder) {
  Pipe::Handle End;
  EXPECT_THROW(Posix::Open_In(Folder, End, "p", true, Direction::Duplex, 64, 0.01),
               Pipe::Access_Denied);
  EXPECT_THROW(Posix::Open_In(Folder, End, "p", false, Direction::Duplex, 64), Pipe::Access_Denied);
  EXPECT_EQ(End, nullptr);
}

TEST(Pipe_Posix_Folder, OnlyTheServerEndMakesItAndForItsOwnerAlone) {
  Scratch_Folder Scratch;
  const std::string Folder = Scratch / "pipes";
  Pipe::Handle End;
  EXPECT_THROW(Posix::Open_In(Folder, End, "p", false, Direction::Duplex, 64), Pipe::No_Server);
  EXPECT_FALSE(Scratch.Has("pipes"));

  const mode_t Old_Mask = ::umask(0277);
  EXPECT_THROW(Posix::Open_In(Folder, End, "p", true, Direction::Duplex, 64, 0.01), Pipe::Timeout);
  ::umask(Old_Mask);
  struct stat Info {};
  ASSERT_EQ(::lstat(Folder.c_str(), &Info), 0);
  EXPECT_TRUE(S_ISDIR(Info.st_mode));
  EXPECT_EQ(Info.st_mode & 07777, 0700u);
  EXPECT_EQ(Info.st_uid, ::geteuid());
  EXPECT_TRUE(std::filesystem::is_empty(Folder)) << "socket and lock go with the server end";
}

TEST(Pipe_Posix_Folder, OneOpenToOthersIsRefusedAndLeftAlone) {
  for (const mode_t Mode : {0770u, 0707u, 0750u, 0705u, 0701u, 0702u, 0710u}) {
    Scratch_Folder Scratch;
    const std::string Folder = Make_Folder(Scratch, Mode);
    Expect_Both_Ends_Refused(Folder);
    EXPECT_TRUE(std::filesystem::is_empty(Folder)) << std::oct << Mode;
  }
}

TEST(Pipe_Posix_Folder, ALinkOrAFileIsRefused) {
  Scratch_Folder Scratch;
  const std::string Target = Make_Folder(Scratch, 0700);
  const std::string Link = Scratch / "link";
  ASSERT_EQ(::symlink(Target.c_str(), Link.c_str()), 0);
  Expect_Both_Ends_Refused(Link);
  EXPECT_TRUE(std::filesystem::is_empty(Target));
  Scratch.Write("file", "");
  Expect_Both_Ends_Refused(Scratch / "file");
}

TEST(Pipe_Posix_Folder, AnotherUsersFolderIsRefused) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "giving a folder to another user needs root";
  }
  Scratch_Folder Scratch;
  const std::string Folder = Make_Folder(Scratch, 0700);
  ASSERT_EQ(::chown(Folder.c_str(), 65534, 65534), 0);
  Expect_Both_Ends_Refused(Folder);
  EXPECT_TRUE(std::filesystem::is_empty(Folder));
}

TEST(Pipe_Posix_Names, OutsideTheRuleTheyAreInvalidAndNothingIsMade) {
  const std::string Too_Long = Unique_Name("n") + std::string(Posix::Max_Name_Length, 'n');
  const std::vector<std::string> Invalid{".",
                                         "..",
                                         "a/b",
                                         "a\\b",
                                         std::string("a\0b", 3),
                                         "x.lock",
                                         ".lock",
                                         Too_Long.substr(0, 79),
                                         Too_Long};
  Scratch_Folder Scratch;
  const std::string Folder = Scratch / "pipes";
  for (const std::string& Name : Invalid) {
    Pipe::Handle End;
    EXPECT_THROW(Posix::Open_In(Folder, End, Name, true, Direction::Duplex, 64, 0.01),
                 Pipe::Invalid_Name)
        << Name;
    EXPECT_THROW(Pipe::Open(End, Name, false, Direction::Duplex, 64), Pipe::Invalid_Name) << Name;
  }
  EXPECT_FALSE(Scratch.Has("pipes"));
  // A folder so long that the socket path no longer fits is the name's fault.
  Pipe::Handle End;
  EXPECT_THROW(
      Posix::Open_In(Folder + std::string(100, 'f'), End, "p", true, Direction::Duplex, 64, 0.01),
      Pipe::Invalid_Name);
}

TEST(Pipe_Posix_Names, WithinTheRuleTheyAreValid) {
  const std::string Longest = Unique_Name("n") + std::string(Posix::Max_Name_Length, 'n');
  for (const std::string& Name :
       {Longest.substr(0, Posix::Max_Name_Length), Unique_Name("a.b"), Unique_Name("..."),
        Unique_Name(" x "), Unique_Name("x.lock") + ".x", Unique_Name("x") + ".LOCK"}) {
    Pipe::Handle End;
    EXPECT_THROW(Pipe::Open(End, Name, true, Direction::Duplex, 64, 0.01), Pipe::Timeout) << Name;
  }
}

TEST(Pipe_Posix, ADeadServersSocketIsNoServerAndTheNextServerReplacesIt) {
  Scratch_Folder Scratch;
  const std::string Folder = Make_Folder(Scratch, 0700);
  Raw_Socket_At(Folder + "/p", false);
  ASSERT_TRUE(Scratch.Has("pipes/p"));
  Pipe::Handle Client;
  EXPECT_THROW(Posix::Open_In(Folder, Client, "p", false, Direction::Duplex, 64), Pipe::No_Server);
  {
    // The same socket while someone holds the lock: a busy pipe.
    const Descriptor Lock(::open((Folder + "/p.lock").c_str(), O_RDWR | O_CREAT, 0600));
    ASSERT_EQ(::flock(Lock.Get(), LOCK_EX | LOCK_NB), 0);
    EXPECT_THROW(Posix::Open_In(Folder, Client, "p", false, Direction::Duplex, 64),
                 Pipe::Name_In_Use);
    EXPECT_THROW(Posix::Open_In(Folder, Client, "p", true, Direction::Duplex, 64, 0.01),
                 Pipe::Name_In_Use);
  }
  auto Server = std::async(std::launch::async, [&Folder] {
    Pipe::Handle End;
    Posix::Open_In(Folder, End, "p", true, Direction::Duplex, 64, Generous_Seconds);
    Write_Text(End, "alive");
    return true;
  });
  Retry_While_No_Server([&] { Posix::Open_In(Folder, Client, "p", false, Direction::Duplex, 64); });
  EXPECT_EQ(Read_Text(Client), "alive");
  EXPECT_TRUE(Server.get());
}

// A client still in the queue when the server end takes another client and
// stops listening is cut off before it hears anything: while that server
// end lives (holds the lock) its pipe was busy; a dead one's is broken.
TEST(Pipe_Posix, AClientDroppedFromTheQueueUnheardFindsALiveServerBusy) {
  Scratch_Folder Scratch;
  const std::string Folder = Make_Folder(Scratch, 0700);
  struct Row {
    bool Server_Lives;
    bool Reads;
  };
  for (const Row Case : {Row{true, true}, Row{true, false}, Row{false, true}, Row{false, false}}) {
    Descriptor Listener = Raw_Socket_At(Folder + "/p", true);
    Descriptor Lock(::open((Folder + "/p.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_EQ(::flock(Lock.Get(), LOCK_EX | LOCK_NB), 0);
    Pipe::Handle Client;
    Posix::Open_In(Folder, Client, "p", false, Direction::Duplex, 64);
    Listener.Reset();  // never accepted: dropped from the queue
    if (!Case.Server_Lives) {
      Lock.Reset();
    }
    std::vector<char> Buffer(64);
    auto Exchange = [&] {
      if (Case.Reads) {
        Pipe::Read_Within(Client, Buffer.data(), 1.0);
      } else {
        Write_Text(Client, "Ox.adb");
      }
    };
    if (Case.Server_Lives) {
      EXPECT_THROW(Exchange(), Pipe::Name_In_Use) << "reads " << Case.Reads;
    } else if (Case.Reads) {
      EXPECT_THROW(Exchange(), Pipe::Broken);
    } else {
      EXPECT_THROW(Exchange(), Pipe::No_Data);
    }
    ::unlink((Folder + "/p").c_str());
  }
}

TEST(Pipe_Posix, SomethingElseAtThePathKeepsTheNameTaken) {
  Scratch_Folder Scratch;
  const std::string Folder = Make_Folder(Scratch, 0700);
  Scratch.Write("pipes/p", "not a socket");
  Pipe::Handle End;
  EXPECT_THROW(Posix::Open_In(Folder, End, "p", true, Direction::Duplex, 64, 0.01),
               Pipe::Name_In_Use);
  EXPECT_EQ(Scratch.Read("pipes/p"), "not a socket");
}

TEST(Pipe_Posix_Wire, AMessageIsItsLengthInFourBytesThenItsBytes) {
  const std::string Name = Unique_Name("wire");
  const std::string Path = Posix::Default_Folder() + "/" + Name;
  const mode_t Old_Mask = ::umask(0277);
  auto Server = Serve(
      Name,
      [](Pipe::Handle& End) {
        std::vector<std::string> Seen;
        for (int Message = 0; Message < 3; ++Message) {
          Seen.push_back(Read_Text(End, 400, Generous_Seconds));
        }
        Write_Text(End, "xy");
        Write_Text(End, "");
        return Seen;
      },
      400);
  const Descriptor Raw = Raw_Client_Of(Path);
  ::umask(Old_Mask);
  struct stat Info {};
  ASSERT_EQ(::lstat(Path.c_str(), &Info), 0);
  EXPECT_TRUE(S_ISSOCK(Info.st_mode));
  EXPECT_EQ(Info.st_mode & 0777, 0600u);

  const std::string Long(300, 'L');
  const std::string Frames = std::string("\x03\0\0\0abc\0\0\0\0\x2C\x01", 13);
  ASSERT_EQ(::send(Raw.Get(), Frames.data(), Frames.size(), 0), 13);
  // The rest of the third frame comes later: a reader waits for all of it.
  ASSERT_EQ(::send(Raw.Get(), "\0\0", 2, 0), 2);
  ASSERT_EQ(::send(Raw.Get(), Long.data(), Long.size(), 0), 300);
  EXPECT_EQ(Server.get(), (std::vector<std::string>{"abc", "", Long}));

  std::string Replies;
  char Chunk[64];
  for (ssize_t Count; (Count = ::recv(Raw.Get(), Chunk, sizeof Chunk, 0)) > 0;) {
    Replies.append(Chunk, static_cast<std::size_t>(Count));
  }
  EXPECT_EQ(Replies, std::string("\x02\0\0\0xy\0\0\0\0", 10));
  EXPECT_NE(::lstat(Path.c_str(), &Info), 0) << "the closed server end left its socket";
  EXPECT_NE(::lstat((Path + ".lock").c_str(), &Info), 0) << "the closed server end left its lock";
}

// Half a frame: a length of 9 and 4 of its bytes.
const std::string Half_Frame("\x09\0\0\0half", 8);

TEST(Pipe_Posix_Wire, AServersTimeoutHoldsForHalfAFrame) {
  const std::string Name = Unique_Name("half");
  auto Server = Serve(Name, [](Pipe::Handle& End) {
    std::vector<char> Buffer(64);
    try {
      Pipe::Read(End, Buffer.data(), 0.3);
    } catch (const Pipe::Error& Failure) {
      return std::string(Failure.name());
    }
    return std::string("read");
  });
  Descriptor Raw = Raw_Client_Of(Posix::Default_Folder() + "/" + Name);
  ASSERT_EQ(::send(Raw.Get(), Half_Frame.data(), Half_Frame.size(), 0), 8);
  const bool In_Time =
      Server.wait_for(std::chrono::duration<double>(Generous_Seconds)) == std::future_status::ready;
  EXPECT_TRUE(In_Time) << "the server end waited on half a frame past its timeout";
  Raw.Reset();  // ends a read that would wait for ever
  EXPECT_EQ(Server.get(), "WINDOWS.PIPE.TIMEOUT");
}

TEST(Pipe_Posix_Wire, AClientsLimitHoldsForHalfAFrameAndThePipeIsThenBroken) {
  Scratch_Folder Scratch;
  const std::string Folder = Make_Folder(Scratch, 0700);
  const Descriptor Listener = Raw_Socket_At(Folder + "/p", true);
  Pipe::Handle Client;
  Posix::Open_In(Folder, Client, "p", false, Direction::Duplex, 64);
  Descriptor Raw(::accept(Listener.Get(), nullptr, nullptr));
  ASSERT_EQ(::send(Raw.Get(), Half_Frame.data(), Half_Frame.size(), 0), 8);
  auto Reading = std::async(std::launch::async, [&Client] {
    std::vector<char> Buffer(64);
    EXPECT_THROW(Pipe::Read_Within(Client, Buffer.data(), 0.3), Pipe::Timeout);
  });
  const bool In_Time = Reading.wait_for(std::chrono::duration<double>(Generous_Seconds)) ==
                       std::future_status::ready;
  EXPECT_TRUE(In_Time) << "the client end waited on half a frame past its limit";
  if (!In_Time) {
    Raw.Reset();  // ends a read that would wait for ever
    Reading.get();
    return;
  }
  Reading.get();
  // The rest comes too late: the reader can no longer tell where a message
  // begins.
  ASSERT_EQ(::send(Raw.Get(), "-late\x01\0\0\0x", 10, 0), 10);
  std::vector<char> Buffer(64);
  EXPECT_THROW(Pipe::Read_Within(Client, Buffer.data(), 0.3), Pipe::Broken);
}

bool Close_On_Exec(int Fd) {
  return (::fcntl(Fd, F_GETFD) & FD_CLOEXEC) != 0;
}

// The descriptors that are sockets or lock files, by number.
std::vector<int> Pipe_Descriptors() {
  std::vector<int> Found;
  for (const auto& Entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code Ignored;
    const std::string Target = std::filesystem::read_symlink(Entry.path(), Ignored).string();
    if (Target.starts_with("socket:") || Target.ends_with(".lock")) {
      Found.push_back(std::stoi(Entry.path().filename().string()));
    }
  }
  return Found;
}

TEST(Pipe_Posix, EveryDescriptorIsClosedOnExec) {
  if (!std::filesystem::exists("/proc/self/fd")) {
    GTEST_SKIP() << "no /proc/self/fd to list the descriptors";
  }
  const std::size_t Before = Pipe_Descriptors().size();
  const std::string Name = Unique_Name("exec");
  auto Server = Serve(Name, [](Pipe::Handle& End) {
    Write_Text(End, "connected");
    return Read_Text(End, 64, Generous_Seconds);
  });
  Pipe::Handle Client = Connect(Name);
  EXPECT_EQ(Read_Text(Client), "connected");
  const std::vector<int> Open_Now = Pipe_Descriptors();
  EXPECT_EQ(Open_Now.size(), Before + 3) << "the lock, the server's and the client's socket";
  for (const int Fd : Open_Now) {
    EXPECT_TRUE(Close_On_Exec(Fd)) << Fd;
  }
  Write_Text(Client, "done");
  EXPECT_EQ(Server.get(), "done");
}

TEST(Pipe_Posix, WritingToAClosedEndIsNoDataNotADeadProcess) {
  const auto Old_Action = ::signal(SIGPIPE, SIG_DFL);
  const std::string Name = Unique_Name("sigpipe");
  auto Server = Serve(Name, [](Pipe::Handle& End) {
    Pipe::Close(End);
    return true;
  });
  Pipe::Handle Client = Connect(Name);
  EXPECT_TRUE(Server.get());
  EXPECT_THROW(Read_Text(Client), Pipe::Broken);
  const std::string Big(1 << 20, 'b');
  for (int Attempt = 0; Attempt < 3; ++Attempt) {
    EXPECT_THROW(Write_Text(Client, Big), Pipe::No_Data);
  }
  ::signal(SIGPIPE, Old_Action);
}

TEST(Pipe_Posix_Errors, AnErrnoBecomesItsWindowsCodeOrItsOwnLoggedCode) {
  const std::vector<std::pair<int, std::uint32_t>> Table{{ENOENT, 2},
                                                         {EACCES, 5},
                                                         {EPERM, 5},
                                                         {ECONNRESET, 109},
                                                         {ENAMETOOLONG, 123},
                                                         {EADDRINUSE, 231},
                                                         {EPIPE, 232},
                                                         {ENOTCONN, 233},
                                                         {EIO, 0x20000000u + EIO},
                                                         {ELOOP, 0x20000000u + ELOOP}};
  for (const auto& [Errno, Code] : Table) {
    EXPECT_EQ(Posix::Error_Code(Errno), Code) << Errno;
  }
  const Log_Capture Log;
  EXPECT_THROW(Pipe::Raise_Error(Posix::Error_Code(EIO)), Pipe::Unknown_Error);
  EXPECT_EQ(Log.Records(), std::vector<std::string>{"Windows.Pipe - Unknown_Error: " +
                                                    std::to_string(0x20000000u + EIO)});
}

// Starts Work as the user nobody in a child process.
pid_t Start_As_Nobody(const std::function<bool()>& Work) {
  const pid_t Child = ::fork();
  if (Child == 0) {
    const bool Passed = ::setgid(65534) == 0 && ::setuid(65534) == 0 && Work();
    ::_exit(Passed ? 0 : 1);
  }
  return Child;
}

// Whether the child ended and its work returned true.
bool Passed(pid_t Child) {
  int Status = 0;
  return Child > 0 && ::waitpid(Child, &Status, 0) == Child && WIFEXITED(Status) &&
         WEXITSTATUS(Status) == 0;
}

TEST(Pipe_Posix, AnEndOfAnotherUserIsRefused) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "an end of another user needs root";
  }
  Scratch_Folder Scratch;
  const std::string Folder = Make_Folder(Scratch, 0700);
  ASSERT_EQ(::chown(Folder.c_str(), 65534, 65534), 0);
  {
    // A listener of root's in nobody's folder: nobody's client will not talk to it.
    const Descriptor Listener = Raw_Socket_At(Folder + "/p", true);
    ASSERT_EQ(::chmod((Folder + "/p").c_str(), 0777), 0);
    EXPECT_TRUE(Passed(Start_As_Nobody([&] {
      Pipe::Handle Client;
      try {
        Posix::Open_In(Folder, Client, "p", false, Direction::Duplex, 64);
      } catch (const Pipe::Access_Denied&) {
        return Client == nullptr;
      }
      return false;
    })));
  }
  // Nobody's server end will not take root for its client.
  const pid_t Server = Start_As_Nobody([&] {
    Pipe::Handle End;
    try {
      Posix::Open_In(Folder, End, "q", true, Direction::Duplex, 64, Generous_Seconds);
    } catch (const Pipe::Access_Denied&) {
      return End == nullptr;
    }
    return false;
  });
  const Descriptor Raw = Raw_Client_Of(Folder + "/q");
  EXPECT_TRUE(Passed(Server));
}

}  // namespace
