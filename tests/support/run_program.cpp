// Where the programs under test are built, and the end of a formatting
// server that a run left waiting.
#include "run_program.h"

#include <chrono>
#include <thread>

#include "module.h"
#include "pipe.h"

namespace Test_Support {

namespace {

std::string With_Suffix(const std::string& Name) {
  return Windows::Native_Style == Windows::Path_Style::Windows ? Name + ".exe" : Name;
}

}  // namespace

std::string Program_Beside_Tests(const std::string& Name) {
  return Windows::Module_Directory() + With_Suffix(Name);
}

std::string Program_In_Bin(const std::string& Name) {
  // Tests live in <build>/tests, programs in <build>/bin.
  const char Sep = Windows::Separator(Windows::Native_Style);
  std::string Tests = Windows::Module_Directory();
  Tests.pop_back();
  return Tests.substr(0, Tests.rfind(Sep) + 1) + "bin" + Sep + With_Suffix(Name);
}

void End_Lingering_Server(const std::string& Pipename) {
  namespace Pipe = Windows::Pipe;
  // Between two clients the pipe is busy for a moment, and may even read as
  // missing while it is opened again: only a pipe missing for a whole
  // second has gone.
  Pipe::Handle Server;
  for (int Attempt = 0, Missing = 0; !Server; ++Attempt) {
    try {
      Pipe::Open(Server, Pipename, false, Pipe::Direction::Duplex, 1000);
    } catch (const Pipe::No_Server&) {
      if (++Missing == 100) {
        return;
      }
    } catch (const Pipe::Name_In_Use&) {
      if (Attempt >= 500) {
        throw;
      }
    }
    if (!Server) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  Pipe::Write(Server, "T0.001", 6);
  char Buffer[1000];
  try {
    for (;;) {
      Pipe::Read(Server, Buffer);  // the setting's answer, then the end of the server
    }
  } catch (const Pipe::Broken&) {
  }
}

}  // namespace Test_Support
