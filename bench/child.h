// Programs the benchmarks start and wait for: the exit status and the wall
// time of each.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace Bench {

/// Starts Program with Arguments, its standard input empty and its standard
/// output and error in Output_File (created or emptied). Throws
/// std::runtime_error when it cannot be started.
pid_t Start(const std::string& Program, const std::vector<std::string>& Arguments,
            const std::string& Output_File);

/// Waits for the program Child to end; its exit status, or -1 when a
/// signal ended it.
int Wait_For(pid_t Child);

struct Timed_Run {
  int Status = -1;
  double Seconds = 0;  ///< wall time from start to end
};

/// Start, then Wait_For, timed.
Timed_Run Run(const std::string& Program, const std::vector<std::string>& Arguments,
              const std::string& Output_File);

}  // namespace Bench
