// The peer's user id on the BSDs and macOS, which have no SO_PEERCRED.
#include <unistd.h>

#include "peer_user_posix.h"

namespace Windows::Pipe::Posix {

bool Peer_User(int Socket, uid_t& User, pid_t& Process) {
  gid_t Group = 0;
  Process = 0;
  return ::getpeereid(Socket, &User, &Group) == 0;
}

}  // namespace Windows::Pipe::Posix
