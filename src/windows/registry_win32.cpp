// The registry through RegOpenKeyExA/W, RegQueryValueExA, RegCloseKey and,
// for the current key's name, NtQueryKey.
#include <vector>

#include "handle_win32.h"
#include "registry.h"

extern "C" LONG NTAPI NtQueryKey(HANDLE Key, int Information_Class, PVOID Information, ULONG Length,
                                 PULONG Result_Length);

namespace Windows::Registry {

namespace {

constexpr REGSAM Full_Access = 0x3001F;
constexpr int Key_Name_Information = 3;
constexpr LONG Status_Buffer_Too_Small = static_cast<LONG>(0xC0000023);

// The package's position: the root, and the key opened below it, if any
// (the root itself is current while there is none). The opened key has one
// owner, so it is closed exactly once: when it is replaced, closed or when
// the process ends.
struct Position {
  HKEY Root = HKEY_CURRENT_USER;
  Owned_Key Opened;
  HKEY Current() const noexcept { return Opened.Valid() ? Opened.Get() : Root; }
};
Position Here;

// Opens with full access, falling back to read access when that is denied.
template <class Open_Function, class Char>
void Open_With(Open_Function Open, const std::basic_string<Char>& Path) {
  if (Path.empty()) {
    Close_Current();
    return;
  }
  HKEY New_Key = nullptr;
  LONG Result = Open(Here.Root, Path.c_str(), 0, Full_Access, &New_Key);
  if (Result == ERROR_ACCESS_DENIED) {
    Result = Open(Here.Root, Path.c_str(), 0, KEY_READ, &New_Key);
  }
  if (Result != ERROR_SUCCESS) {
    throw Key_Not_Found();
  }
  Here.Opened.Reset(New_Key);
}

}  // namespace

void Close_Current() {
  Here.Opened.Reset();
}

void Set_Root(Root_Key Which) {
  Here.Root = Which == Root_Key::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  Close_Current();
}

Root_Key Get_Root() {
  return Here.Root == HKEY_LOCAL_MACHINE ? Root_Key::Machine : Root_Key::User;
}

void Open_Key(std::string_view Path) {
  Open_With(RegOpenKeyExA, std::string(Path));
}

void Open_Key(std::u16string_view Path) {
  Open_With(RegOpenKeyExW, std::wstring(Path.begin(), Path.end()));
}

std::u16string Current_Key_Name() {
  if (!Here.Opened.Valid()) {
    return u"";
  }
  ULONG Size = 0;
  if (NtQueryKey(Here.Current(), Key_Name_Information, nullptr, 0, &Size) !=
      Status_Buffer_Too_Small) {
    throw Key_Not_Found();
  }
  // A 4-byte length, then the name; the buffer in whole 4-byte words.
  const ULONG Name_Bytes = Size >= 4 ? Size - 4 : 0;
  std::vector<ULONG> Buffer(1 + (Name_Bytes + 3) / 4);
  const ULONG Length = static_cast<ULONG>(Buffer.size() * sizeof(ULONG));
  if (NtQueryKey(Here.Current(), Key_Name_Information, Buffer.data(), Length, &Size) != 0 ||
      Buffer[0] == 0) {
    throw Key_Not_Found();
  }
  const auto* Name = reinterpret_cast<const char16_t*>(Buffer.data() + 1);
  return Path_Below_Root(std::u16string_view(Name, Buffer[0] / 2), Get_Root());
}

Query_Result Query_Value(std::string_view Name, std::size_t Buffer_Size) {
  std::vector<BYTE> Buffer(Buffer_Size);
  DWORD Type = 0;
  DWORD Size = static_cast<DWORD>(Buffer_Size);
  const std::string Value_Name(Name);
  Query_Result Result;
  Result.Status = static_cast<std::uint32_t>(
      RegQueryValueExA(Here.Current(), Value_Name.c_str(), nullptr, &Type, Buffer.data(), &Size));
  Result.Type = Type;
  if (Result.Status == ERROR_SUCCESS) {
    Result.Data.assign(reinterpret_cast<const char*>(Buffer.data()), Size);
  }
  return Result;
}

}  // namespace Windows::Registry
