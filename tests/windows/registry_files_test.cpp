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
  EXPECT_EQ(Windows::Registry::User_File(GetParam().Config_Home, GetParam().Home),
            GetParam().File);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, User_File,
    testing::Values(User_File_Case{"/home/u/.cfg", "/home/u", "/home/u/.cfg/registry/user.reg"},
                    User_File_Case{"/tmp/scratch/", "/home/u", "/tmp/scratch/registry/user.reg"},
                    User_File_Case{"/", "/home/u", "/registry/user.reg"},
                    User_File_Case{"/cfg", "", "/cfg/registry/user.reg"},
                    // Unset, empty or relative: the home folder's .config.
                    User_File_Case{"", "/home/u", "/home/u/.config/registry/user.reg"},
                    User_File_Case{"cfg", "/home/u", "/home/u/.config/registry/user.reg"},
                    User_File_Case{"~/cfg", "/home/u/", "/home/u/.config/registry/user.reg"},
                    User_File_Case{"", "/", "/.config/registry/user.reg"},
                    User_File_Case{"cfg", "", ""},
                    User_File_Case{"", "", ""}));

}  // namespace
