// Version strings: the translation, the sub-block paths and the program's
// own file, the same over both backends.
#include "version.h"

#include <algorithm>
#include <atomic>

#include "module.h"
#include "unsigned.h"

namespace Windows::Version {

namespace {

constexpr std::size_t Longest_Value = 1000;

std::atomic<std::uint32_t> Translation{0x040904E4u};

}  // namespace

void Set_Translation(std::uint32_t Value) {
  Translation.store(Value);
}

std::string String_Path(std::string_view Name) {
  return "\\StringFileInfo\\" + Unsigned::Hex_Image(Translation.load()) + "\\" + std::string(Name);
}

std::string String_Value(std::string_view Name, const std::string& File) {
  std::string Value = Query(String_Path(Name), File);
  Value.resize(std::min(Value.size(), Value.find('\0')));
  if (Value.size() > Longest_Value) {
    throw Constraint_Error("version value longer than 1000 characters");
  }
  return Value;
}

const std::string& Own_Module_Path() {
  static const std::string Path =
      Module_Path(Module_Containing(reinterpret_cast<std::uintptr_t>(&Set_Translation)));
  return Path;
}

std::string Product_Name() {
  return String_Value("ProductName", Own_Module_Path());
}

std::string Product_Version() {
  return String_Value("ProductVersion", Own_Module_Path());
}

}  // namespace Windows::Version
