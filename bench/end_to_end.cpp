// Whole runs of quorvel over a sample of GNAT's runtime sources: the sample
// (links to the files where they are), one timed run, and the checks that
// the run wrote exactly what the formatting server's engine gives.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "child.h"
#include "formatter.h"
#include "gates.h"
#include "log_file.h"
#include "measures.h"
#include "run_program.h"
#include "scratch.h"

namespace fs = std::filesystem;

namespace Bench {

namespace {

void Write_Text(const std::string& Path, const std::string& Text) {
  std::ofstream Output(Path, std::ios::binary | std::ios::trunc);
  Output << Text;
  if (!Output) {
    throw std::runtime_error("cannot write " + Path);
  }
}

// The configuration of one run: a pipe of its own (Pipename), so that the
// run starts its own server and never meets the one of the run before.
std::string Write_Configuration(const Places& Where, const std::string& Tag,
                                const std::string& Pipename) {
  const std::string Path = Where.Scratch + "/quorvel-" + Tag + ".ini";
  Write_Text(Path, "[Quv_Client]\nPipename=" + Pipename +
                       "\nPipelength=1000\nServer=" + Where.Server + "\n");
  return Path;
}

void Check_Output(const Sample& Files, const std::string& Folder) {
  for (const auto& [Name, Text] : Files.Expected) {
    if (Gates::Read_File(Folder + "/" + Name) != Text) {
      throw std::runtime_error("quorvel wrote " + Name + " other than its server formats it");
    }
  }
}

// The log of a run holds a trace of its token requests (in the file, or in
// the previous file after a rotation).
void Check_Log(const std::string& Log_File) {
  const std::string Trace = "Write to Server=N\r\n";
  const fs::path Path(Log_File);
  const fs::path Previous(Log::Previous_Name(Log_File, Windows::Native_Style));
  if (Gates::Read_File(Path).find(Trace) == std::string::npos &&
      Gates::Read_File(Previous).find(Trace) == std::string::npos) {
    throw std::runtime_error("the run with the log on wrote no log at " + Log_File);
  }
  fs::remove(Path);
  fs::remove(Previous);
}

}  // namespace

Sample Make_Sample(const std::vector<std::string>& Files, std::size_t Every,
                   const std::string& Folder) {
  Sample Result;
  Result.Folder = Folder;
  fs::create_directories(Folder);
  const Formatter::Settings Defaults;
  for (std::size_t I = Every - 1; I < Files.size(); I += Every) {
    const std::string Source = Gates::Read_File(Files[I]);
    const Formatter::Result Formatted = Formatter::Format(Source, Defaults);
    if (!Formatted.Errors.empty()) {
      continue;
    }
    const fs::path File(Files[I]);
    fs::create_symlink(File, fs::path(Folder) / File.filename());
    Result.Bytes += Source.size();
    Result.Requests += Formatted.Tokens.size() + 1;
    Result.Expected.emplace_back(File.filename().string(), Gates::Render(Formatted.Tokens));
  }
  return Result;
}

double Format_Sample(const Places& Where, const Sample& Files, const std::string& Tag,
                     const std::string& Log_File) {
  const std::string Pipename = Test_Support::Unique_Name("quorvel-bench");
  const std::string Configuration = Write_Configuration(Where, Tag, Pipename);
  const std::string Output = Where.Scratch + "/out-" + Tag;
  const std::string Transcript = Where.Scratch + "/quorvel-" + Tag + ".txt";
  fs::remove_all(Output);
  fs::create_directories(Output);
  const Timed_Run Run =
      Bench::Run(Where.Quorvel, {Configuration, Files.Folder + "/*", Output}, Transcript);
  if (Run.Status != 0) {
    throw std::runtime_error("quorvel ended with status " + std::to_string(Run.Status) +
                             "; its output is in " + Transcript);
  }
  Test_Support::End_Lingering_Server(Pipename);  // it would wait for a next run (untimed)
  Check_Output(Files, Output);
  if (!Log_File.empty()) {
    Check_Log(Log_File);
  }
  fs::remove_all(Output);
  fs::remove(Transcript);
  fs::remove(Configuration);
  return Run.Seconds;
}

}  // namespace Bench
