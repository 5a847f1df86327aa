// Reading log files back in tests: record lines checked field by field, and
// the whole file compared byte for byte with the time and thread masked.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Test_Support {

struct Record {
  unsigned Seconds = 0;  ///< whole seconds since midnight
  std::string Decimals;  ///< the four decimals
  std::string Thread;    ///< the hexadecimal thread field
  std::string Text;
};

/// The fields of one record line (without its CR LF), or none when the line
/// does not have the record form.
std::optional<Record> Parse_Record(const std::string& Line);

/// The file's lines; a last line without CR LF is kept with a trailing "<no CR LF>".
std::vector<std::string> Lines_Of(const std::string& Content);

/// The file with each record line's time and thread replaced by "~" (" ~ => Text").
std::string Masked(const std::string& Content);

/// Lines joined, each followed by CR LF.
std::string Joined(const std::vector<std::string>& Lines);

/// The two notices at the top of a continued file.
std::vector<std::string> Rotation_Notices(unsigned Limit, const std::string& Previous_File);

}  // namespace Test_Support
