// What the portable half of Windows::Pipe and its two backends share: the
// settings a pipe object is made with and the operations each backend
// supplies. Only the pipe package includes this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pipe.h"

namespace Windows::Pipe {

/// A wait without limit (INFINITE).
constexpr std::uint32_t Infinite = 0xFFFFFFFFu;

/// What a pipe object is made with; fixed for its life.
struct Settings {
  std::string Name;
  bool Is_Server = false;
  Direction Flow = Direction::Duplex;
  std::size_t Buffer_Length = 0;
  std::uint32_t Timeout_Ms = Infinite;  ///< the server end's wait for its client
};

/// Open's checks before anything is made: a client with a time-out throws
/// Not_Server, an empty name Constraint_Error, a time-out out of range
/// Constraint_Error.
Settings Settings_For(std::string_view Name, bool Is_Server, Direction Flow,
                      std::size_t Buffer_Length, double Timeout);

/// Backend: creates the server end and waits for its client, or opens the
/// client end. Throws the pipe's exceptions; nothing is left behind then.
Handle Make(const Settings& Wanted);

/// Backend: whether Pipe is the end that created the pipe.
bool Is_Server(const Object& Pipe) noexcept;

/// Backend: Listen_Again on a server end.
void Listen_For_Next(Object& Pipe);

/// Backend: Wait_For_Client on a server end, Timeout_Ms at most.
void Wait_For_Next(Object& Pipe, std::uint32_t Timeout_Ms);

/// Backend: one message into Buffer (Buffer_Length bytes at most), waiting
/// at most Timeout_Ms for the whole of it (Timeout otherwise; a message
/// begun then is lost, and the pipe reads as Broken from then on).
std::size_t Read_Message(Object& Pipe, char* Buffer, std::uint32_t Timeout_Ms);

/// Backend: Length bytes from Buffer as one message.
void Write_Message(Object& Pipe, const char* Buffer, std::size_t Length);

}  // namespace Windows::Pipe
