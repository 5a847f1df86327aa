// Reading a source file through CreateFileA and ReadFile; only a disk file
// is read, so that a device name (CON, a pipe) is refused, not waited on.
#include "handle_win32.h"
#include "source_file.h"

namespace Server {

namespace {

std::optional<std::size_t> Read_Some_Of(HANDLE File, char* Into, std::size_t Count) {
  DWORD Got = 0;
  if (ReadFile(File, Into, static_cast<DWORD>(Count), &Got, nullptr) != TRUE) {
    return std::nullopt;
  }
  return Got;
}

Read_Outcome Opening_Failure() {
  const DWORD Code = GetLastError();
  const bool Missing = Code == Windows::Error_File_Not_Found ||
                       Code == Windows::Error_Path_Not_Found || Code == Windows::Error_Invalid_Name;
  return Missing ? Read_Outcome::Not_Found : Read_Outcome::Unreadable;
}

}  // namespace

Read_Outcome Read_Whole_File(const std::string& Name, std::string& Text, std::size_t Limit) {
  Text.clear();
  if (Name.empty()) {
    return Read_Outcome::Not_Found;
  }
  const DWORD Attributes = GetFileAttributesA(Name.c_str());
  if (Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return Read_Outcome::Folder;
  }
  const Windows::Owned_Handle File(CreateFileA(Name.c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!File.Valid()) {
    return Opening_Failure();
  }
  if (GetFileType(File.Get()) != FILE_TYPE_DISK) {
    return Read_Outcome::Not_A_File;
  }
  LARGE_INTEGER Size{};
  if (GetFileSizeEx(File.Get(), &Size) != TRUE || Size.QuadPart < 0) {
    return Read_Outcome::Unreadable;
  }
  return Read_Bounded(
      static_cast<std::uint64_t>(Size.QuadPart), Limit, Text,
      [&](char* Into, std::size_t Count) { return Read_Some_Of(File.Get(), Into, Count); });
}

}  // namespace Server
