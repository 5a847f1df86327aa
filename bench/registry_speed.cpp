// Reading a registry file as a run reads the user's one: the whole file read
// and the log's key found in it (the log's start does this once a run). The file holds 100,000
// keys, a whole export of a Windows registry, once as 8-bit text and once as regedit writes it
// (UTF-16LE).
#include <benchmark/benchmark.h>

#include <fstream>
#include <stdexcept>
#include <string_view>

#include "collector.h"
#include "measures.h"
#include "registry_text.h"
#include "wide.h"

namespace Bench {

namespace {

constexpr std::size_t Keys = 100000;
constexpr std::string_view Log_Key = "Software\\Tallowmere\\Quorvel";

// Keys below a few hundred vendors and products, each with a string and a
// number; every tenth with binary data over two lines. The log's key last.
std::string Export_Text() {
  std::string Text = "Windows Registry Editor Version 5.00\r\n\r\n";
  for (std::size_t K = 0; K + 1 < Keys; ++K) {
    const std::string Number = std::to_string(K);
    Text += "[HKEY_CURRENT_USER\\Software\\Vendor" + std::to_string(K % 97) + "\\Product" +
            std::to_string(K % 1013) + "\\Key" + Number + "]\r\n\"Name\"=\"Value of key " + Number +
            "\"\r\n\"Count\"=dword:000186a0\r\n";
    if (K % 10 == 0) {
      Text +=
          "\"Data\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,\\\r\n"
          "  15,16,17,18,19,1a,1b,1c\r\n";
    }
    Text += "\r\n";
  }
  return Text + "[HKEY_CURRENT_USER\\" + std::string(Log_Key) +
         "]\r\n\"Log\"=\"/var/log/quorvel.log\"\r\n";
}

std::size_t Write_File(const std::string& Path, const std::string& Content) {
  std::ofstream Output(Path, std::ios::binary | std::ios::trunc);
  Output.write(Content.data(), static_cast<std::streamsize>(Content.size()));
  if (!Output) {
    throw std::runtime_error("cannot write " + Path);
  }
  return Content.size();
}

void Register(const std::string& Name, const std::string& File, const std::string& Text) {
  using Windows::Registry::Hive;
  if (Hive::Parse(Text, "HKEY_CURRENT_USER").Keys().size() != Keys ||
      !Hive::Read_Key(File, "HKEY_CURRENT_USER", Log_Key)) {
    throw std::runtime_error("the registry file " + File + " does not read back whole");
  }
  benchmark::RegisterBenchmark(Name.c_str(),
                               [File](benchmark::State& State) {
                                 for (auto _ : State) {
                                   const auto Key =
                                       Hive::Read_Key(File, "HKEY_CURRENT_USER", Log_Key);
                                   benchmark::DoNotOptimize(Key);
                                 }
                                 State.SetItemsProcessed(State.iterations());
                               })
      ->UseRealTime()
      ->MinTime(2.0)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

Registry_Reads Registry_Read_Seconds(const std::string& Folder) {
  const std::string Text = Export_Text();
  Registry_Reads Result;
  Result.Keys = Keys;
  Result.Eight_Bit_Bytes = Write_File(Folder + "/user-8-bit.reg", Text);
  Result.Wide_Bytes = Write_File(Folder + "/user-utf-16.reg",
                                 "\xFF\xFE" + Windows::Bytes_Of(Windows::To_UTF_16(Text)));
  Register("Registry/8-bit", Folder + "/user-8-bit.reg", Text);
  Register("Registry/UTF-16LE", Folder + "/user-utf-16.reg", Text);
  const auto Runs = Run_Registered("Registry");
  // Times per iteration in the benchmarks' unit, milliseconds.
  Result.Eight_Bit_Seconds = Runs.at(0).GetAdjustedCPUTime() / 1000;
  Result.Eight_Bit_Elapsed = Runs.at(0).GetAdjustedRealTime() / 1000;
  Result.Wide_Seconds = Runs.at(1).GetAdjustedCPUTime() / 1000;
  Result.Wide_Elapsed = Runs.at(1).GetAdjustedRealTime() / 1000;
  return Result;
}

}  // namespace Bench
