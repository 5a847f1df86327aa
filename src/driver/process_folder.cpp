// Source discovery: every .ada, .adb and .ads file directly inside a folder,
// in the order the system lists them.
#include "console.h"
#include "files.h"
#include "path_style.h"
#include "quorvel.h"
#include "text.h"

namespace Quorvel {

bool Is_Ada_Source(const std::string& Name) {
  const std::size_t D = Text::Index('.', Name, Name.size(), Text::Going::Backward);
  if (D == 0) {
    return false;
  }
  const std::string Extension = Text::Lower_Case(std::string_view(Name).substr(D));
  return Extension == "ads" || Extension == "adb" || Extension == "ada";
}

void Process_Folder(const std::string& Folder, Run_Settings& Settings, Client::Connection& Server) {
  Windows::Console::Put_Line("Source directory = " + Windows::Console::Printable(Folder));
  const char Sep = Windows::Separator(Windows::Native_Style);
  Windows::Files::Directory_Search Search(Folder, "*.a*");
  std::string Name;
  while (Search.Next(Name)) {
    if (Is_Ada_Source(Name)) {
      Process_File(Folder + Sep + Name, Settings, Server);
    }
  }
}

}  // namespace Quorvel
