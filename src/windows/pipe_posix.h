// Windows::Pipe over Unix-domain sockets: the parts of the mapping that the
// POSIX backend's own tests reach (the socket folder, names, error codes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pipe.h"

namespace Windows::Pipe::Posix {

/// Longest pipe name: the socket path "/tmp/named-pipes-<uid>/" & Name, and
/// the name it is made under (one byte more), must fit the 107 bytes a
/// Unix-domain socket address holds, whatever the user id.
constexpr std::size_t Max_Name_Length = 78;

/// Added to an errno that has no Windows counterpart: the bit Windows keeps
/// for codes of applications, so that no errno reads as a Windows code.
constexpr std::uint32_t Errno_Code_Base = 0x20000000u;

/// "/tmp/named-pipes-<uid>", uid the effective user id: where the pipes live.
std::string Default_Folder();

/// Open, with Folder in place of Default_Folder().
void Open_In(const std::string& Folder, Handle& Pipe, std::string_view Name, bool Is_Server,
             Direction Flow, std::size_t Buffer_Length, double Timeout = 0.0);

/// The Windows error code Raise_Error takes for Errno: its counterpart where
/// there is one, Errno_Code_Base + Errno otherwise.
std::uint32_t Error_Code(int Errno);

}  // namespace Windows::Pipe::Posix
