// Running programs over POSIX: posix_spawn with standard output on a pipe.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "run_program.h"

extern char** environ;

namespace Test_Support {

Program_Result Run_Program(const std::string& Program, const std::vector<std::string>& Arguments) {
  int Ends[2];
  if (pipe2(Ends, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe2 failed");
  }
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&Actions, Ends[1], 1);
  std::vector<std::string> Words = Arguments;
  Words.insert(Words.begin(), Program);
  std::vector<char*> Argv;
  for (std::string& Word : Words) {
    Argv.push_back(Word.data());
  }
  Argv.push_back(nullptr);
  pid_t Child = 0;
  const int Spawned = posix_spawn(&Child, Program.c_str(), &Actions, nullptr, Argv.data(), environ);
  posix_spawn_file_actions_destroy(&Actions);
  close(Ends[1]);
  Program_Result Result;
  if (Spawned != 0) {
    close(Ends[0]);
    throw std::runtime_error("cannot start " + Program);
  }
  char Buffer[4096];
  for (ssize_t Count; (Count = read(Ends[0], Buffer, sizeof Buffer)) != 0;) {
    if (Count > 0) {
      Result.Output.append(Buffer, static_cast<std::size_t>(Count));
    }
  }
  close(Ends[0]);
  int Status = 0;
  waitpid(Child, &Status, 0);
  Result.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
  return Result;
}

}  // namespace Test_Support
