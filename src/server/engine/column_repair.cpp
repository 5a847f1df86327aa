// Columns a little off: a lexeme whose author padded it a column or two
// short of (or past) the column that its partners on the lines around it
// hold goes to that column, as its author meant it to.
#include "placer.h"

namespace Formatter::Layout {

namespace {

// The furthest a lexeme is taken to be off its column: more looks chosen.
constexpr Column_Number Most_Off = 2;

}  // namespace

// The lexeme of line L placed at column Wanted that is of I's kind, or
// No_Lexeme.
std::size_t Placer::Held_At(std::size_t L, std::size_t I, Column_Number Wanted) const noexcept {
  for (std::size_t J = First_Of(L); J < End_Of(L) && Column[J] <= Wanted; ++J) {
    if (Column[J] == Wanted && Same_Kind(I, J)) {
      return J;
    }
  }
  return No_Lexeme;
}

// The nearest code line from L by Step (-1 up, +1 down), past a few blank
// lines and whole-line comments; or No_Lexeme.
std::size_t Placer::Code_Line_Near(std::size_t L, int Step) const noexcept {
  for (std::size_t Passed = 1; Passed <= Farthest; ++Passed) {
    if (Step < 0 ? L < Passed : L + Passed >= Input.Lines.size()) {
      break;
    }
    const std::size_t Line = Step < 0 ? L - Passed : L + Passed;
    if (Roles[Line].Kind != Line_Kind::Empty && Roles[Line].Kind != Line_Kind::Comment) {
      return Line;
    }
  }
  return No_Lexeme;
}

// The lexemes of I's kind at column Wanted, one on each code line from I's
// line on by Step (+1 down, -1 up): counted up to two, the fewest that
// make a column, in Found, and those padded by their author in Padded. A
// code line between that holds none ends the column (a lexeme is not taken
// to be off a column across other code).
void Placer::Partners(std::size_t I, Column_Number Wanted, int Step,
                      Partner_Count& Count) const noexcept {
  std::size_t L = At(I).Line;
  for (int Found = 0; Found < 2; ++Found) {
    L = Code_Line_Near(L, Step);
    const std::size_t J = L == No_Lexeme ? No_Lexeme : Held_At(L, I, Wanted);
    if (J == No_Lexeme) {
      break;
    }
    ++Count.Found;
    Count.Padded += Keeps(J) ? 1 : 0;
  }
}

// How far lexeme I, which keeps its author's padding and lines up with
// nothing, is off a column that two partners or more hold a column or two
// away, one of them padded (else they line up by chance); or 0.
Column_Number Placer::Off_Column(std::size_t I) const noexcept {
  const Column_Number Placed_Gap = Column[I] - (Column[I - 1] + Width(I - 1));
  if (Placed_Gap != Author_Gap(I)) {
    return 0;
  }
  for (Column_Number Distance = 1; Distance <= Most_Off; ++Distance) {
    for (const Column_Number Shift : {-Distance, Distance}) {
      if (Placed_Gap + Shift < 1) {
        continue;
      }
      Partner_Count Count;
      Partners(I, Column[I] + Shift, -1, Count);
      Partners(I, Column[I] + Shift, 1, Count);
      if (Count.Found >= 2 && Count.Padded > 0) {
        return Shift;
      }
    }
  }
  return 0;
}

// Each lexeme a little off its column moves to it; the next lexeme on its
// line that keeps padding keeps its own column, else the rest of the line
// moves with it, unless that takes the line past the style's longest line.
// Members tells, by column root, whether the lexeme lines up with one.
// End-of-line comments keep the column their author gave them: they never
// lose it for lining up with nothing.
bool Placer::Repair_Off_Columns(const std::vector<unsigned char>& Members) {
  bool Repaired_Any = false;
  for (std::size_t I = 0; I < Spacing.size(); ++I) {
    if (!Keeps(I) || Forced[I] != 0 || At(I).Class == Lexeme_Class::Comment ||
        Members[Root(I)] >= 2) {
      continue;
    }
    const Column_Number Shift = Off_Column(I);
    if (Shift == 0) {
      continue;
    }
    const std::size_t End = End_Of(At(I).Line);
    std::size_t Next = I + 1;
    while (Next < End && !(Keeps(Next) && Author_Gap(Next) - Shift >= 1)) {
      ++Next;
    }
    if (Next == End && Column[End - 1] + Width(End - 1) - 1 + Shift > Style_Line_Length) {
      continue;
    }
    Shift_Gap(I, Shift);
    if (Next < End) {
      Shift_Gap(Next, -Shift);
    }
    Repaired_Any = true;
  }
  return Repaired_Any;
}

void Placer::Shift_Gap(std::size_t I, Column_Number Shift) {
  if (Repaired.empty()) {
    Repaired.assign(Spacing.size(), 0);
  }
  Repaired[I] = static_cast<signed char>(Repaired[I] + Shift);
  if (Author_Gap(I) <= (Style(I) == Gap::Comment ? Comment_Gap : 1)) {
    Spacing[I] &= static_cast<unsigned char>(~Kept_Blanks);
  }
}

}  // namespace Formatter::Layout
