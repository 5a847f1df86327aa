// The corpus the gates and the benchmarks read: GNAT's runtime sources, found
// through gcc, listed and read where they are.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "gates.h"

namespace Gates {

std::string Runtime_Folder() {
  std::string Path;
  if (FILE* Pipe = popen("gcc -print-file-name=adainclude", "r")) {
    char Buffer[4096];
    while (fgets(Buffer, sizeof Buffer, Pipe) != nullptr) {
      Path += Buffer;
    }
    pclose(Pipe);
  }
  while (!Path.empty() && (Path.back() == '\n' || Path.back() == '\r')) {
    Path.pop_back();
  }
  return Path;
}

std::vector<std::filesystem::path> Ada_Files(const std::string& Folder) {
  std::vector<std::filesystem::path> Files;
  for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
    const std::string Extension = Entry.path().extension().string();
    if (Entry.is_regular_file() &&
        (Extension == ".ads" || Extension == ".adb" || Extension == ".ada")) {
      Files.push_back(Entry.path());
    }
  }
  std::sort(Files.begin(), Files.end());
  return Files;
}

std::string Read_File(const std::filesystem::path& Path) {
  std::ostringstream Text;
  Text << std::ifstream(Path, std::ios::binary).rdbuf();
  return Text.str();
}

}  // namespace Gates
