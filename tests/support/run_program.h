// Runs a program to its end and collects its standard output byte for byte.
#pragma once

#include <string>
#include <vector>

namespace Test_Support {

struct Program_Result {
  std::string Output;  ///< standard output, exactly as written
  int Status = -1;     ///< exit status
};

/// Runs Program with Arguments (each one word, quoted as needed) in the
/// current folder, its standard input empty, and waits for it.
Program_Result Run_Program(const std::string& Program, const std::vector<std::string>& Arguments);

/// Path of a program built beside the running test (".exe" added on Windows).
std::string Program_Beside_Tests(const std::string& Name);

/// Path of a program built into the project's bin folder.
std::string Program_In_Bin(const std::string& Name);

/// Ends the formatting server that waits on the pipe Pipename for its next
/// client (nothing when there is none): as that client, sets a Timeout of
/// 1 ms and falls silent, which ends the server (status 3). Returns once
/// it has gone.
void End_Lingering_Server(const std::string& Pipename);

}  // namespace Test_Support
