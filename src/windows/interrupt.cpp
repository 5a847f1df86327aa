// The name an interrupt deletes, kept where a signal handler may read it.
#include "interrupt.h"

#include <atomic>
#include <cstring>

namespace Windows::Interrupt {

namespace {

// The handler reads Name only while Armed, and Armed is cleared before Name
// changes: a handler never sees half a name.
char Name[4096];
std::atomic<bool> Armed{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a handler may only read a lock-free flag");

}  // namespace

void Remove_On_Interrupt(const std::string& File) noexcept {
  Armed.store(false);
  if (File.empty() || File.size() >= sizeof Name) {
    return;
  }
  std::memcpy(Name, File.c_str(), File.size() + 1);
  Armed.store(true);
}

const char* Pending_Name() noexcept {
  return Armed.load() ? Name : nullptr;
}

}  // namespace Windows::Interrupt
