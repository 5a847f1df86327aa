// Reading a source file over POSIX: opened without blocking, so that a FIFO
// or a device is refused instead of waited on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "descriptor_posix.h"
#include "source_file.h"

namespace Server {

namespace {

std::optional<std::size_t> Read_Some_Of(int Fd, char* Into, std::size_t Count) {
  for (;;) {
    const ssize_t Got = ::read(Fd, Into, Count);
    if (Got >= 0) {
      return static_cast<std::size_t>(Got);
    }
    if (errno != EINTR) {
      return std::nullopt;
    }
  }
}

}  // namespace

Read_Outcome Read_Whole_File(const std::string& Name, std::string& Text, std::size_t Limit) {
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
  return Read_Bounded(
      static_cast<std::uint64_t>(Info.st_size), Limit, Text,
      [&](char* Into, std::size_t Count) { return Read_Some_Of(File.Get(), Into, Count); });
}

}  // namespace Server
