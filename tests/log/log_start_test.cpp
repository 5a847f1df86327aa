// The program's start around the log, and the records the other packages
// write through the log interface as they appear in the file.
#include <gtest/gtest.h>

#include "console.h"
#include "log.h"
#include "log_file.h"
#include "log_reading.h"
#include "module.h"
#include "pipe.h"
#include "registry.h"
#include "registry_setting.h"
#include "scratch.h"

namespace {

using Test_Support::Joined;
using Test_Support::Masked;

TEST(Start_And_Run, AMissingOwnModuleEndsTheRunWithOneLineAndStatusOne) {
  Windows::Console::Capture Console;
  bool Ran = false;
  const int Status = Log::Start_And_Run(
      [&] {
        Ran = true;
        return 0;
      },
      [] { throw Windows::No_Module_Information(); });
  EXPECT_EQ(Status, 1);
  EXPECT_FALSE(Ran);
  EXPECT_EQ(Console.Text(), std::string(Log::No_Module_Message) + "\r\n");
}

TEST(Start_And_Run, OtherwiseRunsTheMainProcedureAndKeepsItsStatus) {
  Windows::Console::Capture Console;
  int Started = 0;
  EXPECT_EQ(Log::Start_And_Run([] { return 7; }, [&] { ++Started; }), 7);
  EXPECT_EQ(Started, 1);
  EXPECT_EQ(Console.Text(), "");
}

Log::Guarded_Log* Test_Log = nullptr;
void Put_To_Test_Log(std::string_view Text) {
  Test_Log->Put(Text);
}

TEST(Log_Interface, EveryPackagesRecordsReachTheFileAsWritten) {
  Test_Support::Scratch_Folder Scratch;
  const std::string Product = Test_Support::Unique_Product_Name();
  Test_Support::Registry_Setting Key(Windows::Registry::Root_Key::User,
                                     "Software\\Tallowmere\\" + Product);
  Key.Set_String("Log", Scratch / "run.log");
  {
    Log::Guarded_Log Log;
    Log.Open(Product, false);
    Test_Log = &Log;
    Log::Install_Writer(Put_To_Test_Log);
    Log::Write("Write to Server=OC:\\src\\a.adb");
    Log::Write("Reply from Server=Compiler is Ada2012");
    Log::Write("Bad Token, Id = 112");
    EXPECT_THROW(Windows::Pipe::Raise_Error(0), Windows::Pipe::Broken);
    EXPECT_THROW(Windows::Pipe::Raise_Error(1450), Windows::Pipe::Unknown_Error);
    try {
      throw Windows::Registry::Overflow("value too long");
    } catch (...) {
      Log::Exception("Quorvel", std::current_exception());
    }
    Log::Install_Writer(nullptr);
    Log::Write("after the writer is gone");
  }
  EXPECT_EQ(
      Masked(Scratch.Read("run.log")),
      Joined({" ~ => Write to Server=OC:\\src\\a.adb",
              " ~ => Reply from Server=Compiler is Ada2012", " ~ => Bad Token, Id = 112",
              " ~ => Windows.Pipe - No Error", " ~ => Windows.Pipe - Unknown_Error: 1450",
              " ~ => Quorvel: Exception = WINDOWS.REGISTRY.OVERFLOW (named) value too long"}));
}

}  // namespace
