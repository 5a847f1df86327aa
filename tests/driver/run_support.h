// Running the main procedure in the test process, with its console and its
// log records captured.
#pragma once

#include <string>
#include <vector>

namespace Test_Support {

struct Run_Result {
  std::string Console;
  int Status = -1;
  std::vector<std::string> Log;
};

Run_Result Run_Quorvel(const std::vector<std::string>& Arguments);

/// Console text as CR LF lines.
std::string Lines(const std::vector<std::string>& Each);

}  // namespace Test_Support
