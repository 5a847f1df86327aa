// The path rewriting rule, for both path styles, against a disk made up by
// the test (stored names by lower-case name).
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "files.h"
#include "text.h"

namespace {

using Windows::Path_Style;

// The stored name of a prefix's last component, "?" when the made-up disk
// has none. Prefixes seen are recorded.
struct Made_Up_Disk {
  Path_Style Style;
  std::vector<std::string> Asked;

  std::string operator()(std::string_view Prefix) {
    Asked.emplace_back(Prefix);
    static const std::map<std::string, std::string> Stored = {{"src", "Src"},
                                                              {"main.adb", "Main.adb"},
                                                              {"progra~1", "Program Files"},
                                                              {"a.adb", "a.adb"},
                                                              {"x", "X"},
                                                              {"y.adb", "Y.adb"},
                                                              {"...", "..."}};
    const std::size_t Last = Windows::Last_Separator(Prefix, Style);
    const std::string Name = Text::Lower_Case(Prefix.substr(Last));
    const auto Found = Stored.find(Name);
    return Found == Stored.end() ? "?" : Found->second;
  }
};

struct Full_Name_Case {
  std::string_view Path;
  std::string_view Windows_Expected;
  std::string_view Posix_Expected;
};

class Full_Name_Rule : public testing::TestWithParam<Full_Name_Case> {};

TEST_P(Full_Name_Rule, RewritesEachComponentAsStored) {
  const Full_Name_Case& C = GetParam();
  Made_Up_Disk Windows_Disk{Path_Style::Windows, {}};
  Made_Up_Disk Posix_Disk{Path_Style::Posix, {}};
  EXPECT_EQ(Windows::Files::Full_Name(C.Path, Path_Style::Windows, std::ref(Windows_Disk)),
            C.Windows_Expected);
  EXPECT_EQ(Windows::Files::Full_Name(C.Path, Path_Style::Posix, std::ref(Posix_Disk)),
            C.Posix_Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Full_Name_Rule,
    testing::Values(Full_Name_Case{"c:\\src\\main.adb", "C:\\Src\\Main.adb", "?"},
                    Full_Name_Case{"c:/src/main.adb", "C:\\Src\\Main.adb", "?/Src/Main.adb"},
                    Full_Name_Case{"c:\\src\\", "C:\\Src", "?"},
                    Full_Name_Case{".\\src\\main.adb", ".\\Src\\Main.adb", ".\\src\\main.adb"},
                    Full_Name_Case{"./src/main.adb", ".\\Src\\Main.adb", "./Src/Main.adb"},
                    Full_Name_Case{"c:\\nothere\\x.adb", "C:\\?\\?", "?"},
                    Full_Name_Case{"c:\\src\\.\\main.adb", "C:\\Src\\Main.adb", "?"},
                    Full_Name_Case{"c:\\\\src\\\\main.adb", "C:\\Src\\Main.adb", "?"},
                    // A relative path stays relative instead of failing.
                    Full_Name_Case{"a.adb", "a.adb", "a.adb"},
                    Full_Name_Case{"src\\main.adb", "Src\\Main.adb", "?"},
                    Full_Name_Case{"src/main.adb", "Src\\Main.adb", "Src/Main.adb"},
                    // A stored name longer than the typed one.
                    Full_Name_Case{"c:\\progra~1\\a.adb", "C:\\Program Files\\a.adb", "?"},
                    // ".." keeps its place, so the path still names the same file.
                    Full_Name_Case{"c:\\x\\..\\y.adb", "C:\\X\\..\\Y.adb", "?"},
                    Full_Name_Case{"/x/../y.adb", "\\X\\..\\Y.adb", "/X/../Y.adb"},
                    Full_Name_Case{"../src/main.adb", "..\\Src\\Main.adb", "../Src/Main.adb"},
                    Full_Name_Case{"/src/main.adb", "\\Src\\Main.adb", "/Src/Main.adb"},
                    Full_Name_Case{"//src//./main.adb/", "\\Src\\Main.adb", "/Src/Main.adb"},
                    Full_Name_Case{"/x/.../a.adb", "\\X\\a.adb", "/X/.../a.adb"},
                    Full_Name_Case{"c:\\", "C:\\", "?"}, Full_Name_Case{"/", "\\", "/"},
                    Full_Name_Case{"", "", ""}));

TEST(Full_Name_Rule, LooksUpEachPrefixOfThePathAsTyped) {
  Made_Up_Disk Disk{Path_Style::Windows, {}};
  Windows::Files::Full_Name("c:\\src\\.\\main.adb", Path_Style::Windows, std::ref(Disk));
  EXPECT_EQ(Disk.Asked, (std::vector<std::string>{"c:\\src", "c:\\src\\.\\main.adb"}));
}

TEST(Full_Name_Rule, LeadingDotComponentIsNotLookedUp) {
  Made_Up_Disk Disk{Path_Style::Posix, {}};
  EXPECT_EQ(Windows::Files::Full_Name(".hidden/a.adb", Path_Style::Posix, std::ref(Disk)),
            ".hidden/a.adb");
  EXPECT_EQ(Disk.Asked, (std::vector<std::string>{".hidden/a.adb"}));
}

struct Wildcard_Case {
  std::string_view Name;
  std::string_view Pattern;
  bool Expected;
};

class Wildcard : public testing::TestWithParam<Wildcard_Case> {};

TEST_P(Wildcard, MatchesIgnoringLetterCase) {
  EXPECT_EQ(Windows::Matches_Wildcard(GetParam().Name, GetParam().Pattern), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Wildcard,
    testing::Values(Wildcard_Case{"a.adb", "*.a*", true}, Wildcard_Case{"B.ADS", "*.a*", true},
                    Wildcard_Case{"x.Ada", "*.a*", true}, Wildcard_Case{"d.txt", "*.a*", false},
                    Wildcard_Case{"x.bak.adb", "*.a*", true}, Wildcard_Case{"adb", "*.a*", false},
                    Wildcard_Case{".a", "*.a*", true},
                    Wildcard_Case{"\xC9T\xC9.A", "\xE9t\xE9.a", true},
                    Wildcard_Case{"abc", "a?c", true}, Wildcard_Case{"ac", "a?c", false},
                    Wildcard_Case{"", "*", true},
                    Wildcard_Case{"aaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*c", false}));

TEST(Path_Style, LastSeparatorFollowsTheStyle) {
  EXPECT_EQ(Windows::Last_Separator("C:\\a/b\\c", Path_Style::Windows), 7u);
  EXPECT_EQ(Windows::Last_Separator("C:\\a/b\\c", Path_Style::Posix), 5u);
  EXPECT_EQ(Windows::Last_Separator("abc", Path_Style::Posix), 0u);
}

// The client (a configuration's name) and the formatting server (a
// source's name) decide by this one rule whether a name is used as given.
TEST(Path_Style, AFolderPartIsASeparatorOfTheStyleOrAWindowsDrive) {
  struct Case {
    std::string_view Name;
    bool Posix;
    bool Windows;
  };
  const Case Cases[] = {
      {"quorvel.ini", false, false},     {"sub/quorvel.ini", true, true},
      {"sub\\quorvel.ini", false, true}, {"/etc/quorvel.ini", true, true},
      {"c:quorvel.ini", false, true},    {"C:\\Tools\\quorvel.ini", false, true},
      {"./quorvel.ini", true, true},     {"", false, false},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Windows::Has_Folder(C.Name, Path_Style::Posix), C.Posix) << C.Name;
    EXPECT_EQ(Windows::Has_Folder(C.Name, Path_Style::Windows), C.Windows) << C.Name;
  }
}

}  // namespace
