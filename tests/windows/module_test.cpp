// Module queries: the program's own file and folder, the address rule of the
// module walk, and executable against shared library.
#include "module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using Windows::Module_Entry;

std::vector<Module_Entry> All_Modules() {
  std::vector<Module_Entry> Modules;
  Windows::Walk_Modules(0, [&](const Module_Entry& Entry) {
    Modules.push_back(Entry);
    return true;
  });
  return Modules;
}

std::uintptr_t Own_Code() {
  return reinterpret_cast<std::uintptr_t>(&All_Modules);
}

TEST(Module_Directory, IsTheFolderOfThisTestProgram) {
  const std::string Folder = Windows::Module_Directory();
  ASSERT_FALSE(Folder.empty());
  EXPECT_EQ(Folder.back(), Windows::Separator(Windows::Native_Style));
  const std::string Suffix = Windows::Native_Style == Windows::Path_Style::Windows ? ".exe" : "";
  EXPECT_TRUE(std::filesystem::is_regular_file(Folder + "windows_test" + Suffix)) << Folder;
}

TEST(Module_Directory, FolderOfKeepsEverythingUpToTheLastSeparatorOfTheStyle) {
  using Windows::Folder_Of;
  using Windows::Path_Style;
  EXPECT_EQ(Folder_Of("C:\\Tools\\prog.exe", Path_Style::Windows), "C:\\Tools\\");
  EXPECT_EQ(Folder_Of("C:\\My.Tools\\sub/prog.exe", Path_Style::Windows), "C:\\My.Tools\\");
  EXPECT_EQ(Folder_Of("prog.exe", Path_Style::Windows), "");
  EXPECT_EQ(Folder_Of("", Path_Style::Windows), "");
  EXPECT_EQ(Folder_Of("/usr/bin/quorvel", Path_Style::Posix), "/usr/bin/");
  EXPECT_EQ(Folder_Of("/quorvel", Path_Style::Posix), "/");
  EXPECT_EQ(Folder_Of("a\\b", Path_Style::Posix), "");
}

TEST(Module_Containing, FindsTheExecutableForItsOwnCode) {
  const Module_Entry Own = Windows::Module_Containing(Own_Code());
  const Module_Entry First = Windows::First_Module(0);
  EXPECT_EQ(Own.Handle, First.Handle);
  EXPECT_EQ(Windows::Module_Name(Own), "windows_test");
  EXPECT_EQ(Windows::Module_Path(Own), Windows::Module_File_Name(Own));
  EXPECT_TRUE(std::filesystem::equivalent(Windows::Module_Path(Own),
                                          Windows::Module_Directory() + Own.Module));
  EXPECT_LE(Own.Base_Address, Own_Code());
  EXPECT_FALSE(Windows::Is_DLL(Own.Handle));
}

TEST(Module_Containing, BothBoundsOfEveryImageBelongToTheFirstModuleHoldingThem) {
  const std::vector<Module_Entry> Modules = All_Modules();
  ASSERT_GE(Modules.size(), 2u) << "the system libraries are modules too";
  for (const Module_Entry& Module : Modules) {
    EXPECT_EQ(Windows::Module_Containing(Module.Base_Address).Handle, Module.Handle)
        << Module.Exe_Path;
    const std::uintptr_t End = Module.Base_Address + Module.Base_Size;
    const Module_Entry* Expected = nullptr;
    for (const Module_Entry& Earlier : Modules) {
      if (Earlier.Base_Address <= End && End <= Earlier.Base_Address + Earlier.Base_Size) {
        Expected = &Earlier;
        break;
      }
    }
    ASSERT_NE(Expected, nullptr);
    EXPECT_EQ(Windows::Module_Containing(End).Handle, Expected->Handle) << Module.Exe_Path;
  }
}

TEST(Module_Containing, AnAddressInNoModuleRaises) {
  EXPECT_THROW(Windows::Module_Containing(16), Windows::No_Module_Information);
}

TEST(Is_DLL, EveryModuleButTheExecutableIsALibrary) {
  const std::vector<Module_Entry> Modules = All_Modules();
  ASSERT_GE(Modules.size(), 2u);
  EXPECT_FALSE(Windows::Is_DLL(Modules.front().Handle));
  for (std::size_t I = 1; I < Modules.size(); ++I) {
    EXPECT_TRUE(Windows::Is_DLL(Modules[I].Handle)) << Modules[I].Exe_Path;
  }
}

TEST(Module_Name, DropsOnlyTheLastExtension) {
  const auto Name = [](const char* File) {
    Module_Entry Entry;
    Entry.Module = File;
    return Windows::Module_Name(Entry);
  };
  EXPECT_EQ(Name("run.exe"), "run");
  EXPECT_EQ(Name("run"), "run");
  EXPECT_EQ(Name("lib.core.dll"), "lib.core");
  EXPECT_EQ(Name(".hidden"), "");
}

}  // namespace
