// Version strings read back from real program files: Quorvel itself, and
// small programs built with some, none, or another translation of them.
#include "version.h"

#include <gtest/gtest.h>

#include "module.h"
#include "run_program.h"
#include "scratch.h"

namespace {

namespace Version = Windows::Version;
using Test_Support::Program_Beside_Tests;

class Version_Strings : public testing::Test {
 protected:
  void TearDown() override { Version::Set_Translation(0x040904E4); }
};

TEST_F(Version_Strings, QuorvelCarriesItsNameAndTheProjectVersion) {
  const std::string Quorvel = Test_Support::Program_In_Bin("quorvel");
  EXPECT_EQ(Version::String_Value("ProductName", Quorvel), "Quorvel");
  EXPECT_EQ(Version::String_Value("ProductVersion", Quorvel), QUORVEL_TEST_PROJECT_VERSION);
  EXPECT_EQ(Version::Query("\\StringFileInfo\\040904E4\\ProductName", Quorvel).substr(0, 8),
            std::string("Quorvel\0", 8));
  EXPECT_THROW(Version::String_Value("CompanyName", Quorvel), Version::No_Version_Info);
}

TEST_F(Version_Strings, AFileWithoutThemHasNoVersionInformation) {
  EXPECT_THROW(Version::Product_Name(), Version::No_Version_Info);
  EXPECT_THROW(Version::Product_Version(), Version::No_Version_Info);
  EXPECT_EQ(Version::Own_Module_Path(), Windows::Module_Path(Windows::First_Module(0)));
  EXPECT_THROW(Version::String_Value("ProductName", Program_Beside_Tests("log_probe")),
               Version::No_Version_Info);
  Test_Support::Scratch_Folder Scratch;
  Scratch.Write("text.exe", std::string(4000, 'x'));
  for (const std::string& File : {Scratch / "text.exe", Scratch / "missing.exe", Scratch.Path()}) {
    EXPECT_THROW(Version::String_Value("ProductName", File), Version::No_Version_Info) << File;
  }
}

TEST_F(Version_Strings, ANameWithoutAVersionGivesOnlyTheName) {
  const std::string Probe = Program_Beside_Tests("log_probe_named");
  EXPECT_EQ(Version::String_Value("ProductName", Probe), "Quorvel Probe");
  EXPECT_THROW(Version::String_Value("ProductVersion", Probe), Version::No_Version_Info);
}

TEST_F(Version_Strings, AnEmptyValueIsTheEmptyString) {
  const std::string Probe = Program_Beside_Tests("log_probe_versioned");
  EXPECT_EQ(Version::String_Value("ProductName", Probe), "Quorvel Probe Versioned");
  EXPECT_EQ(Version::String_Value("FileDescription", Probe), "");
  EXPECT_EQ(Version::String_Value("ProductVersion", Probe), "2.5.1");
  // 1001 characters: refused as out of range, not as missing.
  EXPECT_THROW(Version::String_Value("Comments", Probe), Constraint_Error);
}

TEST_F(Version_Strings, AnotherTranslationIsReadOnlyOnceItIsSelected) {
  const std::string Probe = Program_Beside_Tests("log_probe_unicode");
  EXPECT_EQ(Version::String_Path("ProductName"), "\\StringFileInfo\\040904E4\\ProductName");
  EXPECT_THROW(Version::String_Value("ProductName", Probe), Version::No_Version_Info);
  Version::Set_Translation(0x040904B0);
  EXPECT_EQ(Version::String_Path("ProductName"), "\\StringFileInfo\\040904B0\\ProductName");
  EXPECT_EQ(Version::String_Value("ProductName", Probe), "Quorvel Probe Unicode");
}

}  // namespace
