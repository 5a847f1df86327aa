// Owned_Handle: the one owner of a Windows HANDLE (file, pipe, event),
// closed when it ends. Only _win32.cpp files include this.
#pragma once

#include <utility>

#include "win32_api.h"

namespace Windows {

class Owned_Handle {
public:
  Owned_Handle() noexcept = default;
  /// Takes Handle over; NULL and INVALID_HANDLE_VALUE (failed calls) mean none.
  explicit Owned_Handle(HANDLE Handle) noexcept : Value(Handle) {}
  ~Owned_Handle() { Reset(); }
  Owned_Handle(const Owned_Handle&) = delete;
  Owned_Handle& operator=(const Owned_Handle&) = delete;
  Owned_Handle(Owned_Handle&& Other) noexcept
      : Value(std::exchange(Other.Value, INVALID_HANDLE_VALUE)) {}
  Owned_Handle& operator=(Owned_Handle&& Other) noexcept {
    if (this != &Other) {
      Reset(std::exchange(Other.Value, INVALID_HANDLE_VALUE));
    }
    return *this;
  }

  HANDLE Get() const noexcept { return Value; }
  bool Valid() const noexcept { return Value != nullptr && Value != INVALID_HANDLE_VALUE; }
  /// Closes what is held (errors ignored) and takes Handle over.
  void Reset(HANDLE Handle = INVALID_HANDLE_VALUE) noexcept {
    if (Valid()) {
      CloseHandle(Value);
    }
    Value = Handle;
  }

private:
  HANDLE Value = INVALID_HANDLE_VALUE;
};

}  // namespace Windows
