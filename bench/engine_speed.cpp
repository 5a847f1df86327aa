// The formatting engine alone (lexing and layout, no pipe) on one core.
#include <benchmark/benchmark.h>

#include "collector.h"
#include "formatter.h"
#include "measures.h"

namespace Bench {

double Engine_Bytes_Per_Second(const std::vector<std::string>& Sources) {
  std::size_t Total = 0;
  for (const std::string& Source : Sources) {
    Total += Source.size();
  }
  benchmark::RegisterBenchmark(
      "Engine",
      [&Sources, Total](benchmark::State& State) {
        const Formatter::Settings Defaults;
        for (auto _ : State) {
          for (const std::string& Source : Sources) {
            const Formatter::Result Formatted = Formatter::Format(Source, Defaults);
            benchmark::DoNotOptimize(Formatted.Tokens.data());
          }
        }
        State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Total));
      })
      ->MinTime(3.0)
      ->Unit(benchmark::kMillisecond);
  return Counter(Run_Registered("Engine").front(), "bytes_per_second");
}

}  // namespace Bench
