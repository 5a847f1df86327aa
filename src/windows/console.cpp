// Console lines: one writer for both platforms.
#include "console.h"

#include <cstdio>

namespace Windows::Console {

namespace {
Capture* Active = nullptr;
}

Capture::Capture() : Previous(Active) {
  Active = this;
}

Capture::~Capture() {
  Active = Previous;
}

void Put_Line(std::string_view Line) {
  if (Active != nullptr) {
    Active->Captured.append(Line);
    Active->Captured.append("\r\n");
    return;
  }
  std::fwrite(Line.data(), 1, Line.size(), stdout);
  std::fwrite("\r\n", 1, 2, stdout);
}

void Flush() {
  std::fflush(stdout);
}

std::string Printable(std::string_view Text) {
  std::string Shown(Text);
  for (char& C : Shown) {
    const auto Byte = static_cast<unsigned char>(C);
    if (Byte < 32 || Byte == 127) {
      C = '?';
    }
  }
  return Shown;
}

}  // namespace Windows::Console
