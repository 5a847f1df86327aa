// Where a symbolic link may be followed: not out of a folder that anybody
// may write to but only owners may clean (a sticky, world-writable folder
// such as /tmp) when somebody else put the link there. Linux applies the
// same rule when fs.protected_symlinks is set; the files we create apply it
// whatever that setting says, since a log that followed a stranger's link
// would empty a file the stranger chose.
#pragma once

#include <sys/types.h>

#include <string>

namespace Windows::Files::Posix {

/// The facts the rule looks at: the folder that holds the link and the
/// link's owner.
struct Link_Place {
  mode_t Folder_Mode = 0;
  uid_t Folder_Owner = 0;
  uid_t Link_Owner = 0;
};

/// A link may be followed by User unless its folder is sticky and
/// writable by all; there only when User or the folder's owner owns it.
bool May_Follow(const Link_Place& Place, uid_t User) noexcept;

enum class Last_Component {
  Not_A_Link,  ///< missing, or anything but a symbolic link
  Followable,  ///< a symbolic link that May_Follow allows
  Refused      ///< a symbolic link that must not be followed (or whose folder cannot be seen)
};

/// What the last component of Name is, for this process's effective user.
Last_Component Look_At(const std::string& Name);

}  // namespace Windows::Files::Posix
