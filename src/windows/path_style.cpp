// Path conventions: the pure rules shared by both backends.
#include "path_style.h"

#include "text.h"

namespace Windows {

std::size_t Last_Separator(std::string_view Path, Path_Style Style) noexcept {
  for (std::size_t I = Path.size(); I > 0; --I) {
    if (Is_Separator(Path[I - 1], Style)) {
      return I;
    }
  }
  return 0;
}

bool Has_Folder(std::string_view Name, Path_Style Style) noexcept {
  return Last_Separator(Name, Style) != 0 ||
         (Style == Path_Style::Windows && Name.find(':') != std::string_view::npos);
}

bool Matches_Wildcard(std::string_view Name, std::string_view Pattern) noexcept {
  // Iterative matching with one back-track point: linear in practice and
  // never recursive, whatever the pattern.
  std::size_t N = 0, P = 0, Star = std::string_view::npos, Resume = 0;
  while (N < Name.size()) {
    if (P < Pattern.size() &&
        (Pattern[P] == '?' || Text::Lower(Pattern[P]) == Text::Lower(Name[N]))) {
      ++N;
      ++P;
    } else if (P < Pattern.size() && Pattern[P] == '*') {
      Star = P++;
      Resume = N;
    } else if (Star != std::string_view::npos) {
      P = Star + 1;
      N = ++Resume;
    } else {
      return false;
    }
  }
  while (P < Pattern.size() && Pattern[P] == '*') {
    ++P;
  }
  return P == Pattern.size();
}

}  // namespace Windows
