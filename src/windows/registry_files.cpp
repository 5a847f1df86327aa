// The POSIX registry's file names.
#include "registry_files.h"

namespace Windows::Registry {

namespace {

// Folder & '/' & Name, without doubling a trailing '/' of Folder.
std::string Inside(std::string_view Folder, std::string_view Name) {
  while (Folder.size() > 1 && Folder.back() == '/') {
    Folder.remove_suffix(1);
  }
  std::string Result(Folder);
  if (Result.empty() || Result.back() != '/') {
    Result.push_back('/');
  }
  return Result.append(Name);
}

}  // namespace

std::string User_File(std::string_view Config_Home, std::string_view Home) {
  if (!Config_Home.empty() && Config_Home.front() == '/') {
    return Inside(Config_Home, "registry/user.reg");
  }
  return Home.empty() ? std::string() : Inside(Home, ".config/registry/user.reg");
}

}  // namespace Windows::Registry
