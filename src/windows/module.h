// Windows modules: which executable or shared library holds a piece of code,
// the process's own executable, and the folder the program runs from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "named_error.h"
#include "path_style.h"

namespace Windows {

QUORVEL_NAMED_ERROR(No_Module_Information, Named_Error, "WINDOWS.NO_MODULE_INFORMATION");

/// A module's handle: its base address on both platforms.
using Module_Handle = std::uintptr_t;

/// One loaded module (the fields of a tool-help module record that are used).
struct Module_Entry {
  std::uintptr_t Base_Address = 0;  ///< first byte of the module's image
  std::size_t Base_Size = 0;        ///< size of the image in bytes
  Module_Handle Handle = 0;
  std::string Module;    ///< the module's file name ("run.exe", "libc.so.6")
  std::string Exe_Path;  ///< full path of the module file
};

/// Calls Visit for each module of Process (0 = the current process) in the
/// order the system lists them, the executable first, until Visit returns
/// false. Returns true when Visit stopped the walk. Throws
/// No_Module_Information when the process's modules cannot be listed (on
/// POSIX only the current process can).
bool Walk_Modules(std::uint32_t Process, const std::function<bool(const Module_Entry&)>& Visit);

/// The first module of Process (0 = the current process): its executable.
/// Throws No_Module_Information when there is none.
Module_Entry First_Module(std::uint32_t Process);

/// The first module in the walk whose image holds Address: base <= Address
/// <= base + size, both bounds included. Throws No_Module_Information when
/// no module holds it.
Module_Entry Module_Containing(std::uintptr_t Address);

/// True when Handle is not the handle of the process's executable.
/// Throws No_Module_Information as First_Module.
bool Is_DLL(Module_Handle Handle);

/// The module's file name without its extension (the text after its last
/// '.'): "lib.core.dll" gives "lib.core", "run" gives "run".
std::string Module_Name(const Module_Entry& Entry);

/// The full path of the module file.
std::string Module_Path(const Module_Entry& Entry);

/// The file name of a module as the loader reports it for its handle
/// (GetModuleFileNameA on Windows, at most 299 characters; empty when it
/// cannot be obtained).
std::string Module_File_Name(const Module_Entry& Entry);

/// The folder of the file that holds the program's code, ending with the
/// native separator; empty when the file's name cannot be obtained or has
/// no separator. Throws No_Module_Information when the module cannot be found.
std::string Module_Directory();

/// Path up to and including its last Style separator ('\' or '/' only, as
/// the style writes it); empty when there is none.
std::string Folder_Of(std::string_view Path, Path_Style Style);

}  // namespace Windows
