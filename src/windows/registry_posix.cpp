// The registry over two files in the registry editor's export format:
// HKEY_CURRENT_USER is $XDG_CONFIG_HOME/registry/user.reg, or without it
// ~/.config/registry/user.reg (the home folder from the password database),
// and HKEY_LOCAL_MACHINE /etc/registry/machine.reg (see registry_files.h).
// A missing or unreadable file is an empty root. The files are only read.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "registry.h"
#include "registry_files.h"
#include "registry_text.h"
#include "wide.h"

namespace Windows::Registry {

namespace {

// The position: the root, and the current key as read when it was opened
// (none while the root itself is current).
struct Position {
  Root_Key Root = Root_Key::User;
  std::optional<Stored_Key> Current_Key;
};
Position Here;

std::string Home_Folder() {
  const passwd* Entry = ::getpwuid(::getuid());
  return Entry != nullptr && Entry->pw_dir != nullptr ? Entry->pw_dir : "";
}

std::string Root_File(Root_Key Root) {
  if (Root == Root_Key::Machine) {
    return std::string(Machine_File);
  }
  const char* Config_Home = std::getenv("XDG_CONFIG_HOME");
  return User_File(Config_Home != nullptr ? Config_Home : "", Home_Folder());
}

// The key Path of the root's file, read afresh.
std::optional<Stored_Key> Read_Key(Root_Key Root, std::string_view Path) {
  return Hive::Read_Key(Root_File(Root),
                        Root == Root_Key::Machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER",
                        Path);
}

}  // namespace

void Close_Current() {
  Here.Current_Key.reset();
}

void Set_Root(Root_Key Which) {
  Here.Root = Which;
  Close_Current();
}

Root_Key Get_Root() {
  return Here.Root;
}

void Open_Key(std::string_view Path) {
  if (Path.empty()) {
    Close_Current();
    return;
  }
  std::optional<Stored_Key> Found = Read_Key(Here.Root, Path);
  if (!Found) {
    throw Key_Not_Found();
  }
  Here.Current_Key = std::move(Found);
}

void Open_Key(std::u16string_view Path) {
  Open_Key(To_UTF_8(Path));
}

std::u16string Current_Key_Name() {
  return Here.Current_Key ? To_UTF_16(Here.Current_Key->Path) : u"";
}

Query_Result Query_Value(std::string_view Name, std::size_t Buffer_Size) {
  // The root's own values are read afresh; an opened key keeps what it held.
  const Stored_Key Key = Here.Current_Key ? *Here.Current_Key : *Read_Key(Here.Root, "");
  const Stored_Value* Value = Find_Value(Key, Name);
  Query_Result Result;
  if (Value == nullptr) {
    Result.Status = Error_File_Not_Found;
    return Result;
  }
  Result.Type = Value->Type;
  if (Value->Data.size() > Buffer_Size) {
    Result.Status = Error_More_Data;
  } else {
    Result.Data = Value->Data;
  }
  return Result;
}

}  // namespace Windows::Registry
