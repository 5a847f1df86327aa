// The blanks between the lexemes of a line: the style's gap, the author's
// blanks where they align something, the column an alignment group gives.
#include <algorithm>

#include "placer.h"

namespace Formatter::Layout {

void Placer::Mark_Alignment_Candidates() {
  Sign_Reader Signs;
  bool Left_Is_Sign = false;
  for (std::size_t I = 0; I < Input.Lexemes.size(); ++I) {
    const bool Left_Sign = Left_Is_Sign;
    Left_Is_Sign = Signs.Read(At(I));
    if (I == First_Of(At(I).Line)) {
      continue;
    }
    const Gap Style = Style_Gap(At(I - 1), Left_Sign, At(I));
    Spacing[I] = static_cast<unsigned char>(Style);
    if (Is_Mark(I - 1) || Is_Effector(I) || Is_Effector(I - 1)) {
      continue;
    }
    const Column_Number Wanted = Style == Gap::Comment ? Comment_Gap : 1;
    if (Style != Gap::None && Author_Gap(I) > Wanted) {
      Spacing[I] |= Kept_Blanks;
    }
  }
}

Column_Number Placer::Chosen_Gap(std::size_t I) const noexcept {
  const Column_Number Author = Author_Gap(I);
  if (Forced[I] > 0) {
    return std::max<Column_Number>(Forced[I] - (Column[I - 1] + Width(I - 1)), 1);
  }
  if (Is_Effector(I)) {
    return 0;
  }
  if (Is_Effector(I - 1)) {
    return std::min<Column_Number>(Author, 1);
  }
  // An end-of-line comment keeps its column only within the style's
  // longest line.
  const bool Too_Long = At(I).Class == Lexeme_Class::Comment &&
                        Column[I - 1] + Width(I - 1) + Author + Width(I) - 1 > Style_Line_Length;
  if (Keeps(I) && !Too_Long) {
    return Author;
  }
  switch (Style(I)) {
    case Gap::None:
      return Author > 0 && Would_Merge(Text(I - 1), Text(I)) ? 1 : 0;
    case Gap::Free:
      return Author > 0 ? 1 : 0;
    case Gap::Comment:
      // One blank where the author put one on a line that stands as
      // written, or where that, and not two, keeps the line within the
      // style's longest line.
      if (Author == 1 && Stands_As_Written(At(I).Line)) {
        return 1;
      }
      return Column[I - 1] + Width(I - 1) + Comment_Gap + Width(I) - 2 == Style_Line_Length
                 ? 1
                 : Comment_Gap;
    case Gap::One:
    default:
      return 1;
  }
}

}  // namespace Formatter::Layout
