// Google Benchmark's results collected instead of printed.
#include "collector.h"

#include <stdexcept>

namespace Bench {

namespace {

class Collector final : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& Runs) override {
    Found.insert(Found.end(), Runs.begin(), Runs.end());
  }
  std::vector<Run> Found;
};

}  // namespace

std::vector<benchmark::BenchmarkReporter::Run> Run_Registered(const std::string& Name_Prefix) {
  Collector Results;
  benchmark::RunSpecifiedBenchmarks(&Results, "^" + Name_Prefix);
  benchmark::ClearRegisteredBenchmarks();
  if (Results.Found.empty()) {
    throw std::runtime_error("no benchmark named " + Name_Prefix + " ran");
  }
  for (const auto& Run : Results.Found) {
    if (Run.error_occurred) {
      throw std::runtime_error(Run.benchmark_name() + ": " + Run.error_message);
    }
  }
  return Results.Found;
}

double Counter(const benchmark::BenchmarkReporter::Run& Run, const std::string& Name) {
  const auto Found = Run.counters.find(Name);
  if (Found == Run.counters.end()) {
    throw std::runtime_error(Run.benchmark_name() + " has no counter " + Name);
  }
  return Found->second.value;
}

}  // namespace Bench
