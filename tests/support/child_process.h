// Programs that a test starts, waits for with a time limit, and reads the
// exit status of; a program still running when the test ends is killed.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Test_Support {

/// POSIX only: Program followed by Arguments, as the NULL-ended list that
/// posix_spawn and exec take; it points into Words, which receives them.
std::vector<char*> Exec_Arguments(const std::string& Program,
                                  const std::vector<std::string>& Arguments,
                                  std::vector<std::string>& Words);

class Child_Process {
 public:
  /// Starts Program with Arguments (each one word, passed as it is); the
  /// program shares the test's standard output and error. Throws
  /// std::runtime_error when it cannot be started.
  Child_Process(const std::string& Program, const std::vector<std::string>& Arguments);
  ~Child_Process();
  Child_Process(const Child_Process&) = delete;
  Child_Process& operator=(const Child_Process&) = delete;

  /// The exit status once the program has ended, waiting at most Seconds;
  /// nothing while it still runs.
  std::optional<int> Wait(double Seconds);

  /// POSIX only: sends the program Signal.
  void Signal(int Signal);

 private:
  struct State;
  std::unique_ptr<State> Running;
};

}  // namespace Test_Support
