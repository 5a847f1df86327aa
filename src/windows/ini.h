// Windows::Ini_Get: one value of an INI-format file. The rules are the
// Windows ones, written once so that both platforms read files alike.
#pragma once

#include <string>
#include <string_view>

namespace Windows {

/// The value of Key in [Section] of File; empty when the file, the section
/// or the key is missing. Never fails, whatever the file holds. A name
/// without a folder is looked up where the platform looks (the Windows
/// folder on Windows, the current folder elsewhere).
std::string Ini_Get(const std::string& Key, const std::string& Section, const std::string& File);

/// The same rule over a file's text: section and key names ignore letter
/// case and surrounding blanks; the value loses surrounding blanks and one
/// pair of matching quotes; the first occurrence wins; lines starting with
/// ';' are comments; CR LF, LF and CR all end lines.
std::string Ini_Value(std::string_view Content, std::string_view Key, std::string_view Section);

}  // namespace Windows
