// Log::Write through the log file, rotating at the default record limit,
// from 1 and from 8 threads.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "collector.h"
#include "held_signals.h"
#include "log.h"
#include "log_file.h"
#include "measures.h"
#include "module.h"
#include "registry_setting.h"

namespace Bench {

namespace {

// As long as the trace of a token request, the log's commonest record.
constexpr std::string_view Record = "Write to Server=N";

// Starts this program's log at Log_File: the settings are in the registry
// key of this program's name only while the log reads them.
void Start_Log(const std::string& Log_File) {
  const Held_Signals Held;
  const Windows::Module_Entry Own =
      Windows::Module_Containing(reinterpret_cast<std::uintptr_t>(&Log::Start));
  Test_Support::Registry_Setting Key(Windows::Registry::Root_Key::User,
                                     "Software\\Tallowmere\\" + Windows::Module_Name(Own));
  Key.Set_String("Log", Log_File);
  Key.Set_Dword("Log Limit", Log::Default_Limit);
  Log::Start(false);
}

}  // namespace

Log_Rates Log_Write_Rates(const std::string& Log_File) {
  Start_Log(Log_File);
  if (!Log::Logger.Is_Active()) {
    throw std::runtime_error("the log did not start at " + Log_File);
  }
  benchmark::RegisterBenchmark("Log",
                               [](benchmark::State& State) {
                                 for (auto _ : State) {
                                   Log::Write(Record);
                                 }
                                 State.SetItemsProcessed(State.iterations());
                               })
      ->Threads(1)
      ->Threads(8)
      ->UseRealTime()
      ->MinTime(2.0);
  const auto Runs = Run_Registered("Log");
  const std::string Previous = Log::Previous_Name(Log_File, Windows::Native_Style);
  if (!Log::Logger.Is_Active() || !std::filesystem::exists(Previous) || Runs.size() != 2) {
    throw std::runtime_error("the log switched itself off or never rotated: " + Log_File);
  }
  return {Counter(Runs[0], "items_per_second"), Counter(Runs[1], "items_per_second")};
}

}  // namespace Bench
