// Registry settings of tests: what both platforms share.
#include "registry_setting.h"

#include "scratch.h"

namespace Test_Support {

void Registry_Setting::Set_String(std::string_view Name, std::string_view Text) {
  std::string Data(Text);
  Data.push_back('\0');
  Set(Name, Windows::Registry::Type_String, Data);
}

void Registry_Setting::Set_Dword(std::string_view Name, std::uint32_t Value) {
  std::string Data;
  for (int Shift = 0; Shift < 32; Shift += 8) {
    Data.push_back(static_cast<char>(Value >> Shift & 0xFFu));
  }
  Set(Name, Windows::Registry::Type_Dword, Data);
}

std::string Unique_Product_Name() {
  return Unique_Name("Quorvel Test");
}

}  // namespace Test_Support
