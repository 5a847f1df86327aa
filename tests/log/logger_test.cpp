// The guarded log against settings the tests write into the registry: where
// the settings are found, the record lines, flushing, the limit and the
// rotation, and a log that switches itself off.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "log_file.h"
#include "log_reading.h"
#include "registry.h"
#include "registry_setting.h"
#include "scratch.h"
#include "unsigned.h"

namespace {

using Test_Support::Joined;
using Test_Support::Masked;
using Test_Support::Registry_Setting;
using Test_Support::Rotation_Notices;
using Windows::Registry::Root_Key;
using Strings = std::vector<std::string>;

Strings Records(const std::string& First, int From, int To) {
  Strings Lines;
  if (!First.empty()) {
    Lines.push_back(First);
  }
  for (int I = From; I <= To; ++I) {
    Lines.push_back(" ~ => r" + std::to_string(I));
  }
  return Lines;
}

Strings Plus(Strings A, const Strings& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

class Logger_Test : public testing::Test {
 protected:
  Registry_Setting& User() {
    if (!User_Key) {
      User_Key.emplace(Root_Key::User, Key_Path);
    }
    return *User_Key;
  }
  // Null (and the test skipped by the caller) where the machine root
  // cannot be written.
  Registry_Setting* Machine() {
    if (!Machine_Key) {
      try {
        Machine_Key.emplace(Root_Key::Machine, Key_Path);
      } catch (const Test_Support::Registry_Not_Writable&) {
        return nullptr;
      }
    }
    return &*Machine_Key;
  }
  void Write(Log::Guarded_Log& Log, int From, int To) {
    for (int I = From; I <= To; ++I) {
      std::string Text = "r";
      Log.Put(Text.append(std::to_string(I)));
    }
  }

  Test_Support::Scratch_Folder Scratch;
  const std::string Product = Test_Support::Unique_Product_Name();
  const std::string Key_Path = "Software\\Tallowmere\\" + Product;
  const std::string Log_Path = Scratch / "run.log";
  const std::string Previous_Path = Scratch / "run_2.log";
  std::optional<Registry_Setting> User_Key;
  std::optional<Registry_Setting> Machine_Key;
};

TEST_F(Logger_Test, WithoutALogValueThereIsNoLog) {
  User().Set_Dword("Log Limit", 5);
  Log::Guarded_Log Log;
  EXPECT_TRUE(Log.Open(Product, false));
  EXPECT_FALSE(Log.Is_Active());
  Log.Put("lost");
  EXPECT_TRUE(std::filesystem::is_empty(Scratch.Path()));
}

TEST_F(Logger_Test, RecordsCarryTheTimeAndTheWritingThread) {
  User().Set_String("Log", Log_Path);
  {
    Log::Guarded_Log Log;
    ASSERT_TRUE(Log.Open(Product, false));
    ASSERT_TRUE(Log.Is_Active());
    Log.Put("Ready");
    Log.Put("");
  }
  const std::string Content = Scratch.Read("run.log");
  EXPECT_EQ(Masked(Content), Joined({" ~ => Ready", " ~ => "}));
  const std::string Thread = Unsigned::Hex_Image_Wide(Windows::Thread_Id(), 4);
  for (const std::string& Line : Test_Support::Lines_Of(Content)) {
    const auto Fields = Test_Support::Parse_Record(Line);
    ASSERT_TRUE(Fields) << Line;
    EXPECT_EQ(Fields->Thread, Thread);
    EXPECT_EQ(Fields->Decimals.back(), '0') << "milliseconds give three of the four decimals";
  }
}

TEST_F(Logger_Test, RecordsReachTheFileAtOnceOnlyWithAutoFlush) {
  User().Set_String("Log", Log_Path);
  Log::Guarded_Log Log;
  ASSERT_TRUE(Log.Open(Product, false));
  Log.Put("buffered");
  EXPECT_EQ(Scratch.Read("run.log"), "");
  // A second opening while active writes nothing, but takes up Auto_Flush.
  EXPECT_FALSE(Log.Open(Product, true));
  EXPECT_EQ(Masked(Scratch.Read("run.log")), Joined({" ~ => buffered"}));
  Log.Put("flushed");
  EXPECT_EQ(Masked(Scratch.Read("run.log")), Joined({" ~ => buffered", " ~ => flushed"}));
  EXPECT_FALSE(Log.Open(Product, false));
  Log.Put("still flushed");
  EXPECT_EQ(Masked(Scratch.Read("run.log")),
            Joined({" ~ => buffered", " ~ => flushed", " ~ => still flushed"}));
}

TEST_F(Logger_Test, EachStartEmptiesTheLogAndDeletesThePreviousFile) {
  Scratch.Write("run.log", "an earlier run\r\n");
  Scratch.Write("run_2.log", "an earlier previous file\r\n");
  User().Set_String("Log", Log_Path);
  Log::Guarded_Log Log;
  ASSERT_TRUE(Log.Open(Product, true));
  EXPECT_EQ(Scratch.Read("run.log"), "");
  EXPECT_FALSE(Scratch.Has("run_2.log"));
}

// Two runs with the same log setting: the second may neither empty the
// first's file nor write into it; it runs without a log.
TEST_F(Logger_Test, ALogInUseByAnotherRunIsLeftToIt) {
  User().Set_String("Log", Log_Path);
  Log::Guarded_Log First;
  ASSERT_TRUE(First.Open(Product, true));
  Write(First, 1, 2);
  {
    Log::Guarded_Log Second;
    EXPECT_TRUE(Second.Open(Product, true));
    EXPECT_FALSE(Second.Is_Active());
    Second.Put("second");
  }
  Write(First, 3, 3);
  EXPECT_TRUE(First.Is_Active());
  EXPECT_EQ(Masked(Scratch.Read("run.log")), Joined(Records("", 1, 3)));
}

TEST_F(Logger_Test, WithLimitZeroNothingRotatesAndThePreviousFileStays) {
  Scratch.Write("run_2.log", "an earlier previous file\r\n");
  User().Set_String("Log", Log_Path);
  User().Set_Dword("Log Limit", 0);
  {
    Log::Guarded_Log Log;
    ASSERT_TRUE(Log.Open(Product, false));
    Write(Log, 1, 20);
  }
  EXPECT_EQ(Masked(Scratch.Read("run.log")), Joined(Records("", 1, 20)));
  EXPECT_EQ(Scratch.Read("run_2.log"), "an earlier previous file\r\n");
}

TEST_F(Logger_Test, AFullFileBecomesThePreviousFileAndTheNewOneStartsWithTwoNotices) {
  User().Set_String("Log", Log_Path);
  for (const std::uint32_t Limit : {1u, 2u, 3u, 5u}) {
    User().Set_Dword("Log Limit", Limit);
    {
      Log::Guarded_Log Log;
      ASSERT_TRUE(Log.Open(Product, false));
      Write(Log, 1, 12);
    }
    // The first file holds Limit records; each later one the two notices
    // and Limit - 2 records, but always at least one.
    const int Per_File = Limit > 3 ? static_cast<int>(Limit) - 2 : 1;
    const int Last_Start = 12 - (12 - static_cast<int>(Limit) - 1) % Per_File;
    const Strings Notices = Rotation_Notices(Limit, Previous_Path);
    EXPECT_EQ(Masked(Scratch.Read("run.log")), Joined(Plus(Notices, Records("", Last_Start, 12))))
        << Limit;
    const int Previous_Start = Last_Start - Per_File;
    const Strings Previous = Previous_Start == 1
                                 ? Records("", 1, static_cast<int>(Limit))
                                 : Plus(Notices, Records("", Previous_Start, Last_Start - 1));
    EXPECT_EQ(Masked(Scratch.Read("run_2.log")), Joined(Previous)) << Limit;
  }
}

TEST_F(Logger_Test, WithoutAUsableLimitAFileHoldsOneHundredThousandRecords) {
  User().Set_String("Log", Log_Path);
  User().Set_String("Log Limit", "5");
  {
    Log::Guarded_Log Log;
    ASSERT_TRUE(Log.Open(Product, false));
    Write(Log, 1, 100001);
  }
  const Strings Previous = Test_Support::Lines_Of(Scratch.Read("run_2.log"));
  ASSERT_EQ(Previous.size(), 100000u);
  EXPECT_EQ(Test_Support::Parse_Record(Previous.back())->Text, "r100000");
  EXPECT_EQ(Masked(Scratch.Read("run.log")),
            Joined(Plus(Rotation_Notices(100000, Previous_Path), {" ~ => r100001"})));
}

TEST_F(Logger_Test, TheMachineSettingsServeWhenTheUserHasNone) {
  Registry_Setting* Key = Machine();
  if (Key == nullptr) {
    GTEST_SKIP() << "the machine root cannot be written here";
  }
  User().Set_Dword("Log Limit", 0);  // the user's key without "Log" does not count
  Key->Set_String("Log", Log_Path);
  Key->Set_Dword("Log Limit", 2);
  {
    Log::Guarded_Log Log;
    ASSERT_TRUE(Log.Open(Product, false));
    Write(Log, 1, 3);
  }
  EXPECT_EQ(Masked(Scratch.Read("run.log")),
            Joined(Plus(Rotation_Notices(2, Previous_Path), {" ~ => r3"})));
}

TEST_F(Logger_Test, TheUsersSettingsWinWithTheirOwnLimit) {
  Registry_Setting* Key = Machine();
  if (Key == nullptr) {
    GTEST_SKIP() << "the machine root cannot be written here";
  }
  Key->Set_String("Log", Scratch / "machine.log");
  Key->Set_Dword("Log Limit", 2);
  User().Set_String("Log", Log_Path);
  User().Set_Dword("Log Limit", 4);
  {
    Log::Guarded_Log Log;
    ASSERT_TRUE(Log.Open(Product, false));
    Write(Log, 1, 4);
  }
  EXPECT_EQ(Masked(Scratch.Read("run.log")), Joined(Records("", 1, 4)));
  EXPECT_FALSE(Scratch.Has("machine.log"));
}

TEST_F(Logger_Test, ALogValueThatIsNoShortPlainStringMeansNoLog) {
  const std::string Long_Path = Scratch / std::string(250 - Scratch.Path().size() - 1, 'l');
  ASSERT_EQ(Long_Path.size(), 250u);
  const auto Try = [&](auto&& Set) {
    Set();
    Log::Guarded_Log Log;
    EXPECT_TRUE(Log.Open(Product, false));
    return Log.Is_Active();
  };
  EXPECT_FALSE(Try([&] {
    User().Set("Log", Windows::Registry::Type_Expand_String, Log_Path + std::string(1, '\0'));
  }));
  EXPECT_FALSE(Try([&] { User().Set_String("Log", Long_Path); }));
  EXPECT_FALSE(Try([&] { User().Set_Dword("Log", 1); }));
  EXPECT_TRUE(Try([&] { User().Set_String("Log", Long_Path.substr(0, 249)); }));
  EXPECT_TRUE(std::filesystem::exists(Long_Path.substr(0, 249)));
}

TEST_F(Logger_Test, AFileThatCannotBeCreatedStillClearsThePreviousOne) {
  Scratch.Make_Folder("run.log");
  Scratch.Write("run_2.log", "old\r\n");
  User().Set_String("Log", Log_Path);
  Log::Guarded_Log Log;
  EXPECT_TRUE(Log.Open(Product, false));
  EXPECT_FALSE(Log.Is_Active());
  EXPECT_FALSE(Scratch.Has("run_2.log"));
}

TEST_F(Logger_Test, AFailedRotationSwitchesTheLogOffForTheRestOfTheRun) {
  Scratch.Make_Folder("run_2.log");  // the move onto it fails
  User().Set_String("Log", Log_Path);
  User().Set_Dword("Log Limit", 3);
  Log::Guarded_Log Log;
  ASSERT_TRUE(Log.Open(Product, true));
  Write(Log, 1, 4);
  EXPECT_FALSE(Log.Is_Active());
  std::filesystem::remove(Previous_Path);
  Write(Log, 5, 6);
  EXPECT_EQ(Masked(Scratch.Read("run.log")), Joined(Records("", 1, 3)));
  EXPECT_FALSE(Scratch.Has("run_2.log"));
}

TEST_F(Logger_Test, APointInAFolderNameIsLeftAloneByTheRotation) {
  Scratch.Make_Folder("my.logs");
  const std::string Path = Scratch / "my.logs/run";
  User().Set_String("Log", Path);
  User().Set_Dword("Log Limit", 3);
  {
    Log::Guarded_Log Log;
    ASSERT_TRUE(Log.Open(Product, false));
    Write(Log, 1, 5);
    EXPECT_TRUE(Log.Is_Active());
  }
  const Strings Notices = Rotation_Notices(3, Path + "_2");
  EXPECT_EQ(Masked(Scratch.Read("my.logs/run")), Joined(Plus(Notices, {" ~ => r5"})));
  EXPECT_EQ(Masked(Scratch.Read("my.logs/run_2")), Joined(Plus(Notices, {" ~ => r4"})));
  EXPECT_FALSE(Scratch.Has("my_2.logs"));
}

TEST_F(Logger_Test, TheRegistryPositionComesBackAfterTheOpening) {
  User().Set_String("Log", Log_Path);
  namespace Registry = Windows::Registry;
  Registry::Set_Root(Root_Key::User);
  Registry::Open_Key("SOFTWARE\\Tallowmere");
  {
    Log::Guarded_Log Log;
    ASSERT_TRUE(Log.Open(Product, false));
  }
  EXPECT_EQ(Registry::Get_Root(), Root_Key::User);
  EXPECT_EQ(Registry::Current_Key_Name(), u"Software\\Tallowmere");
  if (Machine() != nullptr) {
    Registry::Set_Root(Root_Key::Machine);
    Log::Guarded_Log Log;
    ASSERT_TRUE(Log.Open(Product, false));
    EXPECT_EQ(Registry::Get_Root(), Root_Key::Machine);
    EXPECT_EQ(Registry::Current_Key_Name(), u"");
  }
  Registry::Set_Root(Root_Key::User);
}

}  // namespace
