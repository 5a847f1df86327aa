// Where the POSIX registry keeps its two roots, as pure rules over the
// environment's values, so that they are tested on every platform.
#pragma once

#include <string>
#include <string_view>

namespace Windows::Registry {

/// HKEY_LOCAL_MACHINE's file.
inline constexpr std::string_view Machine_File = "/etc/registry/machine.reg";

/// HKEY_CURRENT_USER's file: registry/user.reg in Config_Home (the value of
/// XDG_CONFIG_HOME) when it is an absolute path, else in Home's .config
/// folder; empty when Home is empty too. A relative or empty Config_Home is
/// ignored, as the XDG base directory rules ask.
std::string User_File(std::string_view Config_Home, std::string_view Home);

}  // namespace Windows::Registry
