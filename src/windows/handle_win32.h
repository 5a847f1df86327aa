// Scoped_Handle: the one owner of every kind of Windows handle, closed when
// it ends. A traits type per kind says what "none" is and how to close it:
// kernel handles (files, pipes, events, processes, threads, snapshots),
// directory searches (FindFirstFile) and registry keys. Only _win32.cpp
// files include this.
#pragma once

#include <utility>

#include "win32_api.h"

namespace Windows {

template <typename Traits>
class Scoped_Handle {
 public:
  using Value_Type = typename Traits::Value_Type;

  Scoped_Handle() noexcept = default;
  /// Takes Handle over; what Traits counts as none (a failed call's result)
  /// is held as none.
  explicit Scoped_Handle(Value_Type Handle) noexcept : Value(Handle) {}
  ~Scoped_Handle() { Reset(); }
  Scoped_Handle(const Scoped_Handle&) = delete;
  Scoped_Handle& operator=(const Scoped_Handle&) = delete;
  Scoped_Handle(Scoped_Handle&& Other) noexcept : Value(Other.Release()) {}
  Scoped_Handle& operator=(Scoped_Handle&& Other) noexcept {
    if (this != &Other) {
      Reset(Other.Release());
    }
    return *this;
  }

  Value_Type Get() const noexcept { return Value; }
  bool Valid() const noexcept { return Traits::Is_Valid(Value); }
  /// Closes what is held (errors ignored) and takes Handle over.
  void Reset(Value_Type Handle = Traits::None()) noexcept {
    if (Valid()) {
      Traits::Close(Value);
    }
    Value = Handle;
  }
  /// Gives what is held up without closing it.
  Value_Type Release() noexcept { return std::exchange(Value, Traits::None()); }

 private:
  Value_Type Value = Traits::None();
};

/// CloseHandle's handles: NULL and INVALID_HANDLE_VALUE both mean none, as
/// the calls that make them fail with one or the other.
struct Kernel_Handle_Traits {
  using Value_Type = HANDLE;
  static HANDLE None() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Is_Valid(HANDLE Handle) noexcept {
    return Handle != nullptr && Handle != INVALID_HANDLE_VALUE;
  }
  static void Close(HANDLE Handle) noexcept { CloseHandle(Handle); }
};

/// FindFirstFile's searches, ended by FindClose.
struct Find_Handle_Traits : Kernel_Handle_Traits {
  static void Close(HANDLE Handle) noexcept { FindClose(Handle); }
};

/// Opened registry keys. A predefined root may be held, and counts as none:
/// it is never closed.
struct Registry_Key_Traits {
  using Value_Type = HKEY;
  static HKEY None() noexcept { return nullptr; }
  static bool Is_Valid(HKEY Key) noexcept {
    return Key != nullptr && Key != HKEY_CURRENT_USER && Key != HKEY_LOCAL_MACHINE;
  }
  static void Close(HKEY Key) noexcept { RegCloseKey(Key); }
};

using Owned_Handle = Scoped_Handle<Kernel_Handle_Traits>;
using Owned_Search = Scoped_Handle<Find_Handle_Traits>;
using Owned_Key = Scoped_Handle<Registry_Key_Traits>;

/// A started process's two handles (CreateProcess's PROCESS_INFORMATION).
struct Owned_Process {
  Owned_Handle Process;
  Owned_Handle Thread;

  Owned_Process() noexcept = default;
  explicit Owned_Process(const PROCESS_INFORMATION& Started) noexcept
      : Process(Started.hProcess), Thread(Started.hThread) {}
};

}  // namespace Windows
