// Who is at the other end of a connected Unix-domain socket: the one query
// that POSIX systems spell differently (SO_PEERCRED on Linux, getpeereid on
// the BSDs and macOS); CMake builds the file the system has.
#pragma once

#include <sys/types.h>

namespace Windows::Pipe::Posix {

/// The effective user id of the peer of the connected socket Socket, in
/// User, and its process id in Process (0 where the system does not tell);
/// false (errno set) when the system cannot tell the user.
bool Peer_Credentials(int Socket, uid_t& User, pid_t& Process);

}  // namespace Windows::Pipe::Posix
