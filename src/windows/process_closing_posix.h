// What keeps a spawned program from inheriting the caller's descriptors:
// the platform's spawn action that closes them, or one close per open one.
#pragma once

#include <spawn.h>

namespace Windows {

/// Adds to Actions, after whatever they set up for the standard three, what
/// closes every descriptor above standard error in the new process: the
/// caller's caller may have left any of them open without close-on-exec.
/// False when the actions could not be added.
bool Close_Other_Descriptors(posix_spawn_file_actions_t& Actions) noexcept;

}  // namespace Windows
