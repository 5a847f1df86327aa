// The transport's own limit: a minimal ping-pong over Windows::Pipe, the
// server end in a child process, as quorvel and its server are.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "measures.h"
#include "scratch.h"

namespace Bench {

namespace Pipe = Windows::Pipe;

namespace {

// About as long as a token reply ("kind,column,text") of the runtime sources.
constexpr std::string_view Reply = "1,10,Item";
constexpr std::size_t Buffer_Length = 1000;

// The child: answers every message with Reply until the client closes.
[[noreturn]] void Answer_Pings(const std::string& Name) {
  try {
    Pipe::Handle Server;
    Pipe::Open(Server, Name, true, Pipe::Direction::Duplex, Buffer_Length, 30.0);
    char Buffer[Buffer_Length];
    for (;;) {
      Pipe::Read(Server, Buffer);
      Pipe::Write(Server, Reply.data(), Reply.size());
    }
  } catch (const Pipe::Broken&) {
    ::_exit(0);
  } catch (...) {
    ::_exit(1);
  }
}

}  // namespace

Pipe::Handle Connect(const std::string& Name, double Limit_Seconds) {
  const auto Deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(Limit_Seconds);
  for (;;) {
    try {
      Pipe::Handle Client;
      Pipe::Open(Client, Name, false, Pipe::Direction::Duplex, Buffer_Length);
      return Client;
    } catch (const Pipe::No_Server&) {
      if (std::chrono::steady_clock::now() > Deadline) {
        throw;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
}

double Ping_Pong(std::uint64_t Round_Trips) {
  const std::string Name = Test_Support::Unique_Name("quorvel-bench-ping");
  const pid_t Child = ::fork();
  if (Child < 0) {
    throw std::runtime_error("fork failed");
  }
  if (Child == 0) {
    Answer_Pings(Name);
  }
  double Seconds = 0;
  {
    Pipe::Handle Client = Connect(Name, 10.0);
    char Buffer[Buffer_Length];
    const auto Begin = std::chrono::steady_clock::now();
    for (std::uint64_t I = 0; I < Round_Trips; ++I) {
      Pipe::Write(Client, "N", 1);
      if (Pipe::Read(Client, Buffer) != Reply.size()) {
        throw std::runtime_error("ping-pong: a reply of the wrong length");
      }
    }
    Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Begin).count();
  }
  int Status = 0;
  ::waitpid(Child, &Status, 0);
  if (!WIFEXITED(Status) || WEXITSTATUS(Status) != 0) {
    throw std::runtime_error("ping-pong: the server end failed");
  }
  return Seconds;
}

}  // namespace Bench
