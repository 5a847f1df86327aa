// The one table quorvel-bench prints: every figure of one run next to its
// goal, with the machine it ran on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "measures.h"

namespace Bench {

struct Server_Peak {
  std::string Source;     ///< what the server formatted
  std::size_t Bytes = 0;  ///< its size
  long Kibibytes = 0;     ///< the server's peak resident memory
};

struct Figures {
  std::string Machine;     ///< cores, processor, memory
  double Load_Before = 0;  ///< one-minute load average
  double Load_After = 0;
  std::size_t Runtime_Files = 0;
  std::size_t Runtime_Bytes = 0;
  std::size_t Every = 0;  ///< the sample takes every Every-th runtime file
  std::size_t Sample_Files = 0;
  std::size_t Sample_Bytes = 0;
  std::uint64_t Requests = 0;  ///< "N" requests of one run over the sample
  /// Raw round trips per second: one before the first round, then one
  /// after each run of quorvel, so that runs and raw runs alternate.
  std::vector<double> Raw;
  std::vector<double> Log_Off;  ///< tokens per second, one per round
  std::vector<double> Log_On;
  /// Seconds of a run over an empty package body, one per round: what every
  /// run costs whatever it formats.
  std::vector<double> Fixed_Seconds;
  long Base_Kibibytes = 0;  ///< the server's peak for an empty package body
  std::vector<Server_Peak> Peaks;
  std::string One_File;  ///< the small file of the cold and warm runs
  std::size_t One_File_Bytes = 0;
  One_File_Runs One_File_Seconds;
  std::string Idle_Source;  ///< what the lingering server formatted before it waited
  std::size_t Idle_Source_Bytes = 0;
  Idle_Memory Idle;
  Successive_Result Successive;
  double Engine_Bytes_Per_Second = 0;
  Log_Rates Log;
  Registry_Reads Registry;
};

/// The machine: "2 cores, <model name>, 23.5 GiB memory".
std::string Machine_Description();

/// The one-minute load average.
double Load_Average();

/// The table, in Markdown, with a header naming the machine and the sample.
std::string Table(const Figures& Measured);
/// The rows of the registry reading alone, with the machine.
std::string Registry_Table(const Figures& Measured);

/// The rows of the memory or the engine measure alone (whichever was taken).
std::string Part_Table(const Figures& Measured);

}  // namespace Bench
