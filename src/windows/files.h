// Windows::Files: the questions the program asks the file system (is it a
// file, a folder), the changes it makes (create, delete, move), the current
// folder, and paths rewritten with each component as stored on disk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "named_error.h"
#include "path_style.h"

namespace Windows::Files {

QUORVEL_NAMED_ERROR(Error, Named_Error, "WINDOWS.FILES");
QUORVEL_NAMED_ERROR(File_Not_Found, Error, "WINDOWS.FILES.FILE_NOT_FOUND");
QUORVEL_NAMED_ERROR(Access_Denied, Error, "WINDOWS.FILES.ACCESS_DENIED");
/// A move that must not replace anything found its target there.
QUORVEL_NAMED_ERROR(Name_Taken, Error, "WINDOWS.FILES.NAME_TAKEN");

struct File_Time {
  std::uint32_t Low = 0;
  std::uint32_t High = 0;
};

struct Information {
  std::uint32_t Attributes = 0;
  File_Time Creation_Time;
  File_Time Last_Access_Time;
  File_Time Last_Write_Time;
  std::uint64_t Size = 0;
};

/// The attribute bit that marks a folder.
inline constexpr std::uint32_t Directory_Attribute = 0x10;
/// The attribute bit that marks a device: on POSIX also a FIFO or a socket,
/// anything that is neither a plain file nor a folder.
inline constexpr std::uint32_t Device_Attribute = 0x40;

/// Throws File_Not_Found when the name cannot be queried, whatever the reason.
Information Get_Attributes(const std::string& Name);

/// A file (not a folder) of this name exists. Never throws File_Not_Found.
bool Exists(const std::string& Name);
/// A folder of this name exists. Never throws File_Not_Found.
bool Is_Directory(const std::string& Name);
/// A plain file of this name exists: no folder, device, FIFO or socket,
/// which a reader could wait on for ever or never reach the end of. Asks
/// the file system only; the file is not opened. Never throws.
bool Is_Regular_File(const std::string& Name);

/// Deleting a name that does not exist is no error; any other failure
/// (a missing folder in the path, a file in use) throws Access_Denied.
void Delete(const std::string& Name);
/// Moves From onto To, replacing an existing To. Throws File_Not_Found on
/// any failure.
void Move(const std::string& From, const std::string& To);
/// Moves From onto To in one step that never replaces anything, also a To
/// made by someone else a moment before. Throws Name_Taken when To exists,
/// File_Not_Found on any other failure.
void Move_New(const std::string& From, const std::string& To);

/// Creates Name for writing in binary mode; fails when anything of that
/// name exists, a symbolic link included. Others may delete the file while
/// it is open (an interrupted run removes it). Null when it cannot be
/// made; then Taken says whether the name was in use.
std::FILE* Create_New(const std::string& Name, bool& Taken);

/// The file that Name finally designates: where a chain of symbolic links
/// leads (an absolute path), else Name itself, also for a link that leads
/// nowhere. Always Name on Windows.
std::string Link_Target(const std::string& Name);

/// Gives File (open for writing) the permission bits of the file Model,
/// and its owner and group as far as this process may set them, so that a
/// file written anew keeps who may read, run and change it. Nothing when
/// Model does not exist; nothing on Windows, where a file written anew
/// has the access rights its folder gives.
void Copy_Permissions(const std::string& Model, std::FILE* File);

/// The current folder without a trailing separator (except a root), however
/// long; empty when it cannot be read.
std::string Current_Directory();

/// What a system call that fills the caller's buffer gives (the Windows
/// convention of GetCurrentDirectoryA): Fill (Size, Buffer) returns the
/// count of characters it stored, or, when Size is too small, the size it
/// needs (its NUL included) and stores nothing; 0 on failure (the result is
/// then empty). The call is made again with the size it asks for, starting
/// with First_Size, so no byte it did not write is ever returned.
std::string Filled_Text(const std::function<std::uint32_t(std::uint32_t, char*)>& Fill,
                        std::uint32_t First_Size);

/// The stored name of the file or folder Path designates (its real letter
/// case, its long form), or "?" when there is none.
std::string Entry_Name(const std::string& Path);

/// Path with each component as stored on disk (native path style).
std::string Full_Name(const std::string& Path);

/// The rewriting rule of Full_Name for either path style, with the stored
/// name of a path's last component supplied by Lookup.
///  - a drive prefix ("c:") is upper-cased (Windows style);
///  - separators become the style's own; repeated ones and "." components
///    vanish; a leading separator (a rooted path) is kept;
///  - a first component beginning with "." and every ".." stay as typed;
///  - every other component becomes Lookup(path up to it), "?" for none.
/// A relative path stays relative; the result may be longer than Path.
std::string Full_Name(std::string_view Path, Path_Style Style,
                      const std::function<std::string(std::string_view)>& Lookup);

/// One directory search over Folder for names matching Pattern (a wildcard
/// of '*' and '?', letter case ignored as on Windows). Entries come in the
/// order the system lists them. A folder that cannot be read yields none.
class Directory_Search {
 public:
  Directory_Search(const std::string& Folder, const std::string& Pattern);
  ~Directory_Search();
  Directory_Search(const Directory_Search&) = delete;
  Directory_Search& operator=(const Directory_Search&) = delete;

  /// The next matching entry's name; false when there are no more.
  bool Next(std::string& Name);

 private:
  struct State;
  std::unique_ptr<State> Search;
};

}  // namespace Windows::Files
