// The source file that an "O" message names: where it is (a name without a
// folder is also looked for in the Path folders) and its whole text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "path_style.h"

namespace Server {

enum class Read_Outcome {
  Read,
  Not_Found,
  Folder,
  Not_A_File,
  Unreadable,
  Too_Large,    ///< memory ran out
  Beyond_Limit  ///< longer than the limit of the read
};

/// The longest source read: the longest the engine formats (128 MiB).
extern const std::size_t Longest_Source;

/// Reads the plain file Name whole, byte for byte, into Text. Never throws
/// and never waits: a folder, a device, a pipe or a FIFO is refused before a
/// byte is read. A file longer than Limit is Beyond_Limit: by its size,
/// before a byte is read, or (a file that grows) once Limit + 1 bytes have
/// been read; no more is ever read. Text is left empty unless the outcome is
/// Read.
Read_Outcome Read_Whole_File(const std::string& Name, std::string& Text,
                             std::size_t Limit = Longest_Source);

/// One read of a backend: at most Count bytes into Into; their number (0 at
/// the end of the file), or nothing when the read failed.
using Read_Some = std::function<std::optional<std::size_t>(char* Into, std::size_t Count)>;

/// For the backends of Read_Whole_File, once the file is open and known to
/// be a plain file of Size bytes: refuses it when Size is beyond Limit,
/// else reads it with Read through to its end, never past Limit + 1 bytes.
/// Running out of memory is Too_Large; Text is left empty unless the
/// outcome is Read.
Read_Outcome Read_Bounded(std::uint64_t Size, std::size_t Limit, std::string& Text,
                          const Read_Some& Read) noexcept;

struct Source_Text {
  std::string Name;     ///< the file read, or the name as given when none was
  std::string Text;     ///< its whole content
  std::string Failure;  ///< why it could not be read ("no such file"); empty when read
};

/// The source Name: used as given when it holds a folder part; otherwise
/// looked for in the current folder, then in each folder of Path in order.
/// The first candidate that exists decides; it is read up to Limit bytes, as
/// Read_Whole_File does. Never throws.
Source_Text Read_Source(const std::string& Name, const std::vector<std::string>& Path,
                        std::size_t Limit = Longest_Source);

}  // namespace Server
