// The rule for following a symbolic link, over the facts it looks at.
#include "protected_link_posix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Windows::Files::Posix::Link_Place;

struct Rule_Case {
  const char* What;
  mode_t Folder_Mode;
  uid_t Folder_Owner;
  uid_t Link_Owner;
  bool Followed;
};

constexpr uid_t User = 1000;
constexpr uid_t Stranger = 1001;
constexpr uid_t Root = 0;

TEST(Protected_Link, OnlyAStrangersLinkInAStickyWorldWritableFolderIsRefused) {
  const Rule_Case Cases[] = {
      {"a stranger's link in /tmp", S_IFDIR | 01777, Root, Stranger, false},
      {"a stranger's link in the user's own shared folder", S_IFDIR | 01777, User, Stranger, false},
      {"the user's own link in /tmp", S_IFDIR | 01777, Root, User, true},
      {"root's link in /tmp", S_IFDIR | 01777, Root, Root, true},
      {"the folder owner's link", S_IFDIR | 01777, Stranger, Stranger, true},
      {"sticky but not writable by all", S_IFDIR | 01775, Root, Stranger, true},
      {"writable by all but not sticky", S_IFDIR | 0777, Root, Stranger, true},
      {"an ordinary folder", S_IFDIR | 0755, Stranger, Stranger, true},
  };
  for (const Rule_Case& C : Cases) {
    EXPECT_EQ(Windows::Files::Posix::May_Follow(
                  Link_Place{C.Folder_Mode, C.Folder_Owner, C.Link_Owner}, User),
              C.Followed)
        << C.What;
  }
}

}  // namespace
