// Windows::Console: the user's messages, whole lines on standard output, each
// ending in exactly CR LF on every platform.
#pragma once

#include <string>
#include <string_view>

namespace Windows::Console {

/// Writes Line followed by CR LF to standard output (or to the capture).
void Put_Line(std::string_view Line);
/// Pushes what was written so far out to the reader.
void Flush();

/// While one exists, Put_Line appends to it instead of standard output
/// (lets tests read the program's console byte for byte in-process).
class Capture {
public:
  Capture();
  ~Capture();
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;
  const std::string& Text() const noexcept { return Captured; }

private:
  friend void Put_Line(std::string_view Line);
  std::string Captured;
  Capture* Previous;
};

/// Puts standard output into byte mode where the C runtime would translate
/// line ends (the Windows text mode would turn CR LF into CR CR LF).
void Use_Binary_Mode();

}  // namespace Windows::Console
