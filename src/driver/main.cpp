// The program's entry: starts the log, then hands the arguments to the main
// procedure.
#include <string>
#include <vector>

#include "console.h"
#include "interrupt.h"
#include "log_file.h"
#include "process.h"
#include "quorvel.h"

int main(int argc, char** argv) {
  Windows::Console::Use_Binary_Mode();
  Windows::Prepare_Program();
  Windows::Interrupt::Install();
  const std::vector<std::string> Arguments(argv + 1, argv + argc);
  const int Status = Log::Start_And_Run([&] { return Quorvel::Main(Arguments); });
  Windows::Console::Flush();
  return Status;
}
