// The two path conventions, so that the Windows rules are pure functions that
// run (and are tested) on every platform.
#pragma once

#include <cstddef>
#include <string_view>

namespace Windows {

enum class Path_Style { Posix, Windows };

/// The style of the platform the program was built for.
extern const Path_Style Native_Style;

constexpr char Separator(Path_Style Style) noexcept {
  return Style == Path_Style::Windows ? '\\' : '/';
}

/// Windows accepts both separators; POSIX only '/'.
constexpr bool Is_Separator(char C, Path_Style Style) noexcept {
  return C == '/' || (Style == Path_Style::Windows && C == '\\');
}

/// Position (1-based) of the last separator in Path, 0 when there is none.
std::size_t Last_Separator(std::string_view Path, Path_Style Style) noexcept;

/// Name holds a folder part: a separator of the style, or on Windows a
/// drive (':', as in "c:x.ini"). The client (for a configuration) and the
/// formatting server (for a source) use a name with a folder part as
/// given, and look for any other one in their own folders as well.
bool Has_Folder(std::string_view Name, Path_Style Style) noexcept;

/// '*' matches any run of characters, '?' any one; Latin-1 letter case is
/// ignored, as a Windows directory search does.
bool Matches_Wildcard(std::string_view Name, std::string_view Pattern) noexcept;

}  // namespace Windows
