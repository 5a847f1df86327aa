// Child programs over POSIX: posix_spawn, waitpid, and SIGKILL at the end.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "child_process.h"

extern char** environ;

namespace Test_Support {

std::vector<char*> Exec_Arguments(const std::string& Program,
                                  const std::vector<std::string>& Arguments,
                                  std::vector<std::string>& Words) {
  Words = {Program};
  Words.insert(Words.end(), Arguments.begin(), Arguments.end());
  std::vector<char*> Argv;
  for (std::string& Word : Words) {
    Argv.push_back(Word.data());
  }
  Argv.push_back(nullptr);
  return Argv;
}

struct Child_Process::State {
  pid_t Child = 0;
  std::optional<int> Status;
};

Child_Process::Child_Process(const std::string& Program, const std::vector<std::string>& Arguments)
    : Running(std::make_unique<State>()) {
  std::vector<std::string> Words;
  std::vector<char*> Argv = Exec_Arguments(Program, Arguments, Words);
  if (posix_spawn(&Running->Child, Program.c_str(), nullptr, nullptr, Argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + Program);
  }
}

Child_Process::~Child_Process() {
  if (!Running->Status) {
    ::kill(Running->Child, SIGKILL);
    ::waitpid(Running->Child, nullptr, 0);
  }
}

void Child_Process::Signal(int Signal) {
  ::kill(Running->Child, Signal);
}

std::optional<int> Child_Process::Wait(double Seconds) {
  const auto Until = std::chrono::steady_clock::now() + std::chrono::duration<double>(Seconds);
  while (!Running->Status) {
    int Status = 0;
    if (::waitpid(Running->Child, &Status, WNOHANG) == Running->Child) {
      Running->Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
    } else if (std::chrono::steady_clock::now() >= Until) {
      break;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  return Running->Status;
}

}  // namespace Test_Support
