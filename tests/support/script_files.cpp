// The scripted test server's files, in the system's temporary folder.
#include "script_files.h"

#include <filesystem>

namespace Test_Support {

std::string Script_File(const std::string& Pipe_Name) {
  return (std::filesystem::temp_directory_path() / ("quorvel-script-" + Pipe_Name + ".txt"))
      .string();
}

std::string Record_File(const std::string& Pipe_Name) {
  return (std::filesystem::temp_directory_path() / ("quorvel-record-" + Pipe_Name + ".txt"))
      .string();
}

std::string Escape_Line(const std::string& Message) {
  std::string Line;
  for (const char C : Message) {
    switch (C) {
      case '\r':
        Line += "\\r";
        break;
      case '\n':
        Line += "\\n";
        break;
      default:
        Line += C;
    }
  }
  return Line;
}

}  // namespace Test_Support
