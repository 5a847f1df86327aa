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

/// Text as it may be shown: each control character (bytes below 32, and
/// 127) becomes '?', so that a file name cannot move the cursor, clear the
/// screen or retitle the terminal. Other bytes, UTF-8 ones too, stay.
std::string Printable(std::string_view Text);

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
