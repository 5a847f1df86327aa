// Closing the inherited descriptors where the C library has no spawn action
// for it: one close action for each descriptor open now without
// close-on-exec (the program opens nothing between this and the spawn).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "process_closing_posix.h"

namespace Windows {

bool Close_Other_Descriptors(posix_spawn_file_actions_t& Actions) noexcept {
  const long Open_Max = ::sysconf(_SC_OPEN_MAX);
  const int Last = static_cast<int>(std::clamp(Open_Max, 256L, 65536L));
  for (int Fd = 3; Fd < Last; ++Fd) {
    const int Flags = ::fcntl(Fd, F_GETFD);
    if (Flags >= 0 && (Flags & FD_CLOEXEC) == 0 &&
        posix_spawn_file_actions_addclose(&Actions, Fd) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace Windows
