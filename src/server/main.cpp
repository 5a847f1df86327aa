// The entry of quorvel-server: hands the arguments to the program, with the
// Formatter library as its formatting engine.
#include <string>
#include <vector>

#include "console.h"
#include "heap.h"
#include "program.h"

namespace {

class Standard_Engine final : public Server::Formatting_Engine {
 public:
  Formatter::Result Format(std::string_view Source, const Formatter::Settings& Options) override {
    return Formatter::Format(Source, Options);
  }
};

}  // namespace

int main(int argc, char** argv) {
  Windows::Console::Use_Binary_Mode();
  Server::Give_Large_Blocks_Back();
  const std::vector<std::string> Arguments(argv + 1, argv + argc);
  Standard_Engine Engine;
  const int Status = Server::Main(Arguments, Engine);
  Windows::Console::Flush();
  return Status;
}
