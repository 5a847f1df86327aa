// Server::Program_File: what tells the server's own program file from the
// one that replaces it, so that a server that stays for one client after
// another never serves code that has since been replaced.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace Server {

/// What a file is, as far as its replacement goes: another file under the
/// same name, or the same file written again, gives another identity.
struct File_Identity {
  std::uint64_t Volume = 0;   ///< device (POSIX) or volume serial number (Windows)
  std::uint64_t Index = 0;    ///< inode or file index
  std::uint64_t Written = 0;  ///< time of the last write, in the system's own units
  bool operator==(const File_Identity&) const = default;
};

/// The identity of the file Path names; nothing when there is none or it
/// cannot be looked at.
std::optional<File_Identity> Identity_Of(const std::string& Path);

/// The program file the server runs from, as it was when the server started.
class Program_File {
 public:
  /// Path: the program file (empty when it is not known).
  explicit Program_File(std::string Path) : Name(std::move(Path)), Started(Identity_Of(Name)) {}

  /// Whether the file Path names is no longer the one the server started
  /// from (replaced, written again, removed). A program file that could not
  /// be looked at when the server started counts as replaced: without it the
  /// server cannot tell, and ends rather than risk serving old code.
  bool Replaced() const { return !Started || Identity_Of(Name) != Started; }

 private:
  std::string Name;
  std::optional<File_Identity> Started;
};

/// Gives the memory that the program has freed back to the system, so that
/// a server waiting for its next client does not keep the last file's
/// peak resident. Never fails.
void Return_Free_Memory() noexcept;

}  // namespace Server
