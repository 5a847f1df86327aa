// Scratch folders for tests: one fresh folder per test, removed with it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Test_Support {

class Scratch_Folder {
 public:
  Scratch_Folder();
  ~Scratch_Folder();
  Scratch_Folder(const Scratch_Folder&) = delete;
  Scratch_Folder& operator=(const Scratch_Folder&) = delete;

  /// The folder, without a trailing separator.
  const std::string& Path() const noexcept { return Folder; }
  /// Path & separator & Relative ('/' in Relative becomes the native separator).
  std::string operator/(std::string_view Relative) const;

  /// Writes Content byte for byte, creating folders on the way.
  void Write(std::string_view Relative, std::string_view Content) const;
  void Make_Folder(std::string_view Relative) const;
  std::string Read(std::string_view Relative) const;
  bool Has(std::string_view Relative) const;

 private:
  std::string Folder;
};

/// The names of the entries of Folder, sorted.
std::vector<std::string> Entries(const std::string& Folder);

/// Reads a whole file byte for byte (empty when it cannot be read).
std::string Read_File(const std::string& Path);

/// Relative with '/' replaced by the native separator.
std::string Native(std::string_view Relative);

/// A name no other test or run uses at the same time (for pipes, files).
std::string Unique_Name(std::string_view Stem);

}  // namespace Test_Support
