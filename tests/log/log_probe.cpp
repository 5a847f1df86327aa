// A small program that starts the log as Quorvel does and writes each of its
// arguments as one record. "--auto-flush" as the first argument starts the
// log with Auto_Flush; "--start-again" starts it a second time (with
// Auto_Flush); "--exception" writes the record of an unexpected failure.
#include <string>
#include <vector>

#include "console.h"
#include "files_io.h"
#include "log.h"
#include "log_file.h"

int main(int argc, char** argv) {
  Windows::Console::Use_Binary_Mode();
  std::vector<std::string> Arguments(argv + 1, argv + argc);
  const bool Auto_Flush = !Arguments.empty() && Arguments.front() == "--auto-flush";
  if (Auto_Flush) {
    Arguments.erase(Arguments.begin());
  }
  const int Status = Log::Start_And_Run(
      [&] {
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
        return 0;
      },
      [&] { Log::Start(Auto_Flush); });
  Windows::Console::Flush();
  return Status;
}
