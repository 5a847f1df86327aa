// The formatting server that stays for the next client: one small file
// formatted by a run of quorvel that starts its own server (cold) and by
// one that finds a server waiting (warm), the server's resident memory
// while it waits, and many runs against one server checked against a run
// of a server of its own.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "child.h"
#include "gates.h"
#include "measures.h"
#include "run_program.h"
#include "scratch.h"

namespace fs = std::filesystem;

namespace Bench {

namespace Pipe = Windows::Pipe;

namespace {

// A configuration of its own for the pipe Name, the default server.
std::string Configuration_For(const Places& Where, const std::string& Name) {
  const std::string Path = Where.Scratch + "/" + Name + ".ini";
  std::ofstream Output(Path, std::ios::binary | std::ios::trunc);
  Output << "[Quv_Client]\nPipename=" << Name << "\nPipelength=1000\nServer=" << Where.Server
         << "\n";
  if (!Output) {
    throw std::runtime_error("cannot write " + Path);
  }
  return Path;
}

// One run of quorvel over Source into the folder Output, emptied first
// (untimed); its wall time.
double Run_Once(const Places& Where, const std::string& Configuration, const std::string& Source,
                const std::string& Output) {
  fs::remove_all(Output);
  fs::create_directories(Output);
  const std::string Transcript = Where.Scratch + "/warm-run.txt";
  const Timed_Run Run = Bench::Run(Where.Quorvel, {Configuration, Source, Output}, Transcript);
  if (Run.Status != 0) {
    throw std::runtime_error("quorvel ended with status " + std::to_string(Run.Status) +
                             "; its output is in " + Transcript);
  }
  return Run.Seconds;
}

}  // namespace

One_File_Runs Time_One_File(const Places& Where, const std::string& Source, std::size_t Runs) {
  One_File_Runs Result;
  const std::string Output = Where.Scratch + "/one-file-out";
  for (std::size_t Run = 0; Run < Runs; ++Run) {
    const std::string Name = Test_Support::Unique_Name("quorvel-bench-cold");
    const std::string Configuration = Configuration_For(Where, Name);
    Result.Cold.push_back(Run_Once(Where, Configuration, Source, Output));
    Test_Support::End_Lingering_Server(Name);
    fs::remove(Configuration);
  }
  const std::string Name = Test_Support::Unique_Name("quorvel-bench-warm");
  const std::string Configuration = Configuration_For(Where, Name);
  Run_Once(Where, Configuration, Source, Output);  // starts the server
  for (std::size_t Run = 0; Run < Runs; ++Run) {
    Result.Warm.push_back(Run_Once(Where, Configuration, Source, Output));
  }
  Test_Support::End_Lingering_Server(Name);
  fs::remove(Configuration);
  fs::remove_all(Output);
  return Result;
}

Idle_Memory Server_Idle_Memory(const Places& Where, const std::string& Source) {
  const std::string Name = Test_Support::Unique_Name("quorvel-bench-idle");
  const pid_t Child =
      Start(Where.Server, {"--linger=60", Name, "1000"}, Where.Scratch + "/server-idle.txt");
  Idle_Memory Result;
  {
    const Pipe::Handle Server = Connect(Name, 30.0);
    Open_Source(Server, Source);
    do {
      Pipe::Write(Server, "N", 1);
    } while (Read_Reply(Server) != "0");
    Result.Busy_Kibibytes = Memory_Of(Child, "VmRSS:");
    Pipe::Write(Server, "C", 1);
  }
  // Idle: the server has had a second to go back to waiting.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  Result.Peak_Kibibytes = Memory_Of(Child, "VmHWM:");
  Result.Idle_Kibibytes = Memory_Of(Child, "VmRSS:");
  Test_Support::End_Lingering_Server(Name);
  const int Status = Wait_For(Child);
  if (Status != 3 || Result.Idle_Kibibytes == 0) {
    throw std::runtime_error("the lingering server ended with status " + std::to_string(Status) +
                             " or its memory could not be read");
  }
  return Result;
}

Successive_Result Successive_Runs(const Places& Where, const std::vector<std::string>& Files,
                                  std::size_t Runs) {
  // The cold reference: one run of quorvel over all the files, starting a
  // server of its own.
  const std::string Sources = Where.Scratch + "/successive";
  const std::string Cold = Where.Scratch + "/successive-cold";
  fs::create_directories(Sources);
  std::vector<std::string> Names;
  for (std::size_t I = 0; I < Runs; ++I) {
    const fs::path File(Files[I * Files.size() / Runs]);
    Names.push_back(File.filename().string());
    fs::create_symlink(File, fs::path(Sources) / Names.back());
  }
  const std::string Cold_Name = Test_Support::Unique_Name("quorvel-bench-reference");
  const std::string Cold_Configuration = Configuration_For(Where, Cold_Name);
  Run_Once(Where, Cold_Configuration, Sources + "/*", Cold);
  Test_Support::End_Lingering_Server(Cold_Name);
  Successive_Result Result;
  const std::string Name = Test_Support::Unique_Name("quorvel-bench-successive");
  const std::string Configuration = Configuration_For(Where, Name);
  const std::string Output = Where.Scratch + "/successive-out";
  for (const std::string& File : Names) {
    Run_Once(Where, Configuration, Sources + "/" + File, Output);
    ++Result.Runs;
    const std::string Warm = Gates::Read_File(Output + "/" + File);
    Result.Identical += !Warm.empty() && Warm == Gates::Read_File(Cold + "/" + File) ? 1U : 0U;
  }
  Test_Support::End_Lingering_Server(Name);
  fs::remove(Configuration);
  fs::remove(Cold_Configuration);
  fs::remove_all(Output);
  fs::remove_all(Sources);
  fs::remove_all(Cold);
  return Result;
}

}  // namespace Bench
