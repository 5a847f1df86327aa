// Reading a source file over POSIX: opened without blocking, so that a FIFO
// or a device is refused instead of waited on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "descriptor_posix.h"
#include "source_file.h"

namespace Server {

namespace {

Read_Outcome Read_All(int Fd, std::size_t Expected, std::string& Text) {
  Text.reserve(Expected);
  std::vector<char> Chunk(65536);
  for (;;) {
    const ssize_t Count = ::read(Fd, Chunk.data(), Chunk.size());
    if (Count == 0) {
      return Read_Outcome::Read;
    }
    if (Count < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Read_Outcome::Unreadable;
    }
    Text.append(Chunk.data(), static_cast<std::size_t>(Count));
  }
}

}  // namespace

Read_Outcome Read_Whole_File(const std::string& Name, std::string& Text) {
  Text.clear();
  if (Name.empty()) {
    return Read_Outcome::Not_Found;
  }
  const Windows::Descriptor File(::open(Name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (File.Get() < 0) {
    return errno == ENOENT || errno == ENOTDIR ? Read_Outcome::Not_Found : Read_Outcome::Unreadable;
  }
  struct stat Info {};
  if (::fstat(File.Get(), &Info) != 0) {
    return Read_Outcome::Unreadable;
  }
  if (S_ISDIR(Info.st_mode)) {
    return Read_Outcome::Folder;
  }
  if (!S_ISREG(Info.st_mode)) {
    return Read_Outcome::Not_A_File;
  }
  return Guarded_Read(
      Text, [&] { return Read_All(File.Get(), static_cast<std::size_t>(Info.st_size), Text); });
}

}  // namespace Server
