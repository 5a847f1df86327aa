// Owned: the one owner of a Windows handle of one kind, closed when it ends.
// Owned_Handle holds a HANDLE (file, pipe, event), Owned_Key a registry key
// opened by us. Only _win32.cpp files include this.
#pragma once

#include <utility>

#include "win32_api.h"

namespace Windows {

/// Traits: Value (the handle type), None() (the value of no handle), Valid
/// (a value to close) and Close (errors ignored).
template <class Traits>
class Owned {
public:
  using Value = typename Traits::Value;

  Owned() noexcept = default;
  /// Takes Handle over; a value that is not Valid (a failed call's) means none.
  explicit Owned(Value Handle) noexcept : Held(Handle) {}
  ~Owned() { Reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& Other) noexcept : Held(std::exchange(Other.Held, Traits::None())) {}
  Owned& operator=(Owned&& Other) noexcept {
    if (this != &Other) {
      Reset(std::exchange(Other.Held, Traits::None()));
    }
    return *this;
  }

  Value Get() const noexcept { return Held; }
  bool Valid() const noexcept { return Traits::Valid(Held); }
  /// Closes what is held (errors ignored) and takes Handle over.
  void Reset(Value Handle = Traits::None()) noexcept {
    if (Valid()) {
      Traits::Close(Held);
    }
    Held = Handle;
  }

private:
  Value Held = Traits::None();
};

/// NULL and INVALID_HANDLE_VALUE (what failed calls return) are no handle.
struct Handle_Traits {
  using Value = HANDLE;
  static Value None() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Valid(Value H) noexcept { return H != nullptr && H != INVALID_HANDLE_VALUE; }
  static void Close(Value H) noexcept { CloseHandle(H); }
};
using Owned_Handle = Owned<Handle_Traits>;

/// A key opened by us, never a predefined root such as HKEY_CURRENT_USER,
/// which is not ours to close.
struct Key_Traits {
  using Value = HKEY;
  static Value None() noexcept { return nullptr; }
  static bool Valid(Value K) noexcept { return K != nullptr; }
  static void Close(Value K) noexcept { RegCloseKey(K); }
};
using Owned_Key = Owned<Key_Traits>;

}  // namespace Windows
