// The reading rules of the registry, the same over both backends.
#include "registry.h"

namespace Windows::Registry {

std::uint32_t Get_Integer(std::string_view Name) {
  const Query_Result Result = Query_Value(Name, Integer_Buffer);
  if (Result.Status != 0) {
    throw Entry_Not_Found();
  }
  if (Result.Type != Type_Dword) {
    throw Wrong_Type();
  }
  std::uint32_t Value = 0;
  for (std::size_t I = Result.Data.size(); I > 0; --I) {
    Value = Value << 8u | static_cast<unsigned char>(Result.Data[I - 1]);
  }
  return Value;
}

std::string Get_String(std::string_view Name) {
  const Query_Result Result = Query_Value(Name, String_Buffer);
  if (Result.Status == Error_More_Data) {
    throw Overflow();
  }
  if (Result.Status != 0) {
    throw Entry_Not_Found();
  }
  if (Result.Type != Type_String) {
    throw Wrong_Type();
  }
  return Result.Data.substr(0, Result.Data.find('\0'));
}

std::u16string Path_Below_Root(std::u16string_view Kernel_Name, Root_Key Root) {
  const int Skipped = Root == Root_Key::Machine ? 3 : 4;
  std::size_t Position = 0;
  for (int Found = 0; Found < Skipped; ++Found, ++Position) {
    Position = Kernel_Name.find(u'\\', Position);
    if (Position == std::u16string_view::npos) {
      throw Key_Not_Found();
    }
  }
  return std::u16string(Kernel_Name.substr(Position));
}

}  // namespace Windows::Registry
