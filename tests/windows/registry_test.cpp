// The registry read through the package's one position, against keys the
// tests write into the real registry (the POSIX registry files on POSIX).
#include "registry.h"

#include <gtest/gtest.h>

#include <optional>

#include "registry_setting.h"
#include "wide.h"

namespace {

namespace Registry = Windows::Registry;
using Registry::Root_Key;
using Test_Support::Registry_Setting;

class Registry_Access : public testing::Test {
 protected:
  void SetUp() override {
    Key.Set_String("Log", "C:\\Logs\\run.log");
    Registry::Set_Root(Root_Key::User);
    Registry::Open_Key(Path);
  }
  void TearDown() override { Registry::Set_Root(Root_Key::User); }

  const std::string Product = Test_Support::Unique_Product_Name();
  const std::string Path = "Software\\Tallowmere\\" + Product;
  Registry_Setting Key{Root_Key::User, Path};
};

TEST_F(Registry_Access, StringValuesUpTo249CharactersComeBackWhole) {
  const std::string Longest(249, 'x');
  Key.Set_String("Longest", Longest);
  Key.Set_String("Too long", std::string(250, 'y'));
  Key.Set_String("Empty", "");
  Registry::Open_Key(Path);
  EXPECT_EQ(Registry::Get_String("Log"), "C:\\Logs\\run.log");
  EXPECT_EQ(Registry::Get_String("LOG"), "C:\\Logs\\run.log");
  EXPECT_EQ(Registry::Get_String("Longest"), Longest);
  EXPECT_EQ(Registry::Get_String("Empty"), "");
  EXPECT_THROW(Registry::Get_String("Too long"), Registry::Overflow);
  EXPECT_THROW(Registry::Get_String("Missing"), Registry::Entry_Not_Found);
}

TEST_F(Registry_Access, EachReadAcceptsOnlyItsOwnType) {
  Key.Set_Dword("Limit", 0x1234ABCD);
  Key.Set("Expand", Registry::Type_Expand_String, std::string("%TEMP%\\x\0", 9));
  Key.Set("Binary4", Registry::Type_Binary, std::string("\x01\x02\x03\x04", 4));
  Key.Set("Binary5", Registry::Type_Binary, std::string("\x01\x02\x03\x04\x05", 5));
  Key.Set("Qword", Registry::Type_Qword, std::string("\x01\0\0\0\0\0\0\0", 8));
  Key.Set("Short", Registry::Type_String, std::string("ab\0", 3));
  Registry::Open_Key(Path);
  EXPECT_EQ(Registry::Get_Integer("Limit"), 0x1234ABCDu);
  EXPECT_EQ(Registry::Get_Integer("limit"), 0x1234ABCDu);
  EXPECT_THROW(Registry::Get_String("Expand"), Registry::Wrong_Type);
  EXPECT_THROW(Registry::Get_String("Limit"), Registry::Wrong_Type);
  EXPECT_THROW(Registry::Get_Integer("Binary4"), Registry::Wrong_Type);
  EXPECT_THROW(Registry::Get_Integer("Short"), Registry::Wrong_Type);
  // Larger than the four bytes offered: not read at all.
  EXPECT_THROW(Registry::Get_Integer("Binary5"), Registry::Entry_Not_Found);
  EXPECT_THROW(Registry::Get_Integer("Qword"), Registry::Entry_Not_Found);
  EXPECT_THROW(Registry::Get_Integer("Log"), Registry::Entry_Not_Found);
  EXPECT_THROW(Registry::Get_Integer("Missing"), Registry::Entry_Not_Found);
}

TEST_F(Registry_Access, TheCurrentKeyNameReopensTheSameKey) {
  Registry::Set_Root(Root_Key::User);
  EXPECT_EQ(Registry::Current_Key_Name(), u"");
  Registry::Open_Key("SOFTWARE\\TALLOWMERE\\" + Product);
  // Spelled as stored, not as asked.
  const std::u16string Name = Registry::Current_Key_Name();
  EXPECT_EQ(Windows::To_UTF_8(Name), Path);
  Registry::Set_Root(Root_Key::User);
  Registry::Open_Key(Name);
  EXPECT_EQ(Registry::Get_String("Log"), "C:\\Logs\\run.log");
  EXPECT_EQ(Registry::Current_Key_Name(), Name);
}

TEST_F(Registry_Access, AKeyThatCannotBeOpenedLeavesThePositionAlone) {
  EXPECT_THROW(Registry::Open_Key(Path + "\\Missing"), Registry::Key_Not_Found);
  EXPECT_THROW(Registry::Open_Key(u"Software\\No Such Key Here"), Registry::Key_Not_Found);
  EXPECT_EQ(Registry::Get_String("Log"), "C:\\Logs\\run.log");
  EXPECT_EQ(Registry::Get_Root(), Root_Key::User);
}

// A key is closed once: closing the current key leaves the root current,
// and a key opened later (which may get the closed key's handle) is never
// closed in its place.
TEST_F(Registry_Access, AClosedKeyLeavesTheRootCurrentAndIsNeverClosedAgain) {
  Registry::Close_Current();
  EXPECT_EQ(Registry::Current_Key_Name(), u"");
  EXPECT_THROW(Registry::Get_String("Log"), Registry::Entry_Not_Found);
  Registry::Close_Current();
  Registry::Open_Key(Path);
  EXPECT_EQ(Registry::Get_String("Log"), "C:\\Logs\\run.log");
  Registry::Open_Key(Path);
  Registry::Open_Key(Path);
  EXPECT_EQ(Registry::Get_String("Log"), "C:\\Logs\\run.log");
  EXPECT_EQ(Windows::To_UTF_8(Registry::Current_Key_Name()), Path);
}

TEST_F(Registry_Access, AnEmptyPathOrANewRootMakesTheRootCurrent) {
  Registry::Open_Key("");
  EXPECT_EQ(Registry::Current_Key_Name(), u"");
  EXPECT_THROW(Registry::Get_String("Log"), Registry::Entry_Not_Found);
  Registry::Open_Key(Path);
  Registry::Set_Root(Root_Key::Machine);
  EXPECT_EQ(Registry::Get_Root(), Root_Key::Machine);
  EXPECT_EQ(Registry::Current_Key_Name(), u"");
  // A path is always below the root: the user's key is not below the machine.
  EXPECT_THROW(Registry::Open_Key(Path), Registry::Key_Not_Found);
}

TEST(Registry_Machine, KeysBelowTheMachineRootAreReadLikeTheUsersOnes) {
  const std::string Path = "Software\\Tallowmere\\" + Test_Support::Unique_Product_Name();
  std::optional<Registry_Setting> Key;
  try {
    Key.emplace(Root_Key::Machine, Path);
  } catch (const Test_Support::Registry_Not_Writable& Refused) {
    GTEST_SKIP() << Refused.what();
  }
  Key->Set_Dword("Log Limit", 7);
  Registry::Set_Root(Root_Key::Machine);
  Registry::Open_Key(Path);
  EXPECT_EQ(Registry::Get_Integer("Log Limit"), 7u);
  EXPECT_EQ(Windows::To_UTF_8(Registry::Current_Key_Name()), Path);
  Registry::Set_Root(Root_Key::User);
}

struct Kernel_Name_Case {
  std::u16string_view Kernel_Name;
  Root_Key Root;
  std::u16string_view Expected;
};

TEST(Registry_Path_Below_Root, SkipsTheRootsOwnComponents) {
  const Kernel_Name_Case Cases[] = {
      {u"\\REGISTRY\\MACHINE\\SOFTWARE\\Tallowmere", Root_Key::Machine, u"SOFTWARE\\Tallowmere"},
      {u"\\REGISTRY\\USER\\S-1-5-21-1\\Software\\Tallowmere", Root_Key::User,
       u"Software\\Tallowmere"},
      {u"\\REGISTRY\\USER\\S-1-5-21-1\\", Root_Key::User, u""},
      {u"\\REGISTRY\\MACHINE\\", Root_Key::Machine, u""},
  };
  for (const Kernel_Name_Case& C : Cases) {
    EXPECT_EQ(Registry::Path_Below_Root(C.Kernel_Name, C.Root), C.Expected);
  }
  EXPECT_THROW(Registry::Path_Below_Root(u"\\REGISTRY\\USER\\S-1-5", Root_Key::User),
               Registry::Key_Not_Found);
  EXPECT_THROW(Registry::Path_Below_Root(u"\\REGISTRY", Root_Key::Machine),
               Registry::Key_Not_Found);
}

}  // namespace

namespace {

// The settings tests write come and go without a trace: a developer's or a
// user's own values of the same key are back when the test ends.
TEST(Registry_Setting, ATestsValuesGiveWayToWhatWasThereBefore) {
  const std::string Path = "Software\\Tallowmere\\" + Test_Support::Unique_Product_Name();
  // Another key held throughout keeps the same root to look at in the end.
  const Registry_Setting Other(Root_Key::User,
                               "Software\\Tallowmere\\" + Test_Support::Unique_Product_Name());
  {
    Registry_Setting Users_Own(Root_Key::User, Path);
    Users_Own.Set_String("Log", "the user's own log");
    Users_Own.Set_Dword("Log Limit", 12);
    {
      Registry_Setting Tests(Root_Key::User, Path);
      Registry::Set_Root(Root_Key::User);
      Registry::Open_Key(Path);
      EXPECT_THROW(Registry::Get_String("Log"), Registry::Entry_Not_Found);
      Tests.Set_String("Log", "the test's log");
      Registry::Open_Key(Path);
      EXPECT_EQ(Registry::Get_String("Log"), "the test's log");
      EXPECT_THROW(Registry::Get_Integer("Log Limit"), Registry::Entry_Not_Found);
    }
    Registry::Open_Key(Path);
    EXPECT_EQ(Registry::Get_String("Log"), "the user's own log");
    EXPECT_EQ(Registry::Get_Integer("Log Limit"), 12u);
  }
  Registry::Set_Root(Root_Key::User);
  EXPECT_THROW(Registry::Open_Key(Path), Registry::Key_Not_Found);
}

}  // namespace
