// The registry editor's export format (.reg files): the keys and values of
// one root read from such a text. The POSIX registry keeps each root in one
// such file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Windows::Registry {

struct Stored_Value {
  std::string Name;  ///< "" for the default value ("@")
  std::uint32_t Type = 0;
  std::string Data;  ///< the bytes an 8-bit read returns (text in UTF-8)
};

struct Stored_Key {
  std::string Path;  ///< below the root, names as written in the file
  std::vector<Stored_Value> Values;
  bool Broken = false;  ///< a line of it could not be read: it has no values
};

/// The keys of one root as written in a registry export.
///
/// Accepted: a first line "Windows Registry Editor Version 5.00" or
/// "REGEDIT4" (without it the whole text counts as empty); UTF-16LE with a
/// byte-order mark or 8-bit text (UTF-8, an optional mark dropped); CR LF,
/// LF or CR line ends; ';' comments; sections "[<root>\path]" (other roots
/// and "[-...]" deletions are skipped); values "Name"= or @= followed by
/// "text" (escapes \\ and \"), dword:<1 to 8 hex digits>, hex:<bytes> or
/// hex(<type>):<bytes> with continuation lines ending in '\', or '-'.
/// Text of the types 1, 2 and 7 given as hex in a version 5.00 file is
/// UTF-16LE and is read as UTF-8. A value line that cannot be read leaves
/// its key without values; nothing else is affected.
/// What one reading of an export did: the name comparisons of keys and
/// values, so that tests can see that the work grows with the file's size
/// and not with its square.
struct Parse_Counts {
  std::size_t Name_Comparisons = 0;
};

class Hive {
 public:
  /// Root_Name is "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE". Counts, when
  /// given, receives what the reading did.
  static Hive Parse(std::string_view File_Content, std::string_view Root_Name,
                    Parse_Counts* Counts = nullptr);

  /// Parse (File_Content, Root_Name).Find (Path), keeping no more than
  /// that needs: the values of Path and one key below it. What the
  /// registry reads when it opens a key.
  static std::optional<Stored_Key> Parse_Key(std::string_view File_Content,
                                             std::string_view Root_Name, std::string_view Path);
  /// Parse_Key of the whole file File; a file that cannot be read is an
  /// empty root.
  static std::optional<Stored_Key> Read_Key(const std::string& File, std::string_view Root_Name,
                                            std::string_view Path);

  /// The key at Path below the root, letter case ignored; a key that only
  /// appears as the parent of another exists without values; "" is the root.
  std::optional<Stored_Key> Find(std::string_view Path) const;

  const std::vector<Stored_Key>& Keys() const noexcept { return All; }

 private:
  static Hive Parse_Only(std::string_view File_Content, std::string_view Root_Name,
                         Parse_Counts& Counts, std::optional<std::string_view> Only);
  std::vector<Stored_Key> All;
};

/// The value Name of Key (letter case ignored), or null.
const Stored_Value* Find_Value(const Stored_Key& Key, std::string_view Name);

}  // namespace Windows::Registry
