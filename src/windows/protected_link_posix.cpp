// The rule for following a symbolic link, and the look at a name it needs.
#include "protected_link_posix.h"

#include <sys/stat.h>
#include <unistd.h>

namespace Windows::Files::Posix {

namespace {

// The folder whose entry Name's last component is.
std::string Folder_Of(const std::string& Name) {
  const std::size_t Slash = Name.find_last_of('/');
  if (Slash == std::string::npos) {
    return ".";
  }
  return Slash == 0 ? "/" : Name.substr(0, Slash);
}

}  // namespace

bool May_Follow(const Link_Place& Place, uid_t User) noexcept {
  const bool Shared = (Place.Folder_Mode & S_ISVTX) != 0 && (Place.Folder_Mode & S_IWOTH) != 0;
  return !Shared || Place.Link_Owner == User || Place.Link_Owner == Place.Folder_Owner;
}

Last_Component Look_At(const std::string& Name) {
  struct stat Link {};
  if (::lstat(Name.c_str(), &Link) != 0 || !S_ISLNK(Link.st_mode)) {
    return Last_Component::Not_A_Link;
  }
  struct stat Folder {};
  if (::stat(Folder_Of(Name).c_str(), &Folder) != 0) {
    return Last_Component::Refused;
  }
  const Link_Place Place{Folder.st_mode, Folder.st_uid, Link.st_uid};
  return May_Follow(Place, ::geteuid()) ? Last_Component::Followable : Last_Component::Refused;
}

}  // namespace Windows::Files::Posix
