// The peer's user and process on Linux: the credentials the kernel took at connect.
#include <sys/socket.h>

#include "peer_credentials_posix.h"

namespace Windows::Pipe::Posix {

bool Peer_Credentials(int Socket, uid_t& User, pid_t& Process) {
  ucred Peer{};
  socklen_t Size = sizeof Peer;
  if (::getsockopt(Socket, SOL_SOCKET, SO_PEERCRED, &Peer, &Size) != 0) {
    return false;
  }
  User = Peer.uid;
  Process = Peer.pid;
  return true;
}

}  // namespace Windows::Pipe::Posix
