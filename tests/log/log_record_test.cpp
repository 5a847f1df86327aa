// The log's record line and the previous file's name.
#include <gtest/gtest.h>

#include "log_file.h"

namespace {

using Windows::Path_Style;
using Windows::System_Time;

System_Time At(std::uint16_t Hour, std::uint16_t Minute, std::uint16_t Second,
               std::uint16_t Milliseconds) {
  return System_Time{2026, 12, 2, 8, Hour, Minute, Second, Milliseconds};
}

struct Record_Case {
  System_Time Time;
  std::uint32_t Thread;
  std::string_view Text;
  std::string_view Line;
};

class Record_Lines : public testing::TestWithParam<Record_Case> {};

TEST_P(Record_Lines, AreTheTimeOfDayTheThreadAndTheText) {
  const Record_Case& C = GetParam();
  EXPECT_EQ(Log::Record_Line(C.Time, C.Thread, C.Text), C.Line);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Record_Lines,
    testing::Values(Record_Case{At(0, 0, 5, 250), 0x0A3C, "Ready", " 5.2500 (0A3C) => Ready"},
                    Record_Case{At(0, 0, 0, 0), 0xF4, "", " 0.0000 (00F4) => "},
                    Record_Case{At(0, 0, 0, 7), 0, "x", " 0.0070 (0000) => x"},
                    Record_Case{At(23, 59, 59, 999), 0xFFFF, "last", " 86399.9990 (FFFF) => last"},
                    Record_Case{At(16, 48, 9, 40), 0xBEEF, "Write to Server=C",
                                " 60489.0400 (BEEF) => Write to Server=C"},
                    // Identifiers above FFFF (common on Linux) keep all their digits.
                    Record_Case{At(1, 0, 0, 0), 0x12345, "t", " 3600.0000 (12345) => t"},
                    Record_Case{At(1, 0, 0, 0), 0xFFFFFFFF, "t", " 3600.0000 (FFFFFFFF) => t"},
                    Record_Case{At(1, 0, 0, 0), 0x100000, " (0001) => ",
                                " 3600.0000 (100000) =>  (0001) => "}));

struct Previous_Case {
  std::string_view Path;
  Path_Style Style;
  std::string_view Previous;
};

class Previous_Names : public testing::TestWithParam<Previous_Case> {};

TEST_P(Previous_Names, TakeTwoBeforeTheLastDotOfTheFilesOwnName) {
  const Previous_Case& C = GetParam();
  EXPECT_EQ(Log::Previous_Name(C.Path, C.Style), C.Previous);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Previous_Names,
    testing::Values(Previous_Case{"C:\\Logs\\run.log", Path_Style::Windows, "C:\\Logs\\run_2.log"},
                    Previous_Case{"C:\\Logs\\run", Path_Style::Windows, "C:\\Logs\\run_2"},
                    // A point in a folder name is never used.
                    Previous_Case{"C:\\My.Logs\\run", Path_Style::Windows, "C:\\My.Logs\\run_2"},
                    Previous_Case{"C:\\My.Logs/run", Path_Style::Windows, "C:\\My.Logs/run_2"},
                    Previous_Case{"C:\\My.Logs\\run.old.log", Path_Style::Windows,
                                  "C:\\My.Logs\\run.old_2.log"},
                    Previous_Case{"run.log", Path_Style::Windows, "run_2.log"},
                    Previous_Case{"/var/my.logs/run", Path_Style::Posix, "/var/my.logs/run_2"},
                    Previous_Case{"/var/logs/run.log", Path_Style::Posix, "/var/logs/run_2.log"},
                    Previous_Case{"/var/my.logs/.hidden", Path_Style::Posix,
                                  "/var/my.logs/_2.hidden"},
                    Previous_Case{"a\\b.c", Path_Style::Posix, "a\\b_2.c"}));

}  // namespace
