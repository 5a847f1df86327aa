// Version information through GetFileVersionInfoSizeA, GetFileVersionInfoA
// and VerQueryValueA.
#include <vector>

#include "version.h"
#include "win32_api.h"

namespace Windows::Version {

std::string Query(const std::string& Sub_Block, const std::string& File) {
  DWORD Handle = 0;
  const DWORD Size = GetFileVersionInfoSizeA(File.c_str(), &Handle);
  if (Size == 0) {
    throw No_Version_Info();
  }
  std::vector<char> Buffer(Size);
  if (GetFileVersionInfoA(File.c_str(), Handle, Size, Buffer.data()) == 0) {
    throw No_Version_Info();
  }
  void* Value = nullptr;
  UINT Length = 0;
  if (VerQueryValueA(Buffer.data(), Sub_Block.c_str(), &Value, &Length) == 0) {
    throw No_Version_Info();
  }
  return std::string(static_cast<const char*>(Value), Length);
}

}  // namespace Windows::Version
