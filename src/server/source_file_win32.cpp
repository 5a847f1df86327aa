// Reading a source file through CreateFileA and ReadFile; only a disk file
// is read, so that a device name (CON, a pipe) is refused, not waited on.
#include <vector>

#include "handle_win32.h"
#include "source_file.h"

namespace Server {

namespace {

Read_Outcome Read_All(HANDLE File, std::string& Text) {
  LARGE_INTEGER Size{};
  if (GetFileSizeEx(File, &Size) == TRUE && Size.QuadPart > 0) {
    if (static_cast<unsigned long long>(Size.QuadPart) > Text.max_size()) {
      return Read_Outcome::Too_Large;
    }
    Text.reserve(static_cast<std::size_t>(Size.QuadPart));
  }
  std::vector<char> Chunk(65536);
  for (;;) {
    DWORD Count = 0;
    if (ReadFile(File, Chunk.data(), static_cast<DWORD>(Chunk.size()), &Count, nullptr) != TRUE) {
      return Read_Outcome::Unreadable;
    }
    if (Count == 0) {
      return Read_Outcome::Read;
    }
    Text.append(Chunk.data(), Count);
  }
}

Read_Outcome Opening_Failure() {
  const DWORD Code = GetLastError();
  const bool Missing = Code == Windows::Error_File_Not_Found ||
                       Code == Windows::Error_Path_Not_Found || Code == Windows::Error_Invalid_Name;
  return Missing ? Read_Outcome::Not_Found : Read_Outcome::Unreadable;
}

}  // namespace

Read_Outcome Read_Whole_File(const std::string& Name, std::string& Text) {
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
  return Guarded_Read(Text, [&] { return Read_All(File.Get(), Text); });
}

}  // namespace Server
