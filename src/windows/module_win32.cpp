// Module queries over the tool-help snapshot and GetModuleFileNameA.
#include <cstring>

#include "handle_win32.h"
#include "module.h"
#include "win32_api.h"

// After <windows.h>: tool-help needs its types.
#include <tlhelp32.h>

namespace Windows {

namespace {

constexpr DWORD Snap_Module = 8;  // TH32CS_SNAPMODULE
constexpr DWORD Module_File_Buffer = 300;

Module_Entry To_Entry(const MODULEENTRY32& Record) {
  Module_Entry Entry;
  Entry.Base_Address = reinterpret_cast<std::uintptr_t>(Record.modBaseAddr);
  Entry.Base_Size = Record.modBaseSize;
  Entry.Handle = reinterpret_cast<Module_Handle>(Record.hModule);
  Entry.Module.assign(Record.szModule, strnlen(Record.szModule, sizeof Record.szModule));
  Entry.Exe_Path.assign(Record.szExePath, strnlen(Record.szExePath, sizeof Record.szExePath));
  return Entry;
}

}  // namespace

bool Walk_Modules(std::uint32_t Process, const std::function<bool(const Module_Entry&)>& Visit) {
  const Owned_Handle Snapshot(CreateToolhelp32Snapshot(Snap_Module, Process));
  if (!Snapshot.Valid()) {
    throw No_Module_Information();
  }
  MODULEENTRY32 Record{};
  Record.dwSize = sizeof Record;
  for (BOOL More = Module32First(Snapshot.Get(), &Record); More != 0;
       More = Module32Next(Snapshot.Get(), &Record)) {
    if (!Visit(To_Entry(Record))) {
      return true;
    }
  }
  return false;
}

std::string Module_File_Name(const Module_Entry& Entry) {
  char Buffer[Module_File_Buffer];
  const DWORD Count =
      GetModuleFileNameA(reinterpret_cast<HMODULE>(Entry.Handle), Buffer, Module_File_Buffer);
  return std::string(Buffer, Count < Module_File_Buffer ? Count : Module_File_Buffer);
}

}  // namespace Windows
