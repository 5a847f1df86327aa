// Module queries built on the backend's walk over the loaded modules.
#include "module.h"

#include <optional>

namespace Windows {

namespace {

bool Holds(const Module_Entry& Entry, std::uintptr_t Address) noexcept {
  // 64-bit arithmetic, so that base + size cannot wrap on a 32-bit system.
  const std::uint64_t Base = Entry.Base_Address;
  const std::uint64_t Last = Base + Entry.Base_Size;
  return Base <= Address && Address <= Last;
}

}  // namespace

Module_Entry First_Module(std::uint32_t Process) {
  std::optional<Module_Entry> First;
  Walk_Modules(Process, [&](const Module_Entry& Entry) {
    First = Entry;
    return false;
  });
  if (!First) {
    throw No_Module_Information();
  }
  return *First;
}

Module_Entry Module_Containing(std::uintptr_t Address) {
  std::optional<Module_Entry> Found;
  Walk_Modules(0, [&](const Module_Entry& Entry) {
    if (!Holds(Entry, Address)) {
      return true;
    }
    Found = Entry;
    return false;
  });
  if (!Found) {
    throw No_Module_Information();
  }
  return *Found;
}

bool Is_DLL(Module_Handle Handle) {
  return First_Module(0).Handle != Handle;
}

std::string Module_Name(const Module_Entry& Entry) {
  const std::size_t Dot = Entry.Module.rfind('.');
  return Dot == std::string::npos ? Entry.Module : Entry.Module.substr(0, Dot);
}

std::string Module_Path(const Module_Entry& Entry) {
  return Entry.Exe_Path;
}

std::string Folder_Of(std::string_view Path, Path_Style Style) {
  const std::size_t Last = Path.rfind(Separator(Style));
  return Last == std::string_view::npos ? std::string() : std::string(Path.substr(0, Last + 1));
}

std::string Module_Directory() {
  const Module_Entry Own = Module_Containing(reinterpret_cast<std::uintptr_t>(&Module_Directory));
  return Folder_Of(Module_File_Name(Own), Native_Style);
}

}  // namespace Windows
