// The quorvel-server program: its command line, the server end of the pipe,
// and the loop that carries the conversation's messages over it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pipe.h"
#include "session.h"

namespace Server {

struct Command_Line {
  std::string Pipename;
  std::size_t Pipe_Length = Protocol::Default_Reply_Size;
  std::uint32_t Wait_Ms = 60000;     ///< for the first client to connect; 0 = no limit
  std::uint32_t Linger_Ms = 600000;  ///< for each next client; 0 = one client only
};

/// Reads "[--wait=<seconds>] [--linger=<seconds>] <Pipename> [<Pipelength>]"
/// (the options in either order, each at most once, seconds as the Timeout
/// setting takes them). The Pipelength text is every word after the
/// pipename joined by blanks, read as the client reads its Pipelength: a
/// whole number from 1 to 2**31 - 1, anything else leaves 1000. Nothing without a
/// pipename or with a bad option.
std::optional<Command_Line> Read_Command_Line(const std::vector<std::string>& Arguments);

enum class Ending { Closed, Client_Gone, Idle };

/// Carries messages between the connected Pipe and Conversation until "C"
/// (Closed), until the client closes its end (Client_Gone), or until the
/// client is silent for the Timeout setting (Idle). A message longer than
/// Buffer_Length is read whole. Other pipe failures pass on.
Ending Serve(const Windows::Pipe::Handle& Pipe, Session& Conversation, std::size_t Buffer_Length);

/// The program's exit statuses: how its last client's conversation ended
/// (Closed, Client_Gone, Idle), that the pipe's name was in use, or that its
/// program file was replaced.
enum Exit_Status : int {
  Closed = 0,
  Failed = 1,
  Client_Gone = 2,
  Idle = 3,
  Busy = Windows::Pipe::Busy_Status,
  Replaced = 5
};

/// The whole program: creates the pipe, waits for the first client, serves
/// it, and then each next one that comes within the linger time, until a
/// client is silent for its Timeout or the program file has been replaced.
/// Engine formats the files. Returns the exit status; prints a line only
/// when it fails. Never throws.
int Main(const std::vector<std::string>& Arguments, Formatting_Engine& Engine) noexcept;

}  // namespace Server
