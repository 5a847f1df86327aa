// Windows::Files over POSIX: only generic UNIX code here.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "files.h"
#include "unsigned.h"

namespace Windows {
const Path_Style Native_Style = Path_Style::Posix;
}

namespace Windows::Files {

namespace {

constexpr std::uint32_t Normal_Attribute = 0x80;
constexpr std::uint32_t Read_Only_Attribute = 0x01;

// FILETIME counts 100 ns steps since 1601-01-01; Unix time starts 1970.
File_Time To_File_Time(const struct timespec& Time) {
  constexpr std::int64_t Epoch_Difference = 11644473600LL;
  const auto Ticks = static_cast<std::uint64_t>((Time.tv_sec + Epoch_Difference) * 10000000LL +
                                                Time.tv_nsec / 100);
  return {static_cast<std::uint32_t>(Ticks & 0xFFFFFFFFu), static_cast<std::uint32_t>(Ticks >> 32)};
}

bool Parent_Exists(const std::string& Name) {
  const std::size_t Slash = Last_Separator(Name, Path_Style::Posix);
  if (Slash == 0) {
    return true;
  }
  struct stat Info {};
  const std::string Parent = Slash == 1 ? "/" : Name.substr(0, Slash - 1);
  return ::stat(Parent.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

#if defined(QUORVEL_RENAMEAT2)
// Linux: one call that fails with EEXIST when To is there; 0 or errno.
int Rename_No_Replace(const std::string& From, const std::string& To) {
  return ::renameat2(AT_FDCWD, From.c_str(), AT_FDCWD, To.c_str(), RENAME_NOREPLACE) == 0 ? 0
                                                                                          : errno;
}
#else
int Rename_No_Replace(const std::string&, const std::string&) {
  return ENOSYS;
}
#endif

// A second name for From made only where no name is (link never replaces),
// then From's own name removed; 0 or errno.
int Link_Then_Unlink(const std::string& From, const std::string& To) {
  if (::link(From.c_str(), To.c_str()) != 0) {
    return errno;
  }
  ::unlink(From.c_str());
  return 0;
}

std::uint32_t Kind_Attribute(mode_t Mode) {
  if (S_ISDIR(Mode)) {
    return Directory_Attribute;
  }
  return S_ISREG(Mode) ? Normal_Attribute : Normal_Attribute | Device_Attribute;
}

}  // namespace

Information Get_Attributes(const std::string& Name) {
  struct stat Info {};
  if (Name.empty() || ::stat(Name.c_str(), &Info) != 0) {
    throw File_Not_Found();
  }
  Information Result;
  Result.Attributes = Kind_Attribute(Info.st_mode);
  if ((Info.st_mode & S_IWUSR) == 0) {
    Result.Attributes |= Read_Only_Attribute;
  }
  Result.Creation_Time = To_File_Time(Info.st_ctim);
  Result.Last_Access_Time = To_File_Time(Info.st_atim);
  Result.Last_Write_Time = To_File_Time(Info.st_mtim);
  const auto Size = static_cast<std::uint64_t>(Info.st_size);
  Result.Size = Unsigned::Make_64(static_cast<std::uint32_t>(Size >> 32),
                                  static_cast<std::uint32_t>(Size & 0xFFFFFFFFu));
  return Result;
}

void Delete(const std::string& Name) {
  if (::unlink(Name.c_str()) == 0) {
    return;
  }
  // Only "no such file" in a folder that exists is silent, as on Windows,
  // where a missing folder is a different error.
  if (errno == ENOENT && Parent_Exists(Name)) {
    return;
  }
  throw Access_Denied();
}

void Move(const std::string& From, const std::string& To) {
  if (::rename(From.c_str(), To.c_str()) != 0) {
    throw File_Not_Found();
  }
}

void Move_New(const std::string& From, const std::string& To) {
  int Failure = Rename_No_Replace(From, To);
  // File systems that do not know the call refuse it with EINVAL.
  if (Failure == EINVAL || Failure == ENOSYS) {
    Failure = Link_Then_Unlink(From, To);
  }
  if (Failure == EEXIST) {
    throw Name_Taken();
  }
  if (Failure != 0) {
    throw File_Not_Found();
  }
}

std::FILE* Create_New(const std::string& Name, bool& Taken) {
  // O_EXCL also refuses a symbolic link planted under the name.
  const int File = ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  Taken = File < 0 && errno == EEXIST;
  if (File < 0) {
    return nullptr;
  }
  std::FILE* Stream = ::fdopen(File, "wb");
  if (Stream == nullptr) {
    ::close(File);
    ::unlink(Name.c_str());
  }
  return Stream;
}

std::string Link_Target(const std::string& Name) {
  struct stat Info {};
  if (::lstat(Name.c_str(), &Info) != 0 || !S_ISLNK(Info.st_mode)) {
    return Name;
  }
  const std::unique_ptr<char, decltype(&std::free)> Target(::realpath(Name.c_str(), nullptr),
                                                           &std::free);
  return Target ? std::string(Target.get()) : Name;
}

void Copy_Permissions(const std::string& Model, std::FILE* File) {
  struct stat Info {};
  if (::stat(Model.c_str(), &Info) != 0) {
    return;
  }
  const int Descriptor = ::fileno(File);
  // Owner first: a change of owner may clear the set-user and set-group
  // bits that the mode then gives back. Only root may give a file away;
  // others may still set a group they belong to.
  if ((Info.st_uid != ::geteuid() || Info.st_gid != ::getegid()) &&
      ::fchown(Descriptor, Info.st_uid, Info.st_gid) != 0 &&
      ::fchown(Descriptor, static_cast<uid_t>(-1), Info.st_gid) != 0) {
    Info.st_mode &= ~static_cast<mode_t>(S_ISGID);  // a group bit for a group the file lacks
  }
  ::fchmod(Descriptor, Info.st_mode & 07777);
}

std::string Current_Directory() {
  std::vector<char> Buffer(256);
  while (::getcwd(Buffer.data(), Buffer.size()) == nullptr) {
    if (errno != ERANGE) {
      return "";
    }
    Buffer.resize(Buffer.size() * 2);
  }
  return Buffer.data();
}

std::string Entry_Name(const std::string& Path) {
  struct stat Info {};
  if (Path.empty() || ::stat(Path.c_str(), &Info) != 0) {
    return "?";
  }
  std::string Trimmed = Path;
  while (Trimmed.size() > 1 && Trimmed.back() == '/') {
    Trimmed.pop_back();
  }
  return Trimmed.substr(Last_Separator(Trimmed, Path_Style::Posix));
}

struct Directory_Search::State {
  DIR* Directory = nullptr;
  std::string Pattern;
};

Directory_Search::Directory_Search(const std::string& Folder, const std::string& Pattern)
    : Search(std::make_unique<State>()) {
  Search->Directory = ::opendir(Folder.c_str());
  Search->Pattern = Pattern;
}

Directory_Search::~Directory_Search() {
  if (Search->Directory != nullptr) {
    ::closedir(Search->Directory);
  }
}

bool Directory_Search::Next(std::string& Name) {
  if (Search->Directory == nullptr) {
    return false;
  }
  while (const dirent* Entry = ::readdir(Search->Directory)) {
    if (Matches_Wildcard(Entry->d_name, Search->Pattern)) {
      Name = Entry->d_name;
      return true;
    }
  }
  return false;
}

}  // namespace Windows::Files
