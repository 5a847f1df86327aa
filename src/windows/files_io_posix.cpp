// File handle calls over POSIX descriptors. Of the share modes of Windows
// only the one that matters to the log is kept: one writer at a time (an
// exclusive flock, which other runs of ours take too); readers may always
// open the file.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files_io_system.h"
#include "protected_link_posix.h"
#include "wide.h"

namespace Windows::Files::IO::System {

namespace {

File Open_Descriptor(const std::string& Name, int Flags) {
  int Descriptor = -1;
  do {
    Descriptor = ::open(Name.c_str(), Flags | O_CLOEXEC, 0666);
  } while (Descriptor < 0 && errno == EINTR);
  return Descriptor < 0 ? No_File : Descriptor;
}

int Descriptor(File F) {
  return static_cast<int>(F);
}

// A created file is written only when it is a plain file that no other
// writer holds; only then is it emptied, so that a second run never cuts
// the file under a first one that goes on writing at its own offset.
bool Take_For_Writing(int Number, bool Empty) {
  struct stat Info {};
  if (::fstat(Number, &Info) != 0 || !S_ISREG(Info.st_mode) ||
      ::flock(Number, LOCK_EX | LOCK_NB) != 0 || (Empty && ::ftruncate(Number, 0) != 0)) {
    return false;
  }
  const int Flags = ::fcntl(Number, F_GETFL);
  return Flags >= 0 && ::fcntl(Number, F_SETFL, Flags & ~O_NONBLOCK) == 0;
}

}  // namespace

File Create(const std::string& Name, bool Fail_If_Exists, bool) {
  const Posix::Last_Component Last = Posix::Look_At(Name);
  if (Last == Posix::Last_Component::Refused) {
    return No_File;
  }
  // O_NONBLOCK: opening a FIFO must not wait for a reader (the file is then
  // refused); O_NOFOLLOW: a link put in place after the look is not followed.
  const int Follow = Last == Posix::Last_Component::Followable ? 0 : O_NOFOLLOW;
  const File F = Open_Descriptor(
      Name, O_WRONLY | O_CREAT | O_NONBLOCK | Follow | (Fail_If_Exists ? O_EXCL : 0));
  if (F != No_File && !Take_For_Writing(Descriptor(F), !Fail_If_Exists)) {
    Close(F);
    return No_File;
  }
  return F;
}

File Create(const std::u16string& Name, bool Fail_If_Exists, bool Share_Read) {
  return Create(To_UTF_8(Name), Fail_If_Exists, Share_Read);
}

File Open(const std::string& Name, bool Writable) {
  const File F = Open_Descriptor(Name, Writable ? O_RDWR : O_RDONLY);
  // A folder opens for reading on POSIX but is no file to read, as on Windows.
  struct stat Info {};
  if (F != No_File && (::fstat(Descriptor(F), &Info) != 0 || S_ISDIR(Info.st_mode))) {
    Close(F);
    return No_File;
  }
  return F;
}

File Open(const std::u16string& Name, bool Writable) {
  return Open(To_UTF_8(Name), Writable);
}

bool Read(File F, char* Buffer, std::int32_t Size, std::int32_t& Count) {
  Count = 0;
  // Like ReadFile on a disk file: a short count only at the end of the file.
  while (Count < Size) {
    const ssize_t Done =
        ::read(Descriptor(F), Buffer + Count, static_cast<std::size_t>(Size - Count));
    if (Done < 0 && errno == EINTR) {
      continue;
    }
    if (Done < 0) {
      return false;
    }
    if (Done == 0) {
      break;
    }
    Count += static_cast<std::int32_t>(Done);
  }
  return true;
}

bool Write(File F, const char* Buffer, std::int32_t Size, std::int32_t& Written) {
  Written = 0;
  while (Written < Size) {
    const ssize_t Done =
        ::write(Descriptor(F), Buffer + Written, static_cast<std::size_t>(Size - Written));
    if (Done < 0 && errno == EINTR) {
      continue;
    }
    if (Done <= 0) {
      return false;
    }
    Written += static_cast<std::int32_t>(Done);
  }
  return true;
}

bool Seek(File F, std::int64_t Position) {
  return ::lseek(Descriptor(F), static_cast<off_t>(Position), SEEK_SET) >= 0;
}

std::int64_t Seek_End(File F) {
  return ::lseek(Descriptor(F), 0, SEEK_END);
}

void Flush(File F) {
  ::fsync(Descriptor(F));
}

void Close(File F) {
  ::close(Descriptor(F));
}

}  // namespace Windows::Files::IO::System
