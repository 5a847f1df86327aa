// Fuzz target: the INI rule over any file text, key and section.
// Input: the key, LF, the section, LF, then the file text.
#include <string>

#include "fuzz_check.h"
#include "ini.h"
#include "text.h"

namespace {

bool Is_Blank(char C) {
  return C == ' ' || C == '\t';
}

bool Holds_Quoted(std::string_view Content, const std::string& Value) {
  return Content.find('"' + Value + '"') != std::string_view::npos ||
         Content.find('\'' + Value + '\'') != std::string_view::npos;
}

// The same lines with every line end written as LF.
std::string With_Lf_Line_Ends(std::string_view Content) {
  std::string Result;
  for (std::size_t I = 0; I < Content.size(); ++I) {
    if (Content[I] == '\r') {
      Result += '\n';
      I += I + 1 < Content.size() && Content[I + 1] == '\n' ? 1 : 0;
    } else {
      Result += Content[I];
    }
  }
  return Result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  std::string_view Content = Fuzz::Bytes(Data, Size);
  const std::string_view Key = Fuzz::Take_Until(Content, '\n');
  const std::string_view Section = Fuzz::Take_Until(Content, '\n');
  const std::string Value = Windows::Ini_Value(Content, Key, Section);

  Fuzz::Check(Value.find_first_of("\r\n") == std::string::npos, "the value holds a line end");
  Fuzz::Check(Content.find(Value) != std::string_view::npos, "the value is not in the file");
  // Blanks around a value survive only inside the quotes that kept them.
  if (!Value.empty() && (Is_Blank(Value.front()) || Is_Blank(Value.back()))) {
    Fuzz::Check(Holds_Quoted(Content, Value), "the value keeps blanks from outside quotes");
  }
  Fuzz::Check(
      Windows::Ini_Value(Content, Text::Upper_Case(Key), Text::Lower_Case(Section)) == Value,
      "the letter case of the names matters");
  Fuzz::Check(Windows::Ini_Value(Content, " " + std::string(Key) + "\t", Section) == Value,
              "blanks around the key matter");
  Fuzz::Check(Windows::Ini_Value(With_Lf_Line_Ends(Content), Key, Section) == Value,
              "the kind of line end matters");
  Fuzz::Check(Windows::Ini_Value("; comment\r\n" + std::string(Content), Key, Section) == Value,
              "a comment line matters");
  return 0;
}
