// Runs registered Google Benchmark benchmarks and keeps their results, for
// the table quorvel-bench prints instead of the library's own report.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace Bench {

/// Runs every registered benchmark whose name starts with Name_Prefix, then
/// forgets them all. Returns one result per run; throws std::runtime_error
/// when a run failed or none ran.
std::vector<benchmark::BenchmarkReporter::Run> Run_Registered(const std::string& Name_Prefix);

/// Counter Name of Run (a rate when the benchmark set one).
double Counter(const benchmark::BenchmarkReporter::Run& Run, const std::string& Name);

}  // namespace Bench
