// Reading log files back in tests.
#include "log_reading.h"

#include <regex>

namespace Test_Support {

std::optional<Record> Parse_Record(const std::string& Line) {
  static const std::regex Form(
      R"(^ (0|[1-9][0-9]*)\.([0-9]{4}) \(([0-9A-F]{4,})\) => ([^\r\n]*)$)");
  std::smatch Match;
  if (!std::regex_match(Line, Match, Form)) {
    return std::nullopt;
  }
  Record Result;
  Result.Seconds = static_cast<unsigned>(std::stoul(Match[1].str()));
  Result.Decimals = Match[2].str();
  Result.Thread = Match[3].str();
  Result.Text = Match[4].str();
  if (Result.Seconds >= 86400 || (Result.Thread.size() > 4 && Result.Thread.front() == '0')) {
    return std::nullopt;
  }
  return Result;
}

std::vector<std::string> Lines_Of(const std::string& Content) {
  std::vector<std::string> Lines;
  std::size_t Start = 0;
  while (Start < Content.size()) {
    const std::size_t End = Content.find("\r\n", Start);
    if (End == std::string::npos) {
      Lines.push_back(Content.substr(Start) + "<no CR LF>");
      break;
    }
    Lines.push_back(Content.substr(Start, End - Start));
    Start = End + 2;
  }
  return Lines;
}

std::string Masked(const std::string& Content) {
  std::string Result;
  for (const std::string& Line : Lines_Of(Content)) {
    const std::optional<Record> Fields = Parse_Record(Line);
    Result += (Fields ? " ~ => " + Fields->Text : Line) + "\r\n";
  }
  return Result;
}

std::string Joined(const std::vector<std::string>& Lines) {
  std::string Result;
  for (const std::string& Line : Lines) {
    Result += Line + "\r\n";
  }
  return Result;
}

std::vector<std::string> Rotation_Notices(unsigned Limit, const std::string& Previous_File) {
  return {"The log file reached it's maximum size of " + std::to_string(Limit) + " records",
          "These records are now stored in the file " + Previous_File};
}

}  // namespace Test_Support
