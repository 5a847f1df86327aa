// A conversation of one short message each way waits mostly on the other
// process's wake-up, and a process that sleeps at every message lets its
// core go idle: waking an idle core can cost several round trips (seven on
// a virtual machine). So a reader first looks, awake, for a while. A look
// is harmful only when the other end needs this very core to answer; then
// the looks become rarer.
#include "pipe_look_posix.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "descriptor_posix.h"

namespace Windows::Pipe::Posix {

bool Should_Look(Look_State& State) noexcept {
  if (State.Skips > 0) {
    --State.Skips;
    return false;
  }
  return true;
}

void Learn(Look_State& State, Look Result, bool Held_Up) noexcept {
  if (Result == Look::Came) {
    State.Penalty = 0;
  } else if (Result == Look::Ran_Out && Held_Up) {
    State.Penalty = std::clamp<std::uint32_t>(State.Penalty * 2, 1, Most_Skips);
    State.Skips = State.Penalty;
  }
}

Look Look_For_Message(int Socket, char* Into, std::size_t Count, std::size_t& Got) {
  using Clock = std::chrono::steady_clock;
  const auto Look_End = Clock::now() + Look_Limit;
  Got = 0;
  for (bool First = true;; First = false) {
    // A receive that does not wait takes the message at once when it is
    // there: one call, where a poll would need a receive after it.
    const ssize_t Taken = ::recv(Socket, Into, Count, MSG_DONTWAIT);
    if (Taken > 0) {
      Got = static_cast<std::size_t>(Taken);
      return First ? Look::Already_There : Look::Came;
    }
    if (Taken == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      // The end of the conversation, or an error: the receive that follows
      // reports it.
      return Look::Already_There;
    }
    if (Clock::now() >= Look_End) {
      return Look::Ran_Out;
    }
  }
}

int Last_Processor(std::string_view Stat) {
  // The command name, in parentheses, may hold anything; the fields after
  // it are numbers, the processor the 37th of them (39th of the line).
  const std::size_t Name_End = Stat.rfind(')');
  if (Name_End == std::string_view::npos) {
    return -1;
  }
  std::size_t At = Name_End + 1;
  for (int Field = 0; Field < 36; ++Field) {
    At = Stat.find(' ', At + 1);
    if (At == std::string_view::npos) {
      return -1;
    }
  }
  int Processor = 0;
  bool Digits = false;
  for (++At; At < Stat.size() && Stat[At] >= '0' && Stat[At] <= '9'; ++At) {
    Processor = std::min(Processor * 10 + (Stat[At] - '0'), 1 << 20);
    Digits = true;
  }
  return Digits ? Processor : -1;
}

bool Shares_This_Core(pid_t Process) {
  if (Process <= 0) {
    return true;
  }
  const std::string Path = "/proc/" + std::to_string(Process) + "/stat";
  const Descriptor File(::open(Path.c_str(), O_RDONLY | O_CLOEXEC));
  char Text[1024];
  const ssize_t Got = File.Valid() ? ::read(File.Get(), Text, sizeof Text) : -1;
  const int Other =
      Got > 0 ? Last_Processor(std::string_view(Text, static_cast<std::size_t>(Got))) : -1;
  const int Mine = ::sched_getcpu();
  return Other < 0 || Mine < 0 || Other == Mine;
}

std::size_t Look_Again(Look_State& State, int Socket, char* Into, std::size_t Count) {
  std::size_t Got = 0;
  if (Should_Look(State)) {
    const Look Result = Look_For_Message(Socket, Into, Count, Got);
    Learn(State, Result, Result == Look::Ran_Out && Shares_This_Core(State.Other_End));
  }
  return Got;
}

}  // namespace Windows::Pipe::Posix
