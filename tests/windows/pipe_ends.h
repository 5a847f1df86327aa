// Both ends of a pipe in one test: the server end on a thread of its own,
// the client in the test's thread, and text in and out of messages.
#pragma once

#include <chrono>
#include <future>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "pipe.h"

namespace Pipe_Ends {

namespace Pipe = Windows::Pipe;

/// A generous limit for waits that only a fault lets run out.
constexpr double Generous_Seconds = 20.0;

/// Calls Open until it finds the server end there (No_Server meanwhile), for
/// at most Generous_Seconds; then the last failure passes on.
template <class Opener>
void Retry_While_No_Server(Opener Open) {
  const auto Deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(Generous_Seconds);
  for (;;) {
    try {
      Open();
      return;
    } catch (const Pipe::No_Server&) {
      if (std::chrono::steady_clock::now() > Deadline) {
        throw;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

/// The client end of Name, once its server end is there.
inline Pipe::Handle Connect(const std::string& Name, std::size_t Buffer_Length = 64,
                            Pipe::Direction Flow = Pipe::Direction::Duplex) {
  Pipe::Handle Client;
  Retry_While_No_Server([&] { Pipe::Open(Client, Name, false, Flow, Buffer_Length); });
  return Client;
}

/// Runs Work(server end) on a thread of its own once a client has connected
/// to the pipe Name; the future gives Work's result or its exception.
template <class Body>
auto Serve(const std::string& Name, Body Work, std::size_t Buffer_Length = 64,
           Pipe::Direction Flow = Pipe::Direction::Duplex) {
  return std::async(std::launch::async, [=] {
    Pipe::Handle Server;
    Pipe::Open(Server, Name, true, Flow, Buffer_Length, Generous_Seconds);
    return Work(Server);
  });
}

/// One message as text, read with a buffer of Buffer_Length bytes.
inline std::string Read_Text(const Pipe::Handle& End, std::size_t Buffer_Length = 64,
                             double Timeout = 0.0) {
  std::vector<char> Buffer(Buffer_Length + 1);
  const std::size_t Count = Pipe::Read(End, Buffer.data(), Timeout);
  return std::string(Buffer.data(), Count);
}

inline void Write_Text(const Pipe::Handle& End, std::string_view Text) {
  Pipe::Write(End, Text.data(), Text.size());
}

}  // namespace Pipe_Ends
