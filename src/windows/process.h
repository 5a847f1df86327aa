// Windows::Create_Process: starts another program and returns at once; the
// new process runs on its own and is never waited for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "named_error.h"
#include "path_style.h"

namespace Windows {

QUORVEL_NAMED_ERROR(Process_Creation_Failure, Named_Error, "WINDOWS.PROCESS_CREATION_FAILURE");

/// A standard handle for the new process: a HANDLE on Windows, a file
/// descriptor elsewhere; 0 means "not given".
using Std_Handle = std::intptr_t;

/// Starts Program with Arguments (split at blanks, no shell). Environment,
/// when not empty, is NUL-separated entries and replaces the inherited one;
/// Directory, when not empty, is the new process's current folder. When no
/// standard handle is given the new process inherits none of the caller's
/// files (standard input, output and error included). Throws
/// Process_Creation_Failure when the program cannot be started.
void Create_Process(const std::string& Program, const std::string& Arguments,
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
