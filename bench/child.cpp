// Starting programs with posix_spawn and waiting for them.
#include "child.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include "child_process.h"

extern char** environ;

namespace Bench {

namespace {

// posix_spawn's file actions, released however the start ends.
class Redirection {
 public:
  explicit Redirection(const std::string& Output_File) {
    ::posix_spawn_file_actions_init(&Actions);
    ::posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&Actions, 1, Output_File.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::posix_spawn_file_actions_adddup2(&Actions, 1, 2);
  }
  ~Redirection() { ::posix_spawn_file_actions_destroy(&Actions); }
  Redirection(const Redirection&) = delete;
  Redirection& operator=(const Redirection&) = delete;
  const posix_spawn_file_actions_t* Get() const noexcept { return &Actions; }

 private:
  posix_spawn_file_actions_t Actions{};
};

}  // namespace

pid_t Start(const std::string& Program, const std::vector<std::string>& Arguments,
            const std::string& Output_File) {
  std::vector<std::string> Words;
  std::vector<char*> Argv = Test_Support::Exec_Arguments(Program, Arguments, Words);
  const Redirection Output(Output_File);
  // The benchmark holds signals back while it has changed the registry; the
  // programs it starts get none of that.
  posix_spawnattr_t Attributes{};
  ::posix_spawnattr_init(&Attributes);
  sigset_t Nothing;
  ::sigemptyset(&Nothing);
  ::posix_spawnattr_setsigmask(&Attributes, &Nothing);
  ::posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t Child = 0;
  const int Failure =
      ::posix_spawn(&Child, Program.c_str(), Output.Get(), &Attributes, Argv.data(), environ);
  ::posix_spawnattr_destroy(&Attributes);
  if (Failure != 0) {
    throw std::runtime_error("cannot start " + Program + ": " + std::strerror(Failure));
  }
  return Child;
}

int Wait_For(pid_t Child) {
  int Status = 0;
  while (::waitpid(Child, &Status, 0) < 0) {
    if (errno != EINTR) {
      throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
    }
  }
  return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

Timed_Run Run(const std::string& Program, const std::vector<std::string>& Arguments,
              const std::string& Output_File) {
  const auto Begin = std::chrono::steady_clock::now();
  Timed_Run Result;
  Result.Status = Wait_For(Start(Program, Arguments, Output_File));
  Result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Begin).count();
  return Result;
}

}  // namespace Bench
