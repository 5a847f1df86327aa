// Windows::Create_Process: starts another program and returns at once; the
// new process runs on its own and is never waited for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "named_error.h"
#include "path_style.h"

namespace Windows {

QUORVEL_NAMED_ERROR(Process_Creation_Failure, Named_Error, "WINDOWS.PROCESS_CREATION_FAILURE");

/// A standard handle for the new process: a HANDLE on Windows, a file
/// descriptor elsewhere; 0 means "not given".
using Std_Handle = std::intptr_t;

/// A program that Create_Process started. Ending this object neither waits
/// for the program nor stops it.
class Started_Program {
 public:
  /// Id: the process (a process HANDLE on Windows, which this object then
  /// owns; a process id elsewhere).
  explicit Started_Program(std::intptr_t Id) noexcept : Process(Id) {}
  ~Started_Program();
  Started_Program(Started_Program&& Other) noexcept;
  Started_Program& operator=(Started_Program&&) = delete;
  Started_Program(const Started_Program&) = delete;
  Started_Program& operator=(const Started_Program&) = delete;

  /// The program's exit status once it has ended; nothing while it runs or
  /// when that cannot be told. Never waits.
  std::optional<int> Exit_Status();

 private:
  std::intptr_t Process;
  std::optional<int> Status;
};

/// Starts Program with Arguments (split at blanks, no shell). Environment,
/// when not empty, is NUL-separated entries and replaces the inherited one;
/// Directory, when not empty, is the new process's current folder. When no
/// standard handle is given the new process inherits none of the caller's
/// files (standard input, output and error included); in every case it
/// inherits none beyond its standard three. Throws
/// Process_Creation_Failure when the program cannot be started.
Started_Program Create_Process(const std::string& Program, const std::string& Arguments,
                               const std::string& Environment, const std::string& Directory,
                               Std_Handle Std_Input, Std_Handle Std_Output, Std_Handle Std_Error,
                               bool Detached);

/// Settles how the program meets the system's limits: a write beyond the
/// file-size limit must fail (and be handled) rather than end the process.
void Prepare_Program();

/// The Windows command line for Program and Arguments: the program path is
/// quoted when it holds a blank, so that "C:\Program Files\..." stays one word.
std::string Command_Line(const std::string& Program, const std::string& Arguments);

/// Arguments split at blanks, empty words dropped (the POSIX argument vector).
std::vector<std::string> Split_Arguments(const std::string& Arguments);

/// "A=1\0B=2\0" as the list {"A=1", "B=2"}.
std::vector<std::string> Split_Environment(const std::string& Environment);

}  // namespace Windows
