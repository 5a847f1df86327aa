// The Windows system error codes that this package reports or reacts to, by
// name, in one table that both backends use: the Win32 backend gets them
// from the system (win32_api.h checks that they agree with <windows.h>),
// the POSIX backend maps its failures onto them.
#pragma once

#include <cstdint>

namespace Windows {

inline constexpr std::uint32_t Error_Success = 0;
inline constexpr std::uint32_t Error_File_Not_Found = 2;
inline constexpr std::uint32_t Error_Path_Not_Found = 3;
inline constexpr std::uint32_t Error_Access_Denied = 5;
inline constexpr std::uint32_t Error_Broken_Pipe = 109;
inline constexpr std::uint32_t Error_Invalid_Name = 123;
inline constexpr std::uint32_t Error_Bad_Pipe = 230;
inline constexpr std::uint32_t Error_Pipe_Busy = 231;
inline constexpr std::uint32_t Error_No_Data = 232;
inline constexpr std::uint32_t Error_Pipe_Not_Connected = 233;
inline constexpr std::uint32_t Error_More_Data = 234;

}  // namespace Windows
