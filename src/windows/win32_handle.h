// The one owner of a Win32 HANDLE: closed when it ends. Only _win32.cpp
// files include this.
#pragma once

#include <utility>

#include "win32_api.h"

namespace Windows {

class Owned_Handle {
public:
  Owned_Handle() = default;
  explicit Owned_Handle(HANDLE Value) noexcept : Value_(Value) {}
  ~Owned_Handle() { Reset(); }
  Owned_Handle(const Owned_Handle&) = delete;
  Owned_Handle& operator=(const Owned_Handle&) = delete;
  Owned_Handle(Owned_Handle&& Other) noexcept : Value_(std::exchange(Other.Value_, INVALID_HANDLE_VALUE)) {}
  Owned_Handle& operator=(Owned_Handle&& Other) noexcept {
    if (this != &Other) {
      Reset();
      Value_ = std::exchange(Other.Value_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }

  HANDLE Get() const noexcept { return Value_; }
  bool Valid() const noexcept { return Value_ != INVALID_HANDLE_VALUE && Value_ != nullptr; }
  /// Closes the handle now (CloseHandle's result is not examined).
  void Reset() noexcept {
    if (Valid()) {
      CloseHandle(Value_);
    }
    Value_ = INVALID_HANDLE_VALUE;
  }

private:
  HANDLE Value_ = INVALID_HANDLE_VALUE;
};

}  // namespace Windows
