// Where the scripted test server finds its script and writes its record.
#pragma once

#include <string>

namespace Test_Support {

std::string Script_File(const std::string& Pipe_Name);
std::string Record_File(const std::string& Pipe_Name);

/// A message as one record line: CR and LF written as \r and \n.
std::string Escape_Line(const std::string& Message);

}  // namespace Test_Support
