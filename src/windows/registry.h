// Windows::Registry: reads values of the registry through one process-wide
// position, a root (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE) and a current
// key below it. On POSIX each root is a file in the registry editor's export
// format (see docs/platform.md). The position has no lock: callers that may
// run at the same time must serialise their use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "error_codes.h"
#include "named_error.h"

namespace Windows::Registry {

QUORVEL_NAMED_ERROR(Error, Named_Error, "WINDOWS.REGISTRY");
QUORVEL_NAMED_ERROR(Key_Not_Found, Error, "WINDOWS.REGISTRY.KEY_NOT_FOUND");
QUORVEL_NAMED_ERROR(Entry_Not_Found, Error, "WINDOWS.REGISTRY.ENTRY_NOT_FOUND");
QUORVEL_NAMED_ERROR(Wrong_Type, Error, "WINDOWS.REGISTRY.WRONG_TYPE");
QUORVEL_NAMED_ERROR(Overflow, Error, "WINDOWS.REGISTRY.OVERFLOW");

enum class Root_Key { User = 0, Machine = 1 };

/// Value types, numbered as the registry numbers them.
enum Value_Type : std::uint32_t {
  Type_None = 0,
  Type_String = 1,         ///< REG_SZ
  Type_Expand_String = 2,  ///< REG_EXPAND_SZ
  Type_Binary = 3,         ///< REG_BINARY
  Type_Dword = 4,          ///< REG_DWORD
  Type_Multi_String = 7,   ///< REG_MULTI_SZ
  Type_Qword = 11,         ///< REG_QWORD
};

/// The buffers the reads offer: a value larger than these is not read.
inline constexpr std::size_t Integer_Buffer = 4;
inline constexpr std::size_t String_Buffer = 250;

/// The root becomes Which and the current key the root itself.
void Set_Root(Root_Key Which);
/// Machine when the root is HKEY_LOCAL_MACHINE, else User.
Root_Key Get_Root();

/// The key Path below the root (never below the current key) becomes the
/// current key; an empty Path makes it the root. Names ignore letter case.
/// Throws Key_Not_Found (the position is then unchanged).
void Open_Key(std::string_view Path);
void Open_Key(std::u16string_view Path);

/// The path of the current key below the root, its names spelled as the
/// registry stores them; empty for the root. Open_Key of it gives the same
/// key again. Throws Key_Not_Found when the name cannot be obtained.
std::u16string Current_Key_Name();

/// A REG_DWORD value of the current key. Throws Entry_Not_Found when it is
/// missing or longer than 4 bytes, Wrong_Type when it has another type.
std::uint32_t Get_Integer(std::string_view Name);

/// A REG_SZ value of the current key, without its terminating NUL. Throws
/// Overflow when it does not fit 250 bytes (249 characters and the NUL),
/// Entry_Not_Found when it is missing, Wrong_Type for any other type
/// (REG_EXPAND_SZ included).
std::string Get_String(std::string_view Name);

/// Closes the current key unless it is a root; the root is then current.
/// Each key is closed once, however often this is called.
void Close_Current();

/// What one read of a value returned: a Windows status (Error_Success,
/// Error_File_Not_Found, Error_More_Data: error_codes.h), the value's type
/// and, on success, its bytes.
struct Query_Result {
  std::uint32_t Status = 0;
  std::uint32_t Type = Type_None;
  std::string Data;
};

/// Reads the value Name of the current key into a buffer of Buffer_Size bytes.
Query_Result Query_Value(std::string_view Name, std::size_t Buffer_Size);

/// The path below the root of a key's full kernel name
/// ("\REGISTRY\MACHINE\SOFTWARE\X" gives "SOFTWARE\X" for Machine; a User
/// name has one more leading component, the user's SID). Throws
/// Key_Not_Found when the name has too few components.
std::u16string Path_Below_Root(std::u16string_view Kernel_Name, Root_Key Root);

}  // namespace Windows::Registry
