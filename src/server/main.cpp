// The entry of quorvel-server: hands the arguments to the program.
#include <string>
#include <vector>

#include "console.h"
#include "program.h"

int main(int argc, char** argv) {
  Windows::Console::Use_Binary_Mode();
  const std::vector<std::string> Arguments(argv + 1, argv + argc);
  const int Status = Server::Main(Arguments);
  Windows::Console::Flush();
  return Status;
}
