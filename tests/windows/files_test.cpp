// Windows::Files against real files and folders on the platform it runs on.
#include "files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "scratch.h"

namespace {

using Test_Support::Scratch_Folder;
namespace Files = Windows::Files;

TEST(Files_Exists, TellsFilesFromFoldersAndAbsence) {
  Scratch_Folder Scratch;
  Scratch.Write("a.adb", "x");
  Scratch.Make_Folder("sub");
  EXPECT_TRUE(Files::Exists(Scratch / "a.adb"));
  EXPECT_FALSE(Files::Is_Directory(Scratch / "a.adb"));
  EXPECT_FALSE(Files::Exists(Scratch / "sub"));
  EXPECT_TRUE(Files::Is_Directory(Scratch / "sub"));
  EXPECT_FALSE(Files::Exists(Scratch / "none"));
  EXPECT_FALSE(Files::Is_Directory(Scratch / "none"));
  EXPECT_FALSE(Files::Exists(""));
  EXPECT_FALSE(Files::Exists(Scratch / "a.adb/x"));
}

TEST(Files_Get_Attributes, ReportsSizeAndRaisesForAbsence) {
  Scratch_Folder Scratch;
  Scratch.Write("five", "12345");
  const Files::Information Info = Files::Get_Attributes(Scratch / "five");
  EXPECT_EQ(Info.Size, 5u);
  EXPECT_EQ(Info.Attributes & Files::Directory_Attribute, 0u);
  EXPECT_NE(Info.Last_Write_Time.High, 0u);
  EXPECT_THROW(Files::Get_Attributes(Scratch / "none"), Files::File_Not_Found);
}

TEST(Files_Delete, AbsentFileIsNoErrorButAbsentFolderIs) {
  Scratch_Folder Scratch;
  Scratch.Write("a", "x");
  Files::Delete(Scratch / "a");
  EXPECT_FALSE(Scratch.Has("a"));
  EXPECT_NO_THROW(Files::Delete(Scratch / "a"));
  EXPECT_THROW(Files::Delete(Scratch / "nofolder/a"), Files::Access_Denied);
  Scratch.Make_Folder("sub");
  EXPECT_THROW(Files::Delete(Scratch / "sub"), Files::Access_Denied);
}

TEST(Files_Move, ReplacesAnExistingTarget) {
  Scratch_Folder Scratch;
  Scratch.Write("from", "new");
  Scratch.Write("to", "old");
  Files::Move(Scratch / "from", Scratch / "to");
  EXPECT_EQ(Scratch.Read("to"), "new");
  EXPECT_FALSE(Scratch.Has("from"));
  EXPECT_THROW(Files::Move(Scratch / "from", Scratch / "to"), Files::File_Not_Found);
}

TEST(Files_Move_New, NeverReplacesAndSaysSo) {
  Scratch_Folder Scratch;
  Scratch.Write("from", "new");
  Scratch.Write("to", "theirs");
  EXPECT_THROW(Files::Move_New(Scratch / "from", Scratch / "to"), Files::Name_Taken);
  EXPECT_EQ(Scratch.Read("to"), "theirs");
  EXPECT_EQ(Scratch.Read("from"), "new");
  Files::Move_New(Scratch / "from", Scratch / "free");
  EXPECT_EQ(Scratch.Read("free"), "new");
  EXPECT_FALSE(Scratch.Has("from"));
  EXPECT_THROW(Files::Move_New(Scratch / "from", Scratch / "other"), Files::File_Not_Found);
}

TEST(Files_Create_New, RefusesATakenNameAndMayBeDeletedWhileOpen) {
  Scratch_Folder Scratch;
  Scratch.Write("taken", "theirs");
  bool Taken = false;
  EXPECT_EQ(Files::Create_New(Scratch / "taken", Taken), nullptr);
  EXPECT_TRUE(Taken);
  EXPECT_EQ(Scratch.Read("taken"), "theirs");
  std::FILE* File = Files::Create_New(Scratch / "mine", Taken);
  ASSERT_NE(File, nullptr);
  EXPECT_FALSE(Taken);
  EXPECT_GE(std::fputs("text", File), 0);
  // What an interrupt does while the run writes the file.
  EXPECT_NO_THROW(Files::Delete(Scratch / "mine"));
  std::fclose(File);
  EXPECT_FALSE(Scratch.Has("mine"));
  EXPECT_EQ(Files::Create_New(Scratch / "none/mine", Taken), nullptr);
  EXPECT_FALSE(Taken);
}

TEST(Files_Current_Directory, IsTheProcessFolderWithoutTrailingSeparator) {
  const std::string Current = Files::Current_Directory();
  ASSERT_FALSE(Current.empty());
  EXPECT_TRUE(std::filesystem::equivalent(Current, std::filesystem::current_path()));
  if (Current.size() > 3) {
    EXPECT_FALSE(Windows::Is_Separator(Current.back(), Windows::Native_Style));
  }
}

// A call that fills a buffer the way GetCurrentDirectoryA does: a text
// longer than the buffer leaves it unfilled and names the size it needs.
// The text may change between two calls (another thread changes folder).
TEST(Files_Filled_Text, ComesWholeFromABufferOfTheSizeTheCallAsksFor) {
  for (const std::size_t Length : {0u, 1u, 250u, 256u, 257u, 300u, 5000u}) {
    std::vector<std::string> Texts = {"C:\\" + std::string(Length, 'x')};
    Texts.push_back(Texts[0] + "\\longer than before");
    std::size_t Call = 0;
    const auto Fill = [&](std::uint32_t Size, char* Buffer) -> std::uint32_t {
      const std::string& Text = Texts[std::min(Call++, Texts.size() - 1)];
      if (Size <= Text.size()) {
        return static_cast<std::uint32_t>(Text.size() + 1);
      }
      std::copy(Text.begin(), Text.end(), Buffer);
      Buffer[Text.size()] = '\0';
      return static_cast<std::uint32_t>(Text.size());
    };
    const std::string Got = Files::Filled_Text(Fill, 260);
    EXPECT_EQ(Got, Texts[Call == 1 ? 0 : 1]) << Length;
  }
  EXPECT_EQ(Files::Filled_Text([](std::uint32_t, char*) { return 0u; }, 260), "");
}

TEST(Files_Entry_Name, GivesTheStoredNameOrQuestionMark) {
  Scratch_Folder Scratch;
  Scratch.Write("Main.adb", "x");
  EXPECT_EQ(Files::Entry_Name(Scratch / "Main.adb"), "Main.adb");
  EXPECT_EQ(Files::Entry_Name(Scratch / "missing.adb"), "?");
}

TEST(Files_Full_Name, RewritesARealPath) {
  Scratch_Folder Scratch;
  Scratch.Write("Src/Main.adb", "x");
  const std::string Full = Files::Full_Name(Scratch / "Src/./Main.adb");
  EXPECT_TRUE(std::filesystem::equivalent(Full, Scratch / "Src/Main.adb"));
  EXPECT_EQ(Full.substr(Full.size() - 12), Test_Support::Native("Src/Main.adb"));
  const std::string Missing = Files::Full_Name(Scratch / "Src/none/x.adb");
  EXPECT_EQ(Missing.substr(Missing.size() - 7), Test_Support::Native("Src/?/?"));
}

TEST(Files_Directory_Search, ListsMatchingNamesInAnyCase) {
  Scratch_Folder Scratch;
  for (const char* Name : {"a.adb", "b.ADS", "x.Ada", "d.txt", "x.adb2"}) {
    Scratch.Write(Name, "");
  }
  Scratch.Make_Folder("sub.ads");
  std::vector<std::string> Found;
  Files::Directory_Search Search(Scratch.Path(), "*.a*");
  for (std::string Name; Search.Next(Name);) {
    Found.push_back(Name);
  }
  std::sort(Found.begin(), Found.end());
  EXPECT_EQ(Found, (std::vector<std::string>{"a.adb", "b.ADS", "sub.ads", "x.Ada", "x.adb2"}));
}

TEST(Files_Directory_Search, AMissingFolderYieldsNothing) {
  Scratch_Folder Scratch;
  Files::Directory_Search Search(Scratch / "none", "*.a*");
  std::string Name;
  EXPECT_FALSE(Search.Next(Name));
}

}  // namespace
