// quorvel-bench: measures quorvel and its formatting server against their
// goals and prints one table. Every figure comes from the same run; the end
// to end runs alternate with the raw transport in rounds, so that their
// ratio holds on a busy machine.
//
//   quorvel-bench [--rounds <n>] [--every <n>] [--only registry|memory|engine]
//
// --rounds: rounds of raw ping-pong, quorvel with the log off and on
// (default 7);
// --every: the end to end sample takes every n-th runtime file (default 5);
// --only registry: only the reading of a large registry file (seconds,
// where the whole table takes minutes); --only memory: only the server's
// peak memory; --only engine: only the engine's speed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "gates.h"
#include "held_signals.h"
#include "measures.h"
#include "module.h"
#include "registry_setting.h"
#include "report.h"
#include "scratch.h"
#include "text.h"

namespace {

namespace fs = std::filesystem;

struct Options {
  std::size_t Rounds = 7;
  std::size_t Every = 5;
  std::string Only;  ///< registry, memory, engine, or empty for everything
};

bool Parse(int Count, char** Arguments, Options& Chosen) {
  for (int I = 1; I + 1 < Count; I += 2) {
    const std::string Name = Arguments[I];
    if (Name == "--only") {
      Chosen.Only = Arguments[I + 1];
      if (Chosen.Only != "registry" && Chosen.Only != "memory" && Chosen.Only != "engine") {
        return false;
      }
      continue;
    }
    const std::optional<long long> Value = Text::Integer_Value(Arguments[I + 1]);
    if (!Value || *Value < 1 || (Name != "--rounds" && Name != "--every")) {
      return false;
    }
    (Name == "--rounds" ? Chosen.Rounds : Chosen.Every) = static_cast<std::size_t>(*Value);
  }
  return Count % 2 == 1;
}

void Progress(const std::string& Line) {
  std::cerr << "quorvel-bench: " << Line << std::endl;
}

// One run of quorvel with the log on: its registry key names a log in the
// scratch folder (default record limit) for as long as the run lasts, in a
// scratch user registry that quorvel inherits (never the user's own).
double Format_With_Log(const Bench::Places& Where, const Bench::Sample& Files,
                       const std::string& Tag) {
  const Bench::Held_Signals Held;
  const std::string Log_File = Where.Scratch + "/quorvel.log";
  Test_Support::Registry_Setting Key(Windows::Registry::Root_Key::User,
                                     "Software\\Tallowmere\\Quorvel");
  Key.Set_String("Log", Log_File);
  return Bench::Format_Sample(Where, Files, Tag, Log_File);
}

void Measure_Transport(const Bench::Places& Where, const Options& Chosen,
                       const std::vector<std::string>& Runtime, Bench::Figures& Measured) {
  const Bench::Sample Files = Bench::Make_Sample(Runtime, Chosen.Every, Where.Scratch + "/sample");
  Measured.Every = Chosen.Every;
  Measured.Sample_Files = Files.Expected.size();
  Measured.Sample_Bytes = Files.Bytes;
  Measured.Requests = Files.Requests;
  const auto Requests = static_cast<double>(Files.Requests);
  // Each run of quorvel lies between two raw runs, and is compared with
  // them: the load of a shared machine changes within a minute.
  const std::uint64_t Raw_Trips = Files.Requests / 2;
  const auto Raw = [&] { return static_cast<double>(Raw_Trips) / Bench::Ping_Pong(Raw_Trips); };
  const std::string Empty = Where.Scratch + "/empty.adb";
  Bench::Write_Generated_Ada(Empty, 0);
  const Bench::Sample Nothing = Bench::Make_Sample({Empty}, 1, Where.Scratch + "/sample-empty");
  Measured.Raw.push_back(Raw());
  for (std::size_t Round = 1; Round <= Chosen.Rounds; ++Round) {
    const std::string Tag = std::to_string(Round);
    Progress("round " + Tag +
             ": quorvel with the log off, with the log on, each after raw ping-pong");
    Measured.Fixed_Seconds.push_back(Bench::Format_Sample(Where, Nothing, "empty-" + Tag, ""));
    Measured.Log_Off.push_back(Requests / Bench::Format_Sample(Where, Files, "off-" + Tag, ""));
    Measured.Raw.push_back(Raw());
    Measured.Log_On.push_back(Requests / Format_With_Log(Where, Files, "on-" + Tag));
    Measured.Raw.push_back(Raw());
  }
}

fs::path Largest_File(const std::vector<std::string>& Runtime) {
  return *std::max_element(Runtime.begin(), Runtime.end(),
                           [](const std::string& A, const std::string& B) {
                             return fs::file_size(A) < fs::file_size(B);
                           });
}

void Measure_Memory(const Bench::Places& Where, const std::vector<std::string>& Runtime,
                    Bench::Figures& Measured) {
  Progress("the server's peak memory");
  const std::string Small = Where.Scratch + "/small.adb";
  Bench::Write_Generated_Ada(Small, 0);
  Measured.Base_Kibibytes = Bench::Server_Peak_Kibibytes(Where, Small);
  const fs::path Largest = Largest_File(Runtime);
  Measured.Peaks.push_back({Largest.filename().string(), fs::file_size(Largest),
                            Bench::Server_Peak_Kibibytes(Where, Largest.string())});
  for (const std::size_t Megabytes : {std::size_t{10}, std::size_t{50}}) {
    const std::string Generated = Where.Scratch + "/generated.adb";
    Bench::Write_Generated_Ada(Generated, Megabytes * 1000 * 1000);
    Measured.Peaks.push_back({"generated Ada", fs::file_size(Generated),
                              Bench::Server_Peak_Kibibytes(Where, Generated)});
    fs::remove(Generated);
  }
  const std::string Nested = Where.Scratch + "/nested.adb";
  Bench::Write_Nested_Ada(Nested, 100000);
  Measured.Peaks.push_back({"100,000 nested if statements", fs::file_size(Nested),
                            Bench::Server_Peak_Kibibytes(Where, Nested)});
  fs::remove(Nested);
}

// The runtime file of median size: a small file, as formatting on save meets.
fs::path Median_File(std::vector<std::string> Runtime) {
  std::sort(Runtime.begin(), Runtime.end(), [](const std::string& A, const std::string& B) {
    return fs::file_size(A) < fs::file_size(B);
  });
  return Runtime[Runtime.size() / 2];
}

void Measure_Lingering(const Bench::Places& Where, const std::vector<std::string>& Runtime,
                       Bench::Figures& Measured) {
  const fs::path Small = Median_File(Runtime);
  Measured.One_File = Small.filename().string();
  Measured.One_File_Bytes = fs::file_size(Small);
  Progress("one small file, 20 runs that start their server and 20 that find it waiting");
  Measured.One_File_Seconds = Bench::Time_One_File(Where, Small.string(), 20);
  const fs::path Largest = Largest_File(Runtime);
  Progress("the lingering server's memory while it waits");
  Measured.Idle_Source = Largest.filename().string();
  Measured.Idle_Source_Bytes = fs::file_size(Largest);
  Measured.Idle = Bench::Server_Idle_Memory(Where, Largest.string());
  Progress("200 successive runs against one server");
  Measured.Successive = Bench::Successive_Runs(Where, Runtime, 200);
}

void Measure_Engine(const std::vector<std::string>& Runtime, Bench::Figures& Measured) {
  Progress("the engine alone over the whole runtime");
  std::vector<std::string> Sources;
  for (const std::string& File : Runtime) {
    Sources.push_back(Gates::Read_File(File));
    Measured.Runtime_Bytes += Sources.back().size();
  }
  Measured.Runtime_Files = Sources.size();
  Measured.Engine_Bytes_Per_Second = Bench::Engine_Bytes_Per_Second(Sources);
}

int Run(const Options& Chosen) {
  const Test_Support::Scratch_Folder Scratch;
  Bench::Figures Measured;
  Measured.Machine = Bench::Machine_Description();
  if (Chosen.Only == "registry") {
    Measured.Load_Before = Bench::Load_Average();
    Progress("reading a registry file of 100,000 keys");
    Measured.Registry = Bench::Registry_Read_Seconds(Scratch.Path());
    Measured.Load_After = Bench::Load_Average();
    std::cout << Bench::Registry_Table(Measured);
    return 0;
  }
  const std::string Bin = Windows::Module_Directory();
  const Bench::Places Where{Bin + "quorvel", Bin + "quorvel-server", Scratch.Path()};
  const std::string Runtime_Folder = Gates::Runtime_Folder();
  if (Runtime_Folder.empty() || !fs::is_directory(Runtime_Folder)) {
    std::cerr << "quorvel-bench: GNAT's runtime sources were not found (gcc "
                 "-print-file-name=adainclude)\n";
    return 1;
  }
  const std::vector<std::string> Runtime = Gates::Ada_Files(Runtime_Folder);
  Measured.Load_Before = Bench::Load_Average();
  if (!Chosen.Only.empty()) {
    if (Chosen.Only == "memory") {
      Measure_Memory(Where, Runtime, Measured);
    } else {
      Measure_Engine(Runtime, Measured);
    }
    Measured.Load_After = Bench::Load_Average();
    std::cout << Bench::Part_Table(Measured);
    return 0;
  }
  Measure_Transport(Where, Chosen, Runtime, Measured);
  Measure_Memory(Where, Runtime, Measured);
  Measure_Lingering(Where, Runtime, Measured);
  Measure_Engine(Runtime, Measured);
  Progress("Log::Write from 1 and from 8 threads");
  Measured.Log = Bench::Log_Write_Rates(Scratch.Path() + "/log-bench.log");
  Progress("reading a registry file of 100,000 keys");
  Measured.Registry = Bench::Registry_Read_Seconds(Scratch.Path());
  Measured.Load_After = Bench::Load_Average();
  std::cout << Bench::Table(Measured);
  return 0;
}

}  // namespace

int main(int Count, char** Arguments) {
  Options Chosen;
  if (!Parse(Count, Arguments, Chosen)) {
    std::cerr
        << "usage: quorvel-bench [--rounds <n>] [--every <n>] [--only registry|memory|engine]\n";
    return 2;
  }
  int One = 1;
  benchmark::Initialize(&One, Arguments);
  try {
    return Run(Chosen);
  } catch (const std::exception& Failure) {
    std::cerr << "quorvel-bench: " << Failure.what() << '\n';
    return 1;
  }
}
