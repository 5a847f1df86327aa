// Windows::Pipe: one message-mode named pipe, either end. The server end
// creates the pipe and waits (with a time limit) for its one client, and may
// then take one client after another; the client end opens an existing
// pipe. Every failure is a named exception.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "named_error.h"

namespace Windows::Pipe {

QUORVEL_NAMED_ERROR(Error, Named_Error, "WINDOWS.PIPE");
QUORVEL_NAMED_ERROR(Write_Incomplete, Error, "WINDOWS.PIPE.WRITE_INCOMPLETE");
QUORVEL_NAMED_ERROR(Unknown_Error, Error, "WINDOWS.PIPE.UNKNOWN_ERROR");
QUORVEL_NAMED_ERROR(Timeout, Error, "WINDOWS.PIPE.TIMEOUT");
QUORVEL_NAMED_ERROR(Not_Server, Error, "WINDOWS.PIPE.NOT_SERVER");
QUORVEL_NAMED_ERROR(No_Server, Error, "WINDOWS.PIPE.NO_SERVER");
QUORVEL_NAMED_ERROR(No_Handle, Error, "WINDOWS.PIPE.NO_HANDLE");
QUORVEL_NAMED_ERROR(No_Data, Error, "WINDOWS.PIPE.NO_DATA");
QUORVEL_NAMED_ERROR(Name_In_Use, Error, "WINDOWS.PIPE.NAME_IN_USE");
QUORVEL_NAMED_ERROR(More_Data, Error, "WINDOWS.PIPE.MORE_DATA");
QUORVEL_NAMED_ERROR(Invalid_Name, Error, "WINDOWS.PIPE.INVALID_NAME");
QUORVEL_NAMED_ERROR(Broken, Error, "WINDOWS.PIPE.BROKEN");
QUORVEL_NAMED_ERROR(Bad_Pipe, Error, "WINDOWS.PIPE.BAD_PIPE");
QUORVEL_NAMED_ERROR(Access_Denied, Error, "WINDOWS.PIPE.ACCESS_DENIED");

/// Data direction seen from the server end. Reading or writing against it
/// throws Access_Denied.
enum class Direction { Duplex = 0, Inbound = 1, Outbound = 2 };

/// A pipe object; its layout belongs to the backend.
struct Object;
struct Object_Closer {
  void operator()(Object* Pipe) const noexcept;
};
/// The one owner of a pipe; null means no pipe. Ending it closes the pipe.
using Handle = std::unique_ptr<Object, Object_Closer>;

/// Creates (server) or opens (client) the pipe Name, first closing what Pipe
/// held. A server end waits for its one client, at most Timeout seconds
/// (0 = no limit; Timeout when it passes). Only a server may give a time-out
/// (Not_Server otherwise). An empty Name throws Constraint_Error; a missing
/// pipe No_Server; a pipe whose one client is connected, or a second server
/// end, Name_In_Use. On any failure Pipe is left null and the exception
/// passes on.
void Open(Handle& Pipe, std::string_view Name, bool Is_Server, Direction Flow,
          std::size_t Buffer_Length, double Timeout = 0.0);

/// Closes the pipe; safe on null and never fails. Pipe becomes null.
void Close(Handle& Pipe) noexcept;

/// Server end: lets its client go and takes the next client's connection
/// from now on (one client at a time, as Open). Only once the client has
/// nothing left to read (after its last message, or once it has gone):
/// what it has not read is lost. Nothing when no client is connected.
/// Not_Server on a client end; No_Handle on null.
void Listen_Again(const Handle& Pipe);

/// Server end after Listen_Again: waits at most Timeout seconds (0 = no
/// limit) for the next client to connect, returning at once when one is
/// there; Timeout when none came, the pipe still taking the next one.
/// Not_Server on a client end; No_Handle on null.
void Wait_For_Client(const Handle& Pipe, double Timeout);

/// Reads one message into Buffer (at least Buffer_Length bytes) and returns
/// its length (an empty message gives 0). A longer message throws More_Data
/// with its first Buffer_Length bytes in Buffer; the rest of it is what the
/// next Read returns. The server end waits at most Timeout seconds for the
/// message (0 = no limit; Timeout when it passes, the pipe unchanged); a
/// client may not give one (Not_Server). Broken once the other end has
/// closed and everything it wrote has been read; No_Handle on null.
std::size_t Read(const Handle& Pipe, char* Buffer, double Timeout = 0.0);

/// Reads one message as Read does, at either end, waiting at most Limit
/// seconds (more than 0) for the whole of it: Timeout when it has not come
/// whole by then. A message that had begun to come is lost with it, and the
/// pipe then reads as Broken.
std::size_t Read_Within(const Handle& Pipe, char* Buffer, double Limit);

/// Writes Length bytes as one message. No_Data when the other end has
/// closed; No_Handle on null.
void Write(const Handle& Pipe, const char* Buffer, std::size_t Length);

/// The exit status of a server program that could not make its pipe
/// because the name was in use: how a client that started it learns that
/// another client holds the server, even once that server has ended.
inline constexpr int Busy_Status = 4;

/// The longest buffer a read takes: what one Windows read can report.
inline constexpr std::size_t Longest_Length = 0x7FFFFFFF;

/// A Pipelength text as a buffer length: a whole number from 1 to
/// Longest_Length; nothing for any other text (the caller keeps its 1000).
std::optional<std::size_t> Length_Value(std::string_view Text);

/// The full Windows name: "\\.\pipe\" followed by Name.
std::string Full_Pipe_Name(std::string_view Name);

/// Raises the exception for a Windows error code (0 and unknown codes also
/// leave a log record). Never returns.
[[noreturn]] void Raise_Error(std::uint32_t Code);

/// Seconds to milliseconds rounded half up (Seconds * 1000 + 0.5 cut to a
/// whole number, so 0.0004 gives 0); 0 gives INFINITE (0xFFFFFFFF). Throws
/// Constraint_Error unless 0 < Seconds * 1000 + 0.5 < 2**32.
std::uint32_t Milliseconds(double Seconds);

}  // namespace Windows::Pipe
