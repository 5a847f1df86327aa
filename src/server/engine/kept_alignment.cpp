// The author's alignment blanks: kept only while they still line a lexeme
// up with a column of the same kind of lexemes.
#include <algorithm>

#include "placer.h"

namespace Formatter::Layout {

namespace {

// The colon of a parameter and the modes after it: the column of the
// modes, or of the subtypes, is one column whichever of them precedes.
bool Leads_Subtype(const Lexeme& Item) noexcept {
  return Item.Symbol == Code::Colon || Item.Symbol == Code::In || Item.Symbol == Code::Out;
}

bool Same_Family(const Lexeme& Left, const Lexeme& Right) noexcept {
  if (Left.Symbol != Code::None || Right.Symbol != Code::None) {
    return Left.Symbol == Right.Symbol;
  }
  return Left.Class == Right.Class;
}

}  // namespace

bool Placer::Same_Kind(std::size_t I, std::size_t J) const noexcept {
  if (Is_Mark(I) || Is_Mark(J) || !Same_Family(At(I), At(J))) {
    return false;
  }
  return At(I).Class == Lexeme_Class::Comment || !Has_Left_Neighbour(I) || !Has_Left_Neighbour(J) ||
         Same_Family(At(I - 1), At(J - 1)) ||
         (Leads_Subtype(At(I - 1)) && Leads_Subtype(At(J - 1)));
}

// Two lexemes on adjacent lines line up: same column, same kind.
bool Placer::Line_Up(std::size_t I, std::size_t J) const noexcept {
  return Column[J] == Column[I] && Same_Kind(I, J);
}

std::size_t Placer::Root(std::size_t I) {
  while (Column_Set[I] != I) {
    Column_Set[I] = Column_Set[Column_Set[I]];
    I = Column_Set[I];
  }
  return I;
}

// Joins every lexeme with the lexemes it lines up with on the line above,
// so that each set is one visual column of the same kind of lexemes.
void Placer::Join_Columns() {
  Column_Set.resize(Input.Lexemes.size());
  for (std::size_t I = 0; I < Column_Set.size(); ++I) {
    Column_Set[I] = static_cast<Index>(I);
  }
  for (std::size_t L = 1; L < Input.Lines.size(); ++L) {
    const std::size_t End = End_Of(L);  // read once, as the sets written below may alias it
    for (std::size_t I = First_Of(L); I < End; ++I) {
      // Only lexemes that keep blanks, and the marks that alignment is
      // about, look past the line above.
      const Code Mark = At(I).Symbol;
      const bool Far = Keeps(I) || Mark == Code::Colon || Mark == Code::Arrow ||
                       Mark == Code::Assign || Mark == Code::Use || Mark == Code::Left_Paren;
      const std::size_t Above = Far ? Line_Near(L, Column[I], -1) : Adjacent_Above(L, Column[I]);
      if (Above == No_Lexeme) {
        continue;
      }
      const auto Above_First = Column.begin() + static_cast<std::ptrdiff_t>(First_Of(Above));
      const auto Above_End = Column.begin() + static_cast<std::ptrdiff_t>(End_Of(Above));
      auto At_Column = std::lower_bound(Above_First, Above_End, Column[I]);
      for (; At_Column != Above_End && *At_Column == Column[I]; ++At_Column) {
        const auto J = static_cast<std::size_t>(At_Column - Column.begin());
        if (Line_Up(I, J)) {
          Column_Set[Root(I)] = static_cast<Index>(Root(J));
        }
      }
      Join_Right_Edges(I, Above);
    }
  }
}

// Numbers lined up on their last digit, as in a table of values: the
// lexemes of a line end in increasing columns too.
void Placer::Join_Right_Edges(std::size_t I, std::size_t Above) {
  if (At(I).Class != Lexeme_Class::Numeric_Literal || !Keeps(I)) {
    return;
  }
  const Column_Number Edge = Column[I] + Width(I);
  std::size_t Low = First_Of(Above);
  std::size_t High = End_Of(Above);
  while (Low < High) {
    const std::size_t Middle = Low + (High - Low) / 2;
    if (Column[Middle] + Width(Middle) < Edge) {
      Low = Middle + 1;
    } else {
      High = Middle;
    }
  }
  if (Low < End_Of(Above) && Column[Low] + Width(Low) == Edge &&
      At(Low).Class == Lexeme_Class::Numeric_Literal) {
    Column_Set[Root(I)] = static_cast<Index>(Root(Low));
  }
}

// The line above L when it is a code line that reaches column At, else
// No_Lexeme.
std::size_t Placer::Adjacent_Above(std::size_t L, Column_Number At) const noexcept {
  const std::size_t Line = L - 1;
  const Line_Kind Kind = Roles[Line].Kind;
  if (Kind == Line_Kind::Empty || Kind == Line_Kind::Comment) {
    return No_Lexeme;
  }
  const std::size_t Last = End_Of(Line) - 1;
  return Column[First_Of(Line)] <= At && Column[Last] + Width(Last) > At ? Line : No_Lexeme;
}

// The line a lexeme of line L at column At lines up with, going by Step
// (-1 up, +1 down): the nearest code line that reaches the column, past
// blank lines, whole-line comments and shorter lines (a few of them at
// most); or No_Lexeme.
std::size_t Placer::Line_Near(std::size_t L, Column_Number At, int Step) const noexcept {
  for (std::size_t Passed = 1; Passed <= Farthest; ++Passed) {
    if (Step < 0 ? L < Passed : L + Passed >= Input.Lines.size()) {
      break;
    }
    const std::size_t Line = Step < 0 ? L - Passed : L + Passed;
    const Line_Kind Kind = Roles[Line].Kind;
    if (Kind == Line_Kind::Empty || Kind == Line_Kind::Comment) {
      continue;
    }
    // A line that starts right of the column, or ends left of it, has
    // nothing there.
    const std::size_t Last = End_Of(Line) - 1;
    if (Column[First_Of(Line)] <= At && Column[Last] + Width(Last) > At) {
      return Line;
    }
  }
  return No_Lexeme;
}

// Kept blanks must still line the lexeme up, above or below, with a column
// of the same kind of lexemes that holds at least one placed by the spacing
// rules alone or by a group, or one that keeps more than three blanks: two
// lexemes that both keep two or three extra blanks may align by chance.
// End-of-line comments, aligned by extra blanks, need no more than the
// column.
Kept_Change Placer::Demote_Unaligned() {
  // Most rounds leave no kept blanks to judge: the columns need not be found.
  bool Judged = false;
  for (std::size_t I = 0; I < Spacing.size() && !Judged; ++I) {
    Judged = Judges(I);
  }
  if (!Judged) {
    return Kept_Change::None;
  }
  Join_Columns();
  // Only whether a column holds two lexemes or more matters.
  std::vector<unsigned char> Members(Column_Set.size(), 0);
  std::vector<char> Anchored(Column_Set.size(), 0);
  for (std::size_t I = 0; I < Column_Set.size(); ++I) {
    const std::size_t R = Root(I);
    Members[R] = Members[R] < 2 ? static_cast<unsigned char>(Members[R] + 1) : Members[R];
    if (!Keeps(I) || Forced[I] > 0 || Wide(I) || At(I).Class == Lexeme_Class::Comment) {
      Anchored[R] = 1;
    }
  }
  // Lexemes a little off their column are moved before anything is
  // demoted: the lexemes lined up past them join them only once they stand
  // in the column.
  if (Repair_Off_Columns(Members)) {
    Column_Set = std::vector<Index>();
    return Kept_Change::Repaired;
  }
  bool Changed = false;
  for (std::size_t I = 0; I < Spacing.size(); ++I) {
    // Most lexemes keep no blanks: their column's root is never looked for.
    if (!Judges(I)) {
      continue;
    }
    const std::size_t R = Root(I);
    if (Members[R] < 2 || Anchored[R] == 0) {
      Spacing[I] &= static_cast<unsigned char>(~Kept_Blanks);
      Changed = true;
    }
  }
  Column_Set = std::vector<Index>();
  return Changed ? Kept_Change::Demoted : Kept_Change::None;
}

}  // namespace Formatter::Layout
