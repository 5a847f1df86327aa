// Windows::Version: named string values (ProductName, ProductVersion) of a
// file's version information, and those of the program's own file. On
// Windows they come from the version resource; on POSIX from the block of
// version strings that the build embeds in an executable (section
// ".quorvel_version"; see docs/platform.md).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "named_error.h"

namespace Windows::Version {

QUORVEL_NAMED_ERROR(No_Version_Info, Named_Error, "WINDOWS.VERSION.NO_VERSION_INFO");

/// Language (high 16 bits) and code page (low 16 bits) of the string table
/// read; 040904E4 (US English, code page 1252) until changed.
void Set_Translation(std::uint32_t Value);

/// "\StringFileInfo\" & the translation in eight hexadecimal digits & "\"
/// & Name: where the string value Name is looked up.
std::string String_Path(std::string_view Name);

/// The bytes of the value at Sub_Block in File's version information (a
/// string value with its terminating NUL). Throws No_Version_Info when the
/// file cannot be read, has no version information or no such value.
std::string Query(const std::string& Sub_Block, const std::string& File);

/// The string value Name of File for the current translation, up to its
/// NUL. Throws No_Version_Info as Query, Constraint_Error for a value
/// longer than 1000 characters.
std::string String_Value(std::string_view Name, const std::string& File);

/// The full path of the file (executable or shared library) that holds
/// this package's code, found on first use. Throws
/// Windows::No_Module_Information when it cannot be found.
const std::string& Own_Module_Path();

/// String_Value ("ProductName" / "ProductVersion", Own_Module_Path ()).
std::string Product_Name();
std::string Product_Version();

}  // namespace Windows::Version
