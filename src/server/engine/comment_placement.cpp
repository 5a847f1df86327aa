// Whole-line comments: with the comment above them, in column 1, or at
// their offset from the code they belong to.
#include <algorithm>

#include "placer.h"

namespace Formatter::Layout {

std::size_t Placer::Comment_Of(std::size_t L) const noexcept {
  std::size_t I = First_Of(L);
  while (I + 1 < End_Of(L) && At(I).Class != Lexeme_Class::Comment) {
    ++I;
  }
  return I;
}

void Placer::Place_Comments() {
  std::vector<Index> Next(Roles.size() + 1, No_Lexeme);
  for (std::size_t L = Roles.size(); L > 0; --L) {
    Next[L - 1] = Roles[L - 1].First_Code != No_Lexeme ? static_cast<Index>(L - 1) : Next[L];
  }
  Neighbours Near;
  for (std::size_t L = 0; L < Roles.size(); ++L) {
    if (Roles[L].Kind == Line_Kind::Comment) {
      Near.Next = Next[L];
      const std::size_t Comment = Comment_Of(L);
      const Column_Number Wanted = Wanted_Comment_Column(L, Comment, Near);
      Place_Line(L, Comment, Within_Style(Comment, Wanted));
      Near.Comment_Above = Wanted;
    } else if (Roles[L].First_Code != No_Lexeme) {
      Near.Prior = L;
      Near.Prior_Fixed = Roles[L].Kind == Line_Kind::Fixed ? L : Near.Prior_Fixed;
    }
  }
}

// A comment that fitted the style's longest line where its author put it
// goes no further right than it must.
Column_Number Placer::Within_Style(std::size_t Comment, Column_Number Wanted) const noexcept {
  Column_Number Result = Wanted;
  const Column_Number Comment_End = Width(Comment) - 1;
  if (At(Comment).Column + Comment_End <= Style_Line_Length) {
    // To the next column of the indentation grid on its left each time.
    while (Result + Comment_End > Style_Line_Length && Result > 1) {
      Result = (Result - 2) / Units * Units + 1;
    }
  }
  return Result;
}

// A whole-line comment: it goes on with the comment just above it when the
// author lined them up (where that one wanted to go, when the style's
// longest line held it back); stays in column 1 when it stands there beside
// indented code; otherwise keeps its offset from the code it belongs to (the
// next code line, or the statements it closes when it follows them
// directly and a closing keyword comes next).
Column_Number Placer::Wanted_Comment_Column(std::size_t L, std::size_t Comment,
                                            const Neighbours& Near) const noexcept {
  const Column_Number Own = At(Comment).Column;
  if (L > 0 && End_Of(L - 1) > First_Of(L - 1)) {
    const std::size_t Above = End_Of(L - 1) - 1;
    if (At(Above).Class == Lexeme_Class::Comment && At(Above).Column == Own) {
      return Roles[L - 1].Kind == Line_Kind::Comment ? Near.Comment_Above : Column[Above];
    }
  }
  const std::size_t Next = Near.Next;
  const std::size_t Prior = Near.Prior;
  if (Own == 1 && (Next == No_Lexeme || At(Roles[Next].First_Code).Column > 1)) {
    return 1;
  }
  const Line_Role& Role = Roles[L];
  const bool Blank_Before = L > 0 && Roles[L - 1].Kind == Line_Kind::Empty;
  const bool By_Next = Next != No_Lexeme && (Role.Inside_Statement || !Role.Before_Closer ||
                                             Prior == No_Lexeme || Blank_Before);
  Column_Number Expected = Role.Indent + 1;
  Column_Number Expected_Before = Expected;
  // Between `with` that ends a declaration's line and the aspects: at the
  // level of the declaration (after a `with` alone on its line, with the
  // aspects, as any comment that precedes its code).
  if (Role.Inside_Statement && Prior != No_Lexeme && Near.Prior_Fixed != No_Lexeme &&
      Last_Code_Symbol(Prior) == Code::With && At(Roles[Prior].First_Code).Symbol != Code::With) {
    const std::size_t First = Roles[Near.Prior_Fixed].First_Code;
    Expected = Column[First];
    Expected_Before = At(First).Column;
  } else if (By_Next) {
    Expected = Column[Roles[Next].First_Code];
    Expected_Before = At(Roles[Next].First_Code).Column;
  } else if (Prior != No_Lexeme) {
    // The level moved as the last line that starts a statement moved.
    const std::size_t First =
        Roles[Near.Prior_Fixed != No_Lexeme ? Near.Prior_Fixed : Prior].First_Code;
    Expected_Before = Expected - (Column[First] - At(First).Column);
  }
  const Column_Number Kept = std::max<Column_Number>(1, Expected + Own - Expected_Before);
  // A comment the author put on the indentation grid never leaves it by
  // keeping its offset from code that moved onto the grid.
  const auto On_Grid = [this](Column_Number At) { return (At - 1) % Units == 0; };
  return On_Grid(Own) && !On_Grid(Kept) ? Expected : Kept;
}

Code Placer::Last_Code_Symbol(std::size_t L) const noexcept {
  for (std::size_t I = End_Of(L); I > First_Of(L); --I) {
    if (At(I - 1).Class != Lexeme_Class::Comment && At(I - 1).Class != Lexeme_Class::Effector) {
      return At(I - 1).Symbol;
    }
  }
  return Code::None;
}

}  // namespace Formatter::Layout
