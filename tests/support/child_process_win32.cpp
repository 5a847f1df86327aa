// Child programs through CreateProcessA, WaitForSingleObject and
// TerminateProcess at the end.
#include <stdexcept>

#include "child_process.h"
#include "handle_win32.h"

namespace Test_Support {

struct Child_Process::State {
  Windows::Owned_Process Started;
  std::optional<int> Status;
};

namespace {

// Test arguments hold no quotes; a word with a blank is quoted whole.
std::string Word(const std::string& Text) {
  return Text.find(' ') == std::string::npos && !Text.empty() ? Text : '"' + Text + '"';
}

}  // namespace

Child_Process::Child_Process(const std::string& Program, const std::vector<std::string>& Arguments)
    : Running(std::make_unique<State>()) {
  std::string Line = Word(Program);
  for (const std::string& Argument : Arguments) {
    Line += ' ' + Word(Argument);
  }
  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  PROCESS_INFORMATION Started{};
  if (CreateProcessA(Program.c_str(), Line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &Startup, &Started) != TRUE) {
    throw std::runtime_error("cannot start " + Program);
  }
  Running->Started = Windows::Owned_Process(Started);
}

Child_Process::~Child_Process() {
  if (!Running->Status) {
    TerminateProcess(Running->Started.Process.Get(), 255);
    WaitForSingleObject(Running->Started.Process.Get(), INFINITE);
  }
}

std::optional<int> Child_Process::Wait(double Seconds) {
  if (!Running->Status &&
      WaitForSingleObject(Running->Started.Process.Get(), static_cast<DWORD>(Seconds * 1000.0)) ==
          WAIT_OBJECT_0) {
    DWORD Code = 0;
    GetExitCodeProcess(Running->Started.Process.Get(), &Code);
    Running->Status = static_cast<int>(Code);
  }
  return Running->Status;
}

}  // namespace Test_Support
