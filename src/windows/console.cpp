// Console lines: one writer for both platforms.
#include "console.h"

#include <cstdio>

namespace Windows::Console {

namespace {
Capture* Active = nullptr;
}

Capture::Capture() : Previous(Active) { Active = this; }

Capture::~Capture() { Active = Previous; }

void Put_Line(std::string_view Line) {
  if (Active != nullptr) {
    Active->Captured.append(Line);
    Active->Captured.append("\r\n");
    return;
  }
  std::fwrite(Line.data(), 1, Line.size(), stdout);
  std::fwrite("\r\n", 1, 2, stdout);
}

void Flush() { std::fflush(stdout); }

}  // namespace Windows::Console
