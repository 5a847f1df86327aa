// Fuzz target: the path rewriting rule of Full_Name, for both path styles,
// over a made-up disk. Input: the path.
#include <functional>
#include <string>

#include "files.h"
#include "fuzz_check.h"
#include "text.h"

namespace {

using Windows::Path_Style;

std::size_t Drive_Length(std::string_view Path, Path_Style Style) {
  return Style == Path_Style::Windows && Path.size() >= 2 && Path[1] == ':' ? 2 : 0;
}

// The made-up disk: the stored name of a prefix's last component, decided
// by the prefix alone. Some names are missing, some stored in another
// letter case, some longer than typed (as a short name's long form is).
std::string Stored_Name(std::string_view Prefix, Path_Style Style) {
  const std::size_t Last = Windows::Last_Separator(Prefix, Style);
  const std::string_view Name = Prefix.substr(Last == 0 ? Drive_Length(Prefix, Style) : Last);
  Fuzz::Check(!Name.empty(), "an empty component is looked up");
  switch (std::hash<std::string_view>{}(Prefix) % 4) {
    case 0:
      return "?";
    case 1:
      return Text::Upper_Case(Name);
    case 2:
      return std::string(Name) + "~long name";
    default:
      return std::string(Name);
  }
}

void Check_Style(std::string_view Path, Path_Style Style) {
  const char Sep = Windows::Separator(Style);
  const std::string Result = Windows::Files::Full_Name(
      Path, Style, [Style](std::string_view Prefix) { return Stored_Name(Prefix, Style); });
  const std::size_t Drive = Drive_Length(Path, Style);
  Fuzz::Check(Result.substr(0, Drive) == Text::Upper_Case(Path.substr(0, Drive)),
              "the drive prefix is not kept");
  const bool Rooted = Path.size() > Drive && Windows::Is_Separator(Path[Drive], Style);
  Fuzz::Check(Rooted == (Result.size() > Drive && Result[Drive] == Sep),
              "a rooted path became relative or a relative one rooted");

  const std::string_view Rest = std::string_view(Result).substr(Drive + (Rooted ? 1 : 0));
  if (Style == Path_Style::Windows) {
    Fuzz::Check(Rest.find('/') == std::string_view::npos, "a '/' stays in a Windows path");
  }
  std::string_view Components = Rest;
  bool Leading = true;
  while (!Components.empty()) {
    const std::string_view Component = Fuzz::Take_Until(Components, Sep);
    Fuzz::Check(!Component.empty(), "a doubled or trailing separator");
    Fuzz::Check(Component != "." || (Leading && !Rooted), "a '.' component after the first");
    Leading = false;
  }
  Fuzz::Check(Rest.empty() || Rest.back() != Sep, "a trailing separator");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view Path = Fuzz::Bytes(Data, Size);
  Check_Style(Path, Path_Style::Posix);
  Check_Style(Path, Path_Style::Windows);
  return 0;
}
