// The system calls under Windows::Files::IO, one backend per platform: a
// file is a HANDLE on Windows and a descriptor on POSIX.
#pragma once

#include <cstdint>
#include <string>

namespace Windows::Files::IO::System {

using File = std::intptr_t;
inline constexpr File No_File = -1;

/// No_File when the file cannot be created or opened.
File Create(const std::string& Name, bool Fail_If_Exists, bool Share_Read);
File Create(const std::u16string& Name, bool Fail_If_Exists, bool Share_Read);
File Open(const std::string& Name, bool Writable);
File Open(const std::u16string& Name, bool Writable);

/// Up to Size bytes at the file position; Count = 0 at the end of the file.
bool Read(File F, char* Buffer, std::int32_t Size, std::int32_t& Count);
/// Size bytes at the file position; Written is what was written.
bool Write(File F, const char* Buffer, std::int32_t Size, std::int32_t& Written);
/// Moves the file position to Position bytes from the start.
bool Seek(File F, std::int64_t Position);
/// Moves the file position to the end; the file's size, -1 on failure.
std::int64_t Seek_End(File F);
/// The system's buffers to the disk; the result is not examined.
void Flush(File F);
/// The result is not examined.
void Close(File F);

}  // namespace Windows::Files::IO::System
