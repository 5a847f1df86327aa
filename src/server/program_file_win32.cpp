// The program file's identity over Win32 (volume serial number, file index,
// last write time), and free memory given back: the C heap's free blocks,
// then the working set.
#include <malloc.h>

#include "handle_win32.h"
#include "program_file.h"

namespace Server {

namespace {

std::uint64_t Joined(DWORD High, DWORD Low) {
  return static_cast<std::uint64_t>(High) << 32 | Low;
}

}  // namespace

// Opened for no access at all and sharing everything: a running program's
// file, or one being replaced, is still looked at.
std::optional<File_Identity> Identity_Of(const std::string& Path) {
  if (Path.empty()) {
    return std::nullopt;
  }
  const Windows::Owned_Handle File(
      CreateFileA(Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION Info{};
  if (!File.Valid() || GetFileInformationByHandle(File.Get(), &Info) == 0) {
    return std::nullopt;
  }
  return File_Identity{
      Info.dwVolumeSerialNumber, Joined(Info.nFileIndexHigh, Info.nFileIndexLow),
      Joined(Info.ftLastWriteTime.dwHighDateTime, Info.ftLastWriteTime.dwLowDateTime)};
}

void Return_Free_Memory() noexcept {
  _heapmin();
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

}  // namespace Server
