// Windows::Files over POSIX: only generic UNIX code here.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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
  return {static_cast<std::uint32_t>(Ticks & 0xFFFFFFFFu),
          static_cast<std::uint32_t>(Ticks >> 32)};
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

}  // namespace

Information Get_Attributes(const std::string& Name) {
  struct stat Info {};
  if (Name.empty() || ::stat(Name.c_str(), &Info) != 0) {
    throw File_Not_Found();
  }
  Information Result;
  Result.Attributes = S_ISDIR(Info.st_mode) ? Directory_Attribute : Normal_Attribute;
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
