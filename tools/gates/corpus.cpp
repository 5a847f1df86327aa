// Finding the corpus: GNAT's runtime sources and the Ada files of a folder.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gates.h"

namespace Gates {

std::string Runtime_Folder() {
  std::string Path;
  if (FILE* Pipe = popen("gcc -print-file-name=adainclude 2>/dev/null", "r")) {
    char Buffer[4096];
    while (fgets(Buffer, sizeof Buffer, Pipe) != nullptr) {
      Path += Buffer;
    }
    pclose(Pipe);
  }
  while (!Path.empty() && (Path.back() == '\n' || Path.back() == '\r')) {
    Path.pop_back();
  }
  std::error_code Error;
  return std::filesystem::is_directory(Path, Error) ? Path : std::string();
}

std::vector<std::string> Ada_Files(const std::string& Folder) {
  std::vector<std::string> Files;
  std::error_code Error;
  for (const auto& Entry : std::filesystem::recursive_directory_iterator(Folder, Error)) {
    const std::string Extension = Entry.path().extension().string();
    if (Entry.is_regular_file() &&
        (Extension == ".ads" || Extension == ".adb" || Extension == ".ada")) {
      Files.push_back(Entry.path().string());
    }
  }
  std::sort(Files.begin(), Files.end());
  return Files;
}

std::string Read_File(const std::string& Path) {
  std::ostringstream Text;
  Text << std::ifstream(Path, std::ios::binary).rdbuf();
  return Text.str();
}

}  // namespace Gates
