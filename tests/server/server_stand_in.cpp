// quorvel-server with the engine stand-in (fake_formatter.h): the program's
// tests talk to it over the pipe and know every reply in advance.
#include <string>
#include <vector>

#include "console.h"
#include "fake_formatter.h"
#include "program.h"

int main(int argc, char** argv) {
  Windows::Console::Use_Binary_Mode();
  Fake_Formatter::Engine Stand_In;
  const int Status = Server::Main(std::vector<std::string>(argv + 1, argv + argc), Stand_In);
  Windows::Console::Flush();
  return Status;
}
