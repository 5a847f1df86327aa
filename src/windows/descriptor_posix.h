// Descriptor: the one owner of a POSIX file descriptor, closed when it ends.
#pragma once

#include <unistd.h>

#include <utility>

namespace Windows {

class Descriptor {
 public:
  Descriptor() noexcept = default;
  /// Takes Number over; -1 (a failed call's result) means none.
  explicit Descriptor(int Number) noexcept : Fd(Number) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor(Descriptor&& Other) noexcept : Fd(std::exchange(Other.Fd, -1)) {}
  Descriptor& operator=(Descriptor&& Other) noexcept {
    if (this != &Other) {
      Reset(std::exchange(Other.Fd, -1));
    }
    return *this;
  }

  int Get() const noexcept { return Fd; }
  bool Valid() const noexcept { return Fd >= 0; }
  /// Closes what is held (errors ignored) and takes Number over.
  void Reset(int Number = -1) noexcept {
    if (Fd >= 0) {
      ::close(Fd);
    }
    Fd = Number;
  }

 private:
  int Fd = -1;
};

}  // namespace Windows
