// The peer's user on the BSDs and macOS, which have no SO_PEERCRED (its process is not told).
#include <unistd.h>

#include "peer_credentials_posix.h"

namespace Windows::Pipe::Posix {

bool Peer_Credentials(int Socket, uid_t& User, pid_t& Process) {
  gid_t Group = 0;
  Process = 0;
  return ::getpeereid(Socket, &User, &Group) == 0;
}

}  // namespace Windows::Pipe::Posix
