// The program file's identity over POSIX (device, inode, modification time
// to the nanosecond), and glibc's free memory given back.
#include <sys/stat.h>

#include "program_file.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Server {

namespace {

#if defined(__GLIBC__)
// glibc keeps freed heap at the top of the heap and in its arenas; trimming
// returns the free pages of all of them, not only the top.
void Trim_Heap() noexcept {
  ::malloc_trim(0);
}
#else
void Trim_Heap() noexcept {}
#endif

}  // namespace

std::optional<File_Identity> Identity_Of(const std::string& Path) {
  struct stat Info {};
  if (Path.empty() || ::stat(Path.c_str(), &Info) != 0) {
    return std::nullopt;
  }
  const auto Nanoseconds = static_cast<std::uint64_t>(Info.st_mtim.tv_sec) * 1000000000u +
                           static_cast<std::uint64_t>(Info.st_mtim.tv_nsec);
  return File_Identity{static_cast<std::uint64_t>(Info.st_dev),
                       static_cast<std::uint64_t>(Info.st_ino), Nanoseconds};
}

void Return_Free_Memory() noexcept {
  Trim_Heap();
}

}  // namespace Server
