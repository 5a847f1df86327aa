// Where the POSIX registry's user root lies, for each environment.
#include "registry_files.h"

#include <gtest/gtest.h>

namespace {

struct User_File_Case {
  const char* Config_Home;  // XDG_CONFIG_HOME
  const char* Home;
  const char* File;
};

class User_File : public testing::TestWithParam<User_File_Case> {};

TEST_P(User_File, FollowsAnAbsoluteConfigHomeElseTheHomeFolder) {
  EXPECT_EQ(Windows::Registry::User_File(GetParam().Config_Home, GetParam().Home), GetParam().File);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, User_File,
    testing::Values(User_File_Case{"/srv/u/.cfg", "/srv/u", "/srv/u/.cfg/registry/user.reg"},
                    User_File_Case{"/tmp/scratch/", "/srv/u", "/tmp/scratch/registry/user.reg"},
                    User_File_Case{"/", "/srv/u", "/registry/user.reg"},
                    User_File_Case{"/cfg", "", "/cfg/registry/user.reg"},
                    // Unset, empty or relative: the home folder's .config.
                    User_File_Case{"", "/srv/u", "/srv/u/.config/registry/user.reg"},
                    User_File_Case{"cfg", "/srv/u", "/srv/u/.config/registry/user.reg"},
                    User_File_Case{"~/cfg", "/srv/u/", "/srv/u/.config/registry/user.reg"},
                    User_File_Case{"", "/", "/.config/registry/user.reg"},
                    User_File_Case{"cfg", "", ""}, User_File_Case{"", "", ""}));

}  // namespace
