// Closing the inherited descriptors with the C library's own spawn action:
// the new process closes them itself, whatever was opened meanwhile.
#include "process_closing_posix.h"

namespace Windows {

bool Close_Other_Descriptors(posix_spawn_file_actions_t& Actions) noexcept {
  return posix_spawn_file_actions_addclosefrom_np(&Actions, 3) == 0;
}

}  // namespace Windows
