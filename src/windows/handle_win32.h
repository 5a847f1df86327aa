// Owned_Handle: the one owner of a Windows HANDLE (file, pipe, event), and
// Owned_Key of a registry key, each closed when it ends. Only _win32.cpp
// files include this.
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

/// A registry key opened by us (never a predefined root such as
/// HKEY_CURRENT_USER, which is not ours to close): closed once, by its one
/// owner.
class Owned_Key {
public:
  Owned_Key() noexcept = default;
  explicit Owned_Key(HKEY Key) noexcept : Value(Key) {}
  ~Owned_Key() { Reset(); }
  Owned_Key(const Owned_Key&) = delete;
  Owned_Key& operator=(const Owned_Key&) = delete;
  Owned_Key(Owned_Key&& Other) noexcept : Value(std::exchange(Other.Value, nullptr)) {}
  Owned_Key& operator=(Owned_Key&& Other) noexcept {
    if (this != &Other) {
      Reset(std::exchange(Other.Value, nullptr));
    }
    return *this;
  }

  HKEY Get() const noexcept { return Value; }
  bool Valid() const noexcept { return Value != nullptr; }
  /// Closes what is held (errors ignored) and takes Key over.
  void Reset(HKEY Key = nullptr) noexcept {
    if (Valid()) {
      RegCloseKey(Value);
    }
    Value = Key;
  }

private:
  HKEY Value = nullptr;
};

}  // namespace Windows
