// The probe with its logging code in a shared library: the library's entry
// prints the library's base address in hexadecimal, then runs the probe.
#include <cstdint>

#include "console.h"
#include "log_probe_body.h"
#include "module.h"
#include "unsigned.h"

extern "C" int Probe_Library_Main(int argc, char** argv) {
  const Windows::Module_Entry Own =
      Windows::Module_Containing(reinterpret_cast<std::uintptr_t>(&Probe_Main));
  Windows::Console::Put_Line(Unsigned::Hex_Image_Wide(Own.Base_Address, 8));
  return Probe_Main(argc, argv);
}
