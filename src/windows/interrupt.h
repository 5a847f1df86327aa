// Windows::Interrupt: a run stopped from outside (Ctrl+C, a closed console,
// SIGINT, SIGTERM, SIGHUP) removes the file it was writing before it ends,
// so that no temporary is left beside a destination.
#pragma once

#include <string>

namespace Windows::Interrupt {

/// The exit status of an interrupted run: 130 on POSIX (the shell's 128 +
/// SIGINT), 1 on Windows.
extern const int Interrupted_Status;

/// Installs the handlers: from now on an interrupt deletes the file last
/// named by Remove_On_Interrupt, then ends the process at once with
/// Interrupted_Status.
void Install();

/// The file an interrupt deletes from now on; "" for none. Copied into
/// storage made beforehand, since a handler may neither allocate nor lock;
/// a name longer than that storage (4095 bytes) is not kept.
void Remove_On_Interrupt(const std::string& Name) noexcept;

/// For the handlers: the name to delete, or null for none.
/// Async-signal-safe.
const char* Pending_Name() noexcept;

}  // namespace Windows::Interrupt
