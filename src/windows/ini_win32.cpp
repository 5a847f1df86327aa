// INI files through GetPrivateProfileStringA, with a buffer that doubles
// until the value fits.
#include <vector>

#include "ini.h"
#include "win32_api.h"

namespace Windows {

std::string Ini_Get(const std::string& Key, const std::string& Section, const std::string& File) {
  std::vector<char> Buffer(300);
  for (;;) {
    const DWORD Count =
        GetPrivateProfileStringA(Section.c_str(), Key.c_str(), nullptr, Buffer.data(),
                                 static_cast<DWORD>(Buffer.size()), File.c_str());
    if (Count < Buffer.size() - 1) {
      return std::string(Buffer.data(), Count);
    }
    Buffer.resize(Buffer.size() * 2);
  }
}

}  // namespace Windows
