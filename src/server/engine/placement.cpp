// Placing the lines: indentation of code lines and of continuation lines,
// each line placed as soon as the nesting analysis knows its role.
#include <algorithm>

#include "placer.h"

namespace Formatter::Layout {

void Placer::Place_All() {
  if (!Analysed || !Place_Again()) {
    // Placing reads only the roles that the analysis hands it: the last
    // round's go first, so that two sets are never held at once.
    Roles = std::vector<Line_Role>();
    Roles = Analyse(Input, Units, *this);
    Analysed = true;
  }
  for (std::size_t L = 0; L < Input.Lines.size(); ++L) {
    if (Roles[L].Kind == Line_Kind::Empty) {
      Place_Line(L, End_Of(L), 1);
    }
  }
  Place_Comments();
}

// The analysis builds on nothing of the placing but the column that each
// code line's first lexeme gets (the lexemes and the columns placed before
// it hand it the same roles), so a round whose first lexemes all land where
// they landed in the last one has that round's roles, and the analysis need
// not run again. A line that lands elsewhere ends the attempt: the lines
// after it may take other roles. Placing a line reads only its own lexemes'
// columns and those of the lines above it.
bool Placer::Place_Again() {
  for (std::size_t L = 0; L < Roles.size(); ++L) {
    const std::size_t First = Roles[L].First_Code;
    if (First != No_Lexeme) {
      const Column_Number Last_Round = Column[First];
      if (Place(L, Roles) != Last_Round) {
        return false;
      }
    }
  }
  return true;
}

Column_Number Placer::Place(std::size_t L, const std::vector<Line_Role>& Known) {
  const Line_Role& Role = Known[L];
  bool After_Paren = false;
  const Column_Number Start = First_Column(L, Known, After_Paren);
  Place_Line(L, Role.First_Code, Start);
  // Held back from the last column, a line can land just after the
  // parenthesis all the same: the next pass sees it aligned after it.
  After_Paren = After_Paren || Lands_After_Paren(L, Known);
  if (After_Paren && Column[End_Of(L) - 1] + Width(End_Of(L) - 1) - 1 > Style_Line_Length) {
    std::size_t Above = L;
    while (Above > 0 && Known[Above - 1].First_Code == No_Lexeme) {
      --Above;
    }
    if (Above > 0 && Column[Known[Above - 1].First_Code] + 2 < Start) {
      Place_Line(L, Role.First_Code, Column[Known[Above - 1].First_Code] + 2);
    }
  }
  Keep_Within_Style(L, Known);
  return Column[Role.First_Code];
}

void Placer::Keep_Within_Style(std::size_t L, const std::vector<Line_Role>& Known) {
  const Line_Role& Role = Known[L];
  const std::size_t Last = End_Of(L) - 1;
  const Column_Number Past = Column[Last] + Width(Last) - 1 - Style_Line_Length;
  if (Role.Kind != Line_Kind::Continuation || Past <= 0 ||
      At(Last).Column + Width(Last) - 1 > Style_Line_Length) {
    return;
  }
  const std::size_t Base = Known[Role.Statement_Line].First_Code;
  const Column_Number Least = Base == No_Lexeme || Role.Statement_Line >= L ? 1 : Column[Base] + 2;
  const Column_Number Start = Column[Role.First_Code];
  if (Start - Past >= Least) {
    Place_Line(L, Role.First_Code, Start - Past);
  } else if (Least < Start) {
    Place_Line(L, Role.First_Code, Least);
  }
}

void Placer::Place_Line(std::size_t L, std::size_t Anchor, Column_Number Start) {
  Place_From(L, Anchor, Start);
  // A line that would pass the client's last column from so deep an
  // indentation moves left as a whole, as far as it needs and can: it is
  // then never broken, and its text never laid out again.
  if (Anchor < End_Of(L)) {
    const Column_Number Past = Column[End_Of(L) - 1] + Width(End_Of(L) - 1) - 1 - Longest_Line;
    const Column_Number Room = Column[Anchor] - 1;
    if (Past > 0 && Room > 0) {
      Place_From(L, Anchor, Column[Anchor] - std::min(Past, Room));
    }
  }
}

void Placer::Place_From(std::size_t L, std::size_t Anchor, Column_Number Start) {
  Column_Number Next = 1;
  // The line's end is read once: the columns written below could, as far
  // as the compiler knows, change the line table.
  const std::size_t End = End_Of(L);
  for (std::size_t I = First_Of(L); I < End; ++I) {
    if (Is_Mark(I)) {
      Column[I] = 1;
      continue;
    }
    if (I == Anchor) {
      // No further right than the token stream can hold it, so that the
      // lines placed relative to this one see the column it gets there.
      const Column_Number Last_Start = std::max<Column_Number>(1, Longest_Line - Width(I) + 1);
      Set(I, std::max(std::min(Start, Last_Start), Next));
    } else if (I < Anchor) {
      Set(I, Next);
    } else {
      Set(I, Column[I - 1] + Width(I - 1) + Chosen_Gap(I));
    }
    Next = Column[I] + Width(I);
  }
}

bool Placer::Lands_After_Paren(std::size_t L, const std::vector<Line_Role>& Known) const noexcept {
  const Line_Role& Role = Known[L];
  return Role.Kind != Line_Kind::Fixed && Role.Statement_Line < L &&
         Known[Role.Statement_Line].First_Code != No_Lexeme && Role.Open_Paren != No_Lexeme &&
         Column[Role.First_Code] == Column[Role.Open_Paren] + 1;
}

Column_Number Placer::First_Column(std::size_t L, const std::vector<Line_Role>& Known,
                                   bool& After_Paren) const noexcept {
  const Line_Role& Role = Known[L];
  if (Role.Kind == Line_Kind::Fixed) {
    return Role.Indent + 1;
  }
  const std::size_t Base = Known[Role.Statement_Line].First_Code;
  if (Base == No_Lexeme || Role.Statement_Line >= L) {
    return Role.Indent + 1;
  }
  const Column_Number Mine = At(Role.First_Code).Column;
  const std::size_t Paren = Role.Open_Paren;
  if (Paren != No_Lexeme && Mine == At(Paren).Column + 1) {
    After_Paren = true;
    return Column[Paren] + 1;
  }
  const Column_Number Offset = Mine - At(Base).Column;
  // At the column of the line it continues, where that line stands as
  // its author put it (and not at the margin, where a text whose blanks
  // were lost stands): a layout the style accepts.
  if (Offset == 0 && Column[Base] == At(Base).Column && Column[Base] > 1) {
    return Column[Base];
  }
  if (Offset > 0) {
    // Landing just after the parenthesis is being aligned after it, as the
    // next pass over the result will see it.
    After_Paren = Paren != No_Lexeme && Column[Base] + Offset == Column[Paren] + 1;
    return Column[Base] + Offset;
  }
  const Column_Number Styled = Styled_Column(Role, Column[Base]);
  After_Paren = Paren != No_Lexeme && Styled == Column[Paren] + 1;
  return Styled;
}

Column_Number Placer::Styled_Column(const Line_Role& Role, Column_Number Base) const noexcept {
  switch (Role.Rule) {
    case Continuation_Rule::Level:
      return Base;
    case Continuation_Rule::Under:
      return std::max<Column_Number>(Column[Role.Reference] + Role.Shift, 1);
    case Continuation_Rule::Indented:
    default:
      break;
  }
  const std::size_t Paren = Role.Open_Paren;
  // A parenthesis that ends its line takes what follows two columns in from
  // the statement, unless it stands alone there: then just after it (a
  // bracket's aggregate still two columns in).
  const bool Alone = Paren != No_Lexeme && At(Paren).Symbol == Code::Left_Paren &&
                     Paren == First_Of(At(Paren).Line) && Paren + 1 >= End_Of(At(Paren).Line);
  if (Paren == No_Lexeme || (Paren + 1 >= End_Of(At(Paren).Line) && !Alone)) {
    return Base + 2;
  }
  return Column[Paren] + (At(Role.First_Code).Symbol == Code::Right_Paren ? 0 : 1);
}

}  // namespace Formatter::Layout
