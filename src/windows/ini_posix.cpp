// INI files over POSIX: the whole file is read and the rule applied.
#include <fstream>
#include <sstream>

#include "ini.h"

namespace Windows {

std::string Ini_Get(const std::string& Key, const std::string& Section, const std::string& File) {
  std::ifstream Input(File, std::ios::binary);
  if (!Input) {
    return "";
  }
  std::ostringstream Content;
  Content << Input.rdbuf();
  return Ini_Value(Content.str(), Key, Section);
}

}  // namespace Windows
