// Windows::Files::IO: buffered sequential file access in blocks of 500
// bytes. A Handle is a small shared value: copies refer to one open file,
// and the file is closed (its buffered data written) when the last copy
// ends. A handle must not be used by two threads at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "named_error.h"

namespace Windows::Files::IO {

QUORVEL_NAMED_ERROR(Error, Named_Error, "WINDOWS.FILES.IO");
QUORVEL_NAMED_ERROR(Creation_Failure, Error, "WINDOWS.FILES.IO.CREATION_FAILURE");
QUORVEL_NAMED_ERROR(File_Not_Found, Error, "WINDOWS.FILES.IO.FILE_NOT_FOUND");
QUORVEL_NAMED_ERROR(Bad_Handle, Error, "WINDOWS.FILES.IO.BAD_HANDLE");
QUORVEL_NAMED_ERROR(Wrong_Mode, Error, "WINDOWS.FILES.IO.WRONG_MODE");
QUORVEL_NAMED_ERROR(End_Error, Error, "WINDOWS.FILES.IO.END_ERROR");
QUORVEL_NAMED_ERROR(Unexpected_Error, Error, "WINDOWS.FILES.IO.UNEXPECTED_ERROR");

/// Every transfer to or from the file moves at most one block.
inline constexpr std::int32_t Block_Size = 500;

/// Reading: positioned anywhere, first block read at opening. Appending:
/// written at the end of the file, never repositioned.
enum class Mode : std::uint8_t { Reading = 0, Appending = 1 };

struct File_Record;

class Handle {
 public:
  /// A handle that was never opened: operations that need an open handle
  /// throw Bad_Handle.
  Handle() = default;
  /// The last copy to end closes a still-open file (errors ignored).
  ~Handle() = default;
  Handle(const Handle&) = default;
  Handle& operator=(const Handle&) = default;
  Handle(Handle&&) noexcept = default;
  Handle& operator=(Handle&&) noexcept = default;

  /// A handle on a record made by Create or Open.
  explicit Handle(std::shared_ptr<File_Record> Record) noexcept : File(std::move(Record)) {}

  /// The shared record; null for a handle that was never opened.
  File_Record* Record() const noexcept { return File.get(); }

 private:
  std::shared_ptr<File_Record> File;
};

/// A new file, opened for Appending: CREATE_NEW when Fail_If_Exists, else
/// CREATE_ALWAYS (an existing file is emptied); other processes may read it
/// meanwhile when Share_Read. Throws Creation_Failure.
Handle Create(const std::string& Name, bool Fail_If_Exists, bool Share_Read);
Handle Create(const std::u16string& Name, bool Fail_If_Exists, bool Share_Read);

/// An existing file: Appending with write access when Writable, else
/// Reading. Throws File_Not_Found.
Handle Open(const std::string& Name, bool Writable);
Handle Open(const std::u16string& Name, bool Writable);

/// Set_Index (H, 1).
void Reset(const Handle& H);
/// All bytes read: answers from the last state, even for a closed handle
/// (true for one never opened: there is nothing to read).
bool End_Of_File(const Handle& H);

/// The next line without its terminator. LF, VT, FF and CR end a line; CR
/// LF is one terminator (also split across two blocks), LF CR two. Lines
/// have no length limit. At the end of the file: "" again and again.
std::string Get_Line(const Handle& H);
/// The same over 16-bit units (low byte first); 000A..000D, 0085, 2028 and
/// 2029 end a line, CR LF is two terminators. An odd number of bytes
/// throws End_Error.
std::u16string Get_Wide_Line(const Handle& H);

void Put(std::string_view Item, const Handle& H);
/// Each unit as two bytes, low byte first; an empty Item does nothing,
/// whatever the handle.
void Put(std::u16string_view Item, const Handle& H);
/// Item, then CR LF.
void Put_Line(std::string_view Item, const Handle& H);
/// Item, then the one unit LF (bytes 0A 00).
void Put_Line(std::u16string_view Item, const Handle& H);

/// The next byte read or written is the one at 1-based position To.
/// Throws Wrong_Mode on an Appending handle.
void Set_Index(const Handle& H, std::int64_t To);
/// 1-based position of the next byte.
std::int64_t Index(const Handle& H);

/// Writes the buffered data (Appending), then asks the system to write its
/// own buffers to the disk.
void Flush(const Handle& H);
/// Writes the buffered data (Appending) and closes the file; every copy of
/// the handle is closed from now on.
void Close(const Handle& H);

// Every operation above except Create, Open, End_Of_File and the wide Put
// of an empty Item throws Bad_Handle for a handle that is not open; a
// failed read or write throws End_Error, a failed repositioning
// Unexpected_Error.

}  // namespace Windows::Files::IO
