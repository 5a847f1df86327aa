// The real program, run as a user runs it: what reaches standard output,
// byte for byte, and the exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "files.h"
#include "path_style.h"
#include "run_program.h"
#include "run_support.h"
#include "scratch.h"
#include "scripted.h"

namespace {

using Test_Support::Lines;
using Test_Support::Run_Program;

const bool Posix = Windows::Native_Style == Windows::Path_Style::Posix;
const char Sep = Windows::Separator(Windows::Native_Style);

std::string Quorvel() {
  return Test_Support::Program_In_Bin(Posix ? "quorvel" : "Quorvel");
}

TEST(Program, PrintsTheUsageWithCrLfAndSucceeds) {
  const auto Result = Run_Program(Quorvel(), {});
  EXPECT_EQ(Result.Output,
            Lines({"Quorvel [<configuration>] <Source> [<Destination>] [Overwrite]",
                   "   <configuration> = name of file describing options, default Quorvel.ini",
                   std::string("   <Source> = name of file to format or <folder>") + Sep +
                       "* to format all Ada files in folder",
                   "   <Destination> = Folder in which to write formatted files",
                   "   Overwrite = Keyword signifying that source files may be overwritten"}));
  EXPECT_EQ(Result.Status, 0);
}

TEST(Program, AnArgumentErrorIsOneLineAndStatusOne) {
  const auto Result = Run_Program(Quorvel(), {"x*", "y*"});
  EXPECT_EQ(Result.Output, "Multiple source folder specified\r\n");
  EXPECT_EQ(Result.Status, 1);
}

TEST(Program, FormatsAFileStartingTheServerItself) {
  Test_Support::Scratch_Folder Scratch;
  Scratch.Write("a.adb", "procedure A is begin null; end A;\n");
  Scratch.Make_Folder("out");
  Test_Support::Scripted_Server Server;
  Server.Replies({"Ada 2012 reserved words", "."})
      .Replies({"Standard", "."})
      .Tokens({"5,1,PROCEDURE", "1,11,A", "3,1,", "4,1,END", "1,5,A", "5,6,;"});
  const std::string Ini = Server.Configuration(Scratch.Path(), {"Compiler=Ada2012"});
  const auto Result = Run_Program(Quorvel(), {Ini, Scratch / "a.adb", Scratch / "out"});
  const std::string Source = Windows::Files::Full_Name(Scratch / "a.adb");
  EXPECT_EQ(Result.Output, Lines({"Ada 2012 reserved words", "Configuration file: " + Ini,
                                  "Processing file: " + Source, "Filename has Style = Standard",
                                  "New file=" + (Scratch / "out") + Sep + "a.adb"}));
  EXPECT_EQ(Result.Status, 0);
  EXPECT_EQ(Scratch.Read("out/a.adb"), "procedure A\r\nend A;\r\n");
  EXPECT_EQ(Server.Record().back(), "<end>");
}

// A configuration named without a folder and found only beside the program
// is the configuration in both passes over the arguments, not an
// unrecognised word in the second.
TEST(Program, AConfigurationBesideTheProgramIsTakenByItsBareName) {
  Test_Support::Scratch_Folder Scratch;
  Scratch.Write("a.adb", "procedure A is begin null; end A;\n");
  Scratch.Make_Folder("out");
  Scratch.Make_Folder("bin");
  const std::string Copy =
      Scratch / ("bin/" + std::filesystem::path(Quorvel()).filename().string());
  std::filesystem::copy_file(Quorvel(), Copy);
  Test_Support::Scripted_Server Server;
  Server.Replies({"Standard", "."}).Tokens({"1,1,A"});
  const std::string Bare =
      std::filesystem::path(Server.Configuration(Scratch / "bin")).filename().string();
  ASSERT_FALSE(Windows::Files::Exists(Bare)) << "must not exist in the current folder";
  const auto Result = Run_Program(Copy, {Bare, Scratch / "a.adb", Scratch / "out"});
  EXPECT_EQ(Result.Status, 0) << Result.Output;
  // The program names its own folder as the system gives it.
  EXPECT_EQ(Result.Output.rfind("Configuration file: ", 0), 0u) << Result.Output;
  EXPECT_NE(Result.Output.find(Sep + Bare + "\r\n"), std::string::npos) << Result.Output;
  EXPECT_EQ(Scratch.Read("out/a.adb"), "A\r\n");
}

}  // namespace
