// The portable half of Windows::Files: the tests built on Get_Attributes and
// the path rewriting rule, written once for both path styles.
#include "files.h"

#include <algorithm>
#include <vector>

#include "text.h"

namespace Windows::Files {

namespace {

bool Is_Folder(const Information& Info) noexcept {
  return (Info.Attributes & Directory_Attribute) == Directory_Attribute;
}

bool All_Dots(std::string_view Component) noexcept {
  return Component.find_first_not_of('.') == std::string_view::npos;
}

// What Full_Name does with one component: drop it, keep it as typed, or
// replace it by its stored name.
enum class Treatment { Drop, Keep, Look_Up };

Treatment Treat(std::string_view Component, bool Is_First_Relative, Path_Style Style) {
  if (Component.empty()) {
    return Treatment::Drop;
  }
  // A leading dot component is a place, not a name to look up; ".." must
  // stay wherever it is, or the path would name another file.
  if ((Is_First_Relative && Component.front() == '.') || Component == "..") {
    return Treatment::Keep;
  }
  if (Component == ".") {
    return Treatment::Drop;
  }
  // Windows itself treats "..." and longer runs of dots as ".".
  if (Style == Path_Style::Windows && All_Dots(Component)) {
    return Treatment::Drop;
  }
  return Treatment::Look_Up;
}

}  // namespace

bool Exists(const std::string& Name) {
  try {
    return !Is_Folder(Get_Attributes(Name));
  } catch (const File_Not_Found&) {
    return false;
  }
}

bool Is_Directory(const std::string& Name) {
  try {
    return Is_Folder(Get_Attributes(Name));
  } catch (const File_Not_Found&) {
    return false;
  }
}

bool Is_Regular_File(const std::string& Name) {
  try {
    return (Get_Attributes(Name).Attributes & (Directory_Attribute | Device_Attribute)) == 0;
  } catch (const File_Not_Found&) {
    return false;
  }
}

std::string Filled_Text(const std::function<std::uint32_t(std::uint32_t, char*)>& Fill,
                        std::uint32_t First_Size) {
  std::string Buffer(First_Size, '\0');
  for (;;) {
    const std::uint32_t Count = Fill(static_cast<std::uint32_t>(Buffer.size()), Buffer.data());
    if (Count < Buffer.size()) {
      Buffer.resize(Count);
      return Buffer;
    }
    // The text grew between two calls, or the buffer lacked only the NUL.
    Buffer.assign(std::max<std::size_t>(Count, Buffer.size() + 1), '\0');
  }
}

std::string Full_Name(const std::string& Path) {
  return Full_Name(Path, Native_Style,
                   [](std::string_view Prefix) { return Entry_Name(std::string(Prefix)); });
}

std::string Full_Name(std::string_view Path, Path_Style Style,
                      const std::function<std::string(std::string_view)>& Lookup) {
  const char Sep = Separator(Style);
  std::string Result;
  std::size_t I = 0;
  if (Style == Path_Style::Windows && Path.size() >= 2 && Path[1] == ':') {
    Result = {Text::Upper(Path[0]), ':'};
    I = 2;
  }
  const bool Rooted = I < Path.size() && Is_Separator(Path[I], Style);
  if (Rooted) {
    Result += Sep;
  }
  bool First = true;
  bool Need_Separator = false;
  while (I < Path.size()) {
    while (I < Path.size() && Is_Separator(Path[I], Style)) {
      ++I;
    }
    const std::size_t Start = I;
    while (I < Path.size() && !Is_Separator(Path[I], Style)) {
      ++I;
    }
    const std::string_view Component = Path.substr(Start, I - Start);
    const Treatment What = Treat(Component, First && !Rooted && Result.empty(), Style);
    if (!Component.empty()) {
      First = false;
    }
    if (What == Treatment::Drop) {
      continue;
    }
    if (Need_Separator) {
      Result += Sep;
    }
    Result += What == Treatment::Keep ? std::string(Component) : Lookup(Path.substr(0, I));
    Need_Separator = true;
  }
  return Result;
}

}  // namespace Windows::Files
