// The probe's run, shared by the probe programs and the probe library.
#include "log_probe_body.h"

#include <string>
#include <vector>

#include "console.h"
#include "files_io.h"
#include "log.h"
#include "log_file.h"

namespace {

void Write_Records(const std::vector<std::string>& Arguments) {
  for (const std::string& Argument : Arguments) {
    if (Argument == "--exception") {
      try {
        throw Windows::Files::IO::End_Error("disk full");
      } catch (...) {
        Log::Exception("Quorvel", std::current_exception());
      }
    } else if (Argument == "--start-again") {
      Log::Start(true);
    } else {
      Log::Write(Argument);
    }
  }
}

}  // namespace

int Probe_Main(int argc, char** argv) {
  Windows::Console::Use_Binary_Mode();
  std::vector<std::string> Arguments(argv + 1, argv + argc);
  const bool Auto_Flush = !Arguments.empty() && Arguments.front() == "--auto-flush";
  if (Auto_Flush) {
    Arguments.erase(Arguments.begin());
  }
  const int Status = Log::Start_And_Run(
      [&] {
        Write_Records(Arguments);
        return 0;
      },
      [&] { Log::Start(Auto_Flush); });
  Windows::Console::Flush();
  return Status;
}
