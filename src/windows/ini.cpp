// The INI rule over a file's text.
#include "ini.h"

#include "text.h"

namespace Windows {

namespace {

std::string_view Trim(std::string_view S) {
  constexpr std::string_view Blanks = " \t";
  const std::size_t First = S.find_first_not_of(Blanks);
  if (First == std::string_view::npos) {
    return {};
  }
  return S.substr(First, S.find_last_not_of(Blanks) - First + 1);
}

std::string_view Unquote(std::string_view S) {
  if (S.size() >= 2 && (S.front() == '"' || S.front() == '\'') && S.back() == S.front()) {
    return S.substr(1, S.size() - 2);
  }
  return S;
}

// Splits the next line off Rest, whatever its end (CR LF, LF or CR).
std::string_view Next_Line(std::string_view& Rest) {
  const std::size_t End = Rest.find_first_of("\r\n");
  const std::string_view Line = Rest.substr(0, End);
  if (End == std::string_view::npos) {
    Rest = {};
  } else {
    const bool Pair = Rest[End] == '\r' && End + 1 < Rest.size() && Rest[End + 1] == '\n';
    Rest.remove_prefix(End + (Pair ? 2 : 1));
  }
  return Line;
}

}  // namespace

std::string Ini_Value(std::string_view Content, std::string_view Key, std::string_view Section) {
  std::string_view Rest = Content;
  bool In_Section = false;
  while (!Rest.empty()) {
    const std::string_view Line = Trim(Next_Line(Rest));
    if (Line.empty() || Line.front() == ';') {
      continue;
    }
    if (Line.front() == '[') {
      const std::size_t Close = Line.find(']');
      const std::string_view Name =
          Line.substr(1, Close == std::string_view::npos ? Line.size() - 1 : Close - 1);
      In_Section = Text::Equal(Trim(Name), Trim(Section), false);
      continue;
    }
    const std::size_t Equals = Line.find('=');
    if (In_Section && Equals != std::string_view::npos &&
        Text::Equal(Trim(Line.substr(0, Equals)), Trim(Key), false)) {
      return std::string(Unquote(Trim(Line.substr(Equals + 1))));
    }
  }
  return "";
}

}  // namespace Windows
