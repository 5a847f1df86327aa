// The source file that an "O" message names: where it is (a name without a
// folder is also looked for in the Path folders) and its whole text.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "path_style.h"

namespace Server {

enum class Read_Outcome { Read, Not_Found, Folder, Not_A_File, Unreadable, Too_Large };

/// Reads the plain file Name whole, byte for byte, into Text. Never throws
/// and never waits: a folder, a device, a pipe or a FIFO is refused before a
/// byte is read. Text is left empty unless the outcome is Read.
Read_Outcome Read_Whole_File(const std::string& Name, std::string& Text);

/// For the backends of Read_Whole_File: runs Read, which fills Text, and
/// turns running out of memory into Too_Large; Text is left empty unless
/// the outcome is Read.
Read_Outcome Guarded_Read(std::string& Text, const std::function<Read_Outcome()>& Read) noexcept;

struct Source_Text {
  std::string Name;     ///< the file read, or the name as given when none was
  std::string Text;     ///< its whole content
  std::string Failure;  ///< why it could not be read ("no such file"); empty when read
};

/// The source Name: used as given when it holds a folder part; otherwise
/// looked for in the current folder, then in each folder of Path in order.
/// The first candidate that exists decides. Never throws.
Source_Text Read_Source(const std::string& Name, const std::vector<std::string>& Path);

}  // namespace Server
