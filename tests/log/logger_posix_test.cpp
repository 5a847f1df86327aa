// Where the log refuses to write on POSIX: a FIFO or a device named as the
// log, and a symbolic link that somebody else put in a shared folder. The
// run then goes on without a log, and the file the name points at keeps
// what it held.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "log_file.h"
#include "log_reading.h"
#include "registry_setting.h"
#include "scratch.h"

namespace {

using Test_Support::Joined;
using Test_Support::Masked;

class Log_Place : public testing::Test {
 protected:
  // Whether a log named Path takes records.
  bool Opens_At(const std::string& Path) {
    Key.Set_String("Log", Path);
    Log::Guarded_Log Log;
    EXPECT_TRUE(Log.Open(Product, false));
    Log.Put("written");
    return Log.Is_Active();
  }

  Test_Support::Scratch_Folder Scratch;
  const std::string Product = Test_Support::Unique_Product_Name();
  Test_Support::Registry_Setting Key{Windows::Registry::Root_Key::User,
                                     "Software\\Tallowmere\\" + Product};
};

TEST_F(Log_Place, AFifoOrADeviceIsNoLog) {
  const std::string Fifo = Scratch / "fifo";
  ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
  const int Reader = ::open(Fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(Reader, 0);
  EXPECT_FALSE(Opens_At(Fifo)) << "a FIFO with a reader";
  char Byte = 0;
  EXPECT_LE(::read(Reader, &Byte, 1), 0) << "a record reached the FIFO";
  ::close(Reader);
  // Without a reader, opening a FIFO for writing would wait for ever.
  EXPECT_FALSE(Opens_At(Fifo)) << "a FIFO without a reader";
  EXPECT_FALSE(Opens_At("/dev/null"));
}

enum class Owner { User, Other };

struct Link_Case {
  const char* What;
  bool Sticky;  // the folder: sticky and writable by all, or only writable by all
  Owner Folder;
  Owner Link;
  bool Followed;
};

// Another user's id is needed to own a link or a folder: only root can give
// files away.
constexpr uid_t Other_User = 65534;

TEST_F(Log_Place, AStrangersLinkInASharedFolderIsNotFollowed) {
  const Link_Case Cases[] = {
      {"the user's own link in the user's shared folder", true, Owner::User, Owner::User, true},
      {"the user's own link in a stranger's shared folder", true, Owner::Other, Owner::User, true},
      {"a stranger's link in the user's shared folder", true, Owner::User, Owner::Other, false},
      {"a link of the shared folder's owner", true, Owner::Other, Owner::Other, true},
      {"a stranger's link in a folder that is not sticky", false, Owner::User, Owner::Other, true},
  };
  const bool Can_Give_Away = ::geteuid() == 0;
  int Tried = 0;
  for (const Link_Case& C : Cases) {
    const bool Needs_Other = C.Folder == Owner::Other || C.Link == Owner::Other;
    if (Needs_Other && !Can_Give_Away) {
      continue;
    }
    ++Tried;
    const std::string Folder = Scratch / ("shared" + std::to_string(Tried));
    const std::string Target = Scratch / ("target" + std::to_string(Tried) + ".log");
    const std::string Link = Folder + "/run.log";
    Scratch.Write("target" + std::to_string(Tried) + ".log", "precious\r\n");
    Scratch.Make_Folder("shared" + std::to_string(Tried));
    ASSERT_EQ(::symlink(Target.c_str(), Link.c_str()), 0);
    ASSERT_EQ(::chmod(Folder.c_str(), C.Sticky ? 01777 : 0777), 0);
    const auto Id = [](Owner Who) { return Who == Owner::User ? ::geteuid() : Other_User; };
    ASSERT_EQ(::lchown(Link.c_str(), Id(C.Link), static_cast<gid_t>(-1)), 0) << C.What;
    ASSERT_EQ(::chown(Folder.c_str(), Id(C.Folder), static_cast<gid_t>(-1)), 0) << C.What;
    EXPECT_EQ(Opens_At(Link), C.Followed) << C.What;
    EXPECT_EQ(Masked(Scratch.Read("target" + std::to_string(Tried) + ".log")),
              C.Followed ? Joined({" ~ => written"}) : "precious\r\n")
        << C.What;
  }
  if (!Can_Give_Away) {
    GTEST_SKIP() << "only the user's own link was tried: giving a file to another user needs root";
  }
}

}  // namespace
