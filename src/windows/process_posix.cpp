// Process start over POSIX: posix_spawn, no shell, no inherited files
// beyond the standard three.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <utility>

#include "process.h"
#include "process_closing_posix.h"

extern char** environ;

namespace Windows {

namespace {

// The spawn attributes and file actions, released whatever happens.
struct Spawn_Setup {
  posix_spawn_file_actions_t Actions{};
  posix_spawnattr_t Attributes{};
  Spawn_Setup() {
    posix_spawn_file_actions_init(&Actions);
    posix_spawnattr_init(&Attributes);
  }
  ~Spawn_Setup() {
    posix_spawn_file_actions_destroy(&Actions);
    posix_spawnattr_destroy(&Attributes);
  }
  Spawn_Setup(const Spawn_Setup&) = delete;
  Spawn_Setup& operator=(const Spawn_Setup&) = delete;
};

// Standard handle N of the child: the one given, else (when any is given)
// the caller's own, else nothing at all (/dev/null), so that a pipeline
// reading our output ends when we end, whatever the child does.
void Set_Standard(Spawn_Setup& Setup, int N, Std_Handle Given, bool Any_Given) {
  if (Given != 0) {
    posix_spawn_file_actions_adddup2(&Setup.Actions, static_cast<int>(Given), N);
  } else if (!Any_Given) {
    posix_spawn_file_actions_addopen(&Setup.Actions, N, "/dev/null", N == 0 ? O_RDONLY : O_WRONLY,
                                     0);
  }
}

std::vector<char*> Pointers(std::vector<std::string>& Words) {
  std::vector<char*> Result;
  for (std::string& Word : Words) {
    Result.push_back(Word.data());
  }
  Result.push_back(nullptr);
  return Result;
}

}  // namespace

void Prepare_Program() {
  signal(SIGXFSZ, SIG_IGN);
}

Started_Program Create_Process(const std::string& Program, const std::string& Arguments,
                               const std::string& Environment, const std::string& Directory,
                               Std_Handle Std_Input, Std_Handle Std_Output, Std_Handle Std_Error,
                               bool Detached) {
  Spawn_Setup Setup;
  const bool Any_Given = Std_Input != 0 || Std_Output != 0 || Std_Error != 0;
  Set_Standard(Setup, 0, Std_Input, Any_Given);
  Set_Standard(Setup, 1, Std_Output, Any_Given);
  Set_Standard(Setup, 2, Std_Error, Any_Given);
  if (!Close_Other_Descriptors(Setup.Actions)) {
    throw Process_Creation_Failure();
  }
  if (!Directory.empty()) {
    posix_spawn_file_actions_addchdir_np(&Setup.Actions, Directory.c_str());
  }
  if (Detached) {
    posix_spawnattr_setflags(&Setup.Attributes, POSIX_SPAWN_SETSID);
  }
  std::vector<std::string> Words = Split_Arguments(Arguments);
  Words.insert(Words.begin(), Program);
  std::vector<char*> Argv = Pointers(Words);
  std::vector<std::string> Entries = Split_Environment(Environment);
  std::vector<char*> Envp = Pointers(Entries);
  pid_t Child = 0;
  if (Program.empty() ||
      posix_spawn(&Child, Program.c_str(), &Setup.Actions, &Setup.Attributes, Argv.data(),
                  Environment.empty() ? environ : Envp.data()) != 0) {
    throw Process_Creation_Failure();
  }
  return Started_Program(Child);
}

// A child never asked about stays a zombie until this process ends, as
// before: nothing waits for it.
Started_Program::~Started_Program() = default;

Started_Program::Started_Program(Started_Program&& Other) noexcept
    : Process(std::exchange(Other.Process, 0)), Status(Other.Status) {}

std::optional<int> Started_Program::Exit_Status() {
  int Raw = 0;
  if (!Status && Process > 0 &&
      ::waitpid(static_cast<pid_t>(Process), &Raw, WNOHANG) == static_cast<pid_t>(Process)) {
    Status = WIFEXITED(Raw) ? WEXITSTATUS(Raw) : 128 + WTERMSIG(Raw);
  }
  return Status;
}

}  // namespace Windows
