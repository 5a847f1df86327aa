// The stand-in for the formatting engine (see fake_formatter.h).
#include "fake_formatter.h"

#include <algorithm>
#include <stdexcept>

namespace {

bool Is_Reserved(std::string_view Word, Formatter::Edition Language) {
  using Formatter::Edition;
  if (Word == "procedure" || Word == "is" || Word == "begin" || Word == "end" || Word == "null") {
    return true;
  }
  return (Word == "interface" && Language >= Edition::Ada2005) ||
         (Word == "some" && Language >= Edition::Ada2012);
}

void Lay_Out_Line(std::string_view Line, const Formatter::Settings& Options,
                  Formatter::Result& Into) {
  int Column = Line.starts_with(' ') ? Options.Units + 1 : 1;
  std::size_t Start = Line.find_first_not_of(' ');
  while (Start != std::string_view::npos) {
    const std::size_t End = std::min(Line.find(' ', Start), Line.size());
    const std::string_view Word = Line.substr(Start, End - Start);
    const int Kind = Is_Reserved(Word, Options.Language) ? Formatter::Kinds::Reserved_Word
                                                         : Formatter::Kinds::Identifier;
    Into.Tokens.push_back({Kind, Column, Word});
    Column += static_cast<int>(Word.size()) + 1;
    Start = Line.find_first_not_of(' ', End);
  }
}

}  // namespace

namespace Fake_Formatter {

namespace Kinds = Formatter::Kinds;
using Formatter::Result;

Result Engine::Format(std::string_view Source, const Formatter::Settings& Options) {
  Last_Settings = Options;
  if (Source.find("#throw") != std::string_view::npos) {
    throw std::runtime_error("engine stand-in failed");
  }
  Result Formatted;
  std::size_t Line_Number = 1, Line_Start = 0;
  for (std::size_t I = 0; I <= Source.size(); ++I) {
    const bool Ends = I < Source.size() && (Source[I] == '\n' || Source[I] == '\r');
    if (I < Source.size() && Source[I] == '$') {
      Formatted.Errors.push_back({Line_Number, I - Line_Start + 1, "character '$' is not allowed"});
    }
    if (!Ends && I < Source.size()) {
      continue;
    }
    Lay_Out_Line(Source.substr(Line_Start, I - Line_Start), Options, Formatted);
    if (Ends) {
      Formatted.Tokens.push_back({Kinds::End_Of_Line, 1, ""});
      if (Source[I] == '\r' && I + 1 < Source.size() && Source[I + 1] == '\n') {
        ++I;
      }
    }
    Line_Start = I + 1;
    ++Line_Number;
  }
  if (!Formatted.Errors.empty()) {
    Formatted.Tokens.clear();
  }
  return Formatted;
}

}  // namespace Fake_Formatter
