// Windows::Pipe's portable rules: the table from Windows error codes to
// exceptions (with their log records) and time-outs in milliseconds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "log_capture.h"
#include "named_error.h"
#include "pipe.h"

namespace {

namespace Pipe = Windows::Pipe;

struct Error_Case {
  std::uint32_t Code;
  std::string_view Exception;
  std::vector<std::string> Records;
};

class Pipe_Raise_Error : public testing::TestWithParam<Error_Case> {};

TEST_P(Pipe_Raise_Error, RaisesTheNamedExceptionAndLogsOnlyTheUnexpected) {
  const Error_Case& C = GetParam();
  const Log_Capture Log;
  std::string Raised = "nothing";
  try {
    Pipe::Raise_Error(C.Code);
  } catch (const Pipe::Error& Failure) {
    Raised = Failure.name();
  }
  EXPECT_EQ(Raised, C.Exception);
  EXPECT_EQ(Log.Records(), C.Records);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Pipe_Raise_Error,
    testing::Values(
        Error_Case{2, "WINDOWS.PIPE.NO_SERVER", {}},
        Error_Case{5, "WINDOWS.PIPE.ACCESS_DENIED", {}}, Error_Case{109, "WINDOWS.PIPE.BROKEN", {}},
        Error_Case{123, "WINDOWS.PIPE.INVALID_NAME", {}},
        Error_Case{230, "WINDOWS.PIPE.BAD_PIPE", {}},
        Error_Case{231, "WINDOWS.PIPE.NAME_IN_USE", {}},
        Error_Case{232, "WINDOWS.PIPE.NO_DATA", {}}, Error_Case{233, "WINDOWS.PIPE.NO_SERVER", {}},
        Error_Case{234, "WINDOWS.PIPE.MORE_DATA", {}},
        Error_Case{0, "WINDOWS.PIPE.BROKEN", {"Windows.Pipe - No Error"}},
        Error_Case{997, "WINDOWS.PIPE.UNKNOWN_ERROR", {"Windows.Pipe - Unknown_Error: 997"}},
        Error_Case{535, "WINDOWS.PIPE.UNKNOWN_ERROR", {"Windows.Pipe - Unknown_Error: 535"}},
        Error_Case{4294967295u,
                   "WINDOWS.PIPE.UNKNOWN_ERROR",
                   {"Windows.Pipe - Unknown_Error: 4294967295"}}));

struct Milliseconds_Case {
  double Seconds;
  std::uint32_t Expected;
};

class Pipe_Milliseconds : public testing::TestWithParam<Milliseconds_Case> {};

TEST_P(Pipe_Milliseconds, RoundsHalfUp) {
  EXPECT_EQ(Pipe::Milliseconds(GetParam().Seconds), GetParam().Expected) << GetParam().Seconds;
}

INSTANTIATE_TEST_SUITE_P(Table, Pipe_Milliseconds,
                         testing::Values(Milliseconds_Case{0.0, 0xFFFFFFFFu},
                                         Milliseconds_Case{1.0, 1000}, Milliseconds_Case{2.5, 2500},
                                         Milliseconds_Case{0.0005, 1}, Milliseconds_Case{0.0004, 0},
                                         Milliseconds_Case{0.25, 250},
                                         Milliseconds_Case{-0.0004, 0},
                                         Milliseconds_Case{4294967.2949, 4294967295u}));

TEST(Pipe_Milliseconds, OutsideTheRangeIsARangeError) {
  for (const double Seconds :
       {-0.001, -1.0, 4294967.296, 1e12, std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_THROW(Pipe::Milliseconds(Seconds), Constraint_Error) << Seconds;
  }
}

}  // namespace
