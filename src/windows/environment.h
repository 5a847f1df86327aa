// Windows environment queries: the local time and its text, and the calling
// thread. The log stamps its records and its header with them.
#pragma once

#include <cstdint>
#include <string>

namespace Windows {

/// The Windows date-and-time record (SYSTEMTIME), every field 16-bit.
struct System_Time {
  std::uint16_t Year = 0;
  std::uint16_t Month = 0;        ///< 1 .. 12
  std::uint16_t Day_Of_Week = 0;  ///< 0 = Sunday
  std::uint16_t Day = 0;          ///< 1 .. 31
  std::uint16_t Hour = 0;
  std::uint16_t Minute = 0;
  std::uint16_t Second = 0;
  std::uint16_t Milliseconds = 0;
};

/// The local time, milliseconds included.
System_Time Local_Time();

/// The date of T in the user's short date form, empty when it cannot be
/// formatted (an impossible date). POSIX writes the en-US form "12/8/2026".
std::string Date_Image(const System_Time& T);
/// The time of T in the user's time form, empty when it cannot be formatted.
/// POSIX writes the en-US form "4:48:09 PM".
std::string Time_Image(const System_Time& T);

/// The date text, one blank, the time text ("12/8/2026 4:48:09 PM"); a date
/// that cannot be formatted leaves the time led by one blank.
std::string Date_Time_Image(const System_Time& T);

/// The identifier of the calling thread (on Linux the kernel's thread id,
/// which may exceed FFFF hexadecimal).
std::uint32_t Thread_Id();

}  // namespace Windows
