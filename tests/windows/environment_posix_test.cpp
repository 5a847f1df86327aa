// The environment queries where POSIX differs: the thread id is the
// kernel's, also in a child process made by fork.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "environment.h"

namespace {

TEST(Thread_Id_Posix, IsTheKernelsIdAlsoInAForkedChild) {
  const auto Own = static_cast<std::uint32_t>(::gettid());
  EXPECT_EQ(Windows::Thread_Id(), Own);
  EXPECT_EQ(Windows::Thread_Id(), Own);
  const pid_t Child = ::fork();
  if (Child == 0) {
    // The child's one thread has the process's own id.
    ::_exit(Windows::Thread_Id() == static_cast<std::uint32_t>(::getpid()) ? 0 : 1);
  }
  int Status = 0;
  ASSERT_EQ(::waitpid(Child, &Status, 0), Child);
  EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << "the child wrote its parent's id";
  EXPECT_EQ(Windows::Thread_Id(), Own);
}

}  // namespace
