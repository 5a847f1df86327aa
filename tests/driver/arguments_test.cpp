// The command line: both passes over the arguments and every message that
// ends a run before anything is formatted, byte for byte.
#include <gtest/gtest.h>

#include "console.h"
#include "path_style.h"
#include "quorvel.h"
#include "scratch.h"

namespace {

using Test_Support::Scratch_Folder;

struct Outcome {
  std::string Console;
  int Status;
};

Outcome Run_Quorvel(const std::vector<std::string>& Arguments) {
  Windows::Console::Capture Capture;
  const int Status = Quorvel::Main(Arguments);
  return {Capture.Text(), Status};
}

const bool Posix = Windows::Native_Style == Windows::Path_Style::Posix;

TEST(Command_Line, NoArgumentsPrintsTheFiveUsageLines) {
  const Outcome Result = Run_Quorvel({});
  const std::string Folder_Form = Posix ? "<folder>/*" : "<folder>\\*";
  EXPECT_EQ(Result.Console,
            "Quorvel [<configuration>] <Source> [<Destination>] [Overwrite]\r\n"
            "   <configuration> = name of file describing options, default Quorvel.ini\r\n"
            "   <Source> = name of file to format or " +
                Folder_Form +
                " to format all Ada files in folder\r\n"
                "   <Destination> = Folder in which to write formatted files\r\n"
                "   Overwrite = Keyword signifying that source files may be overwritten\r\n");
  EXPECT_EQ(Result.Status, 0);
}

// Each row: the arguments (with "@" standing for the scratch folder and
// its separator) and the one line the run ends with.
struct Argument_Case {
  std::vector<std::string> Arguments;
  std::string Line;
};

class Argument_Error : public testing::TestWithParam<Argument_Case> {};

TEST_P(Argument_Error, EndsTheRunWithOneLine) {
  Scratch_Folder Scratch;
  Scratch.Write("a.adb", "procedure A is begin null; end A;\n");
  Scratch.Write("b.adb", "procedure B is begin null; end B;\n");
  Scratch.Make_Folder("out");
  Scratch.Make_Folder("out2");
  std::vector<std::string> Arguments;
  for (const std::string& A : GetParam().Arguments) {
    Arguments.push_back(A.rfind('@', 0) == 0 ? Scratch / A.substr(1) : A);
  }
  const Outcome Result = Run_Quorvel(Arguments);
  EXPECT_EQ(Result.Console, GetParam().Line + "\r\n");
  EXPECT_EQ(Result.Status, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Argument_Error,
    testing::Values(Argument_Case{{"x*", "y*"}, "Multiple source folder specified"},
                    Argument_Case{{"@none/*", "@out", "*"}, "Multiple source folder specified"},
                    Argument_Case{{"@out", "@out2"}, "Multiple destination folders specified"},
                    Argument_Case{{"@a.adb", "@b.adb", "@out"}, "Multiple source files specified"},
                    Argument_Case{{"@a.adb", "@out", "word"}, "Unrecognised parameter - word"},
                    Argument_Case{{"@a.adb", "@out", ""}, "Unrecognised parameter - "},
                    Argument_Case{{"@a.adb", "@out", "w\x1b]0;x\x07\r\x7f"},
                                  "Unrecognised parameter - w?]0;x???"},
                    Argument_Case{{"@a.adb"},
                                  "Feature to overwrite original source not yet implemented!"},
                    Argument_Case{{"@a.adb", "OverWrite"},
                                  "Feature to overwrite original source not yet implemented!"},
                    Argument_Case{{"@a.adb", "@out"}, "Configuration file missing"},
                    Argument_Case{{"@a.adb", "@out", "overwrite"}, "Configuration file missing"},
                    Argument_Case{{"@a.adb", "@out", "OVERWRITE"}, "Configuration file missing"},
                    Argument_Case{{"@out/", "@a.adb"}, "Configuration file missing"}));

}  // namespace
