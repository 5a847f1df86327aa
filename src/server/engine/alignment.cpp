// Finding alignment groups and their columns.
#include "alignment.h"

#include <algorithm>

namespace Formatter {

namespace {

enum class Group_Kind : unsigned char { None, Colon, Arrow, At };

struct Member {
  Group_Kind Kind = Group_Kind::None;
  Column_Number Name_Column = 0;  ///< where the names (or choices) start
  Column_Number Names_End = 0;    ///< the column just after the last name
  std::size_t Mark = No_Lexeme;
  Column_Number Line_End = 0;  ///< the column of the line's last character
  /// The names stand where the author put them, with one blank before the
  /// mark: the author's own choice of no alignment.
  bool Unaligned_By_Author = false;
  bool Padded_By_Author = false;  ///< the author put more than one blank before the mark
  /// The association just after a name's `(`, where it was, with one blank
  /// before its mark: left so when another member of its group is padded
  /// (the lines below carry the alignment, as a broken list is laid out).
  bool Beside_Paren = false;
  /// The engine may align the line's group where the author did not: the
  /// member starts the line (after a parenthesis at most), and follows the
  /// member before it with only lines that continue that one between.
  bool Inferable = true;
  bool Adjacent = true;           ///< no nested statement since the member before
  bool After_Comment = false;     ///< a comment line stands between it and the member before
  bool Break_After = false;       ///< a nested statement follows (while the group is read)
  bool Comment_After = false;     ///< a comment line follows (while the group is read)
  Column_Number Line_Column = 0;  ///< the column of the line's first lexeme
  bool After_When = false;        ///< the choices of a `when` that starts the line
};

constexpr std::size_t Most_Choice_Lexemes = 12;

bool Is_Choice_Part(const Lexeme& Item) noexcept {
  return Is_Operand_Class(Item.Class) || Item.Symbol == Code::Others || Item.Symbol == Code::Bar ||
         Item.Symbol == Code::Dot || Item.Symbol == Code::Apostrophe ||
         Item.Symbol == Code::Double_Dot;
}

class Finder {
 public:
  Finder(const Lexed& Lexed_Source, const std::vector<Column_Number>& Columns,
         const std::vector<bool>& Made_Lines)
      : Input(Lexed_Source), Column(Columns), Made(Made_Lines) {}

  // The line as a group member: names, then a colon; or choices, then an arrow.
  Member Member_Of(const Line_Role& Role, std::size_t L) const noexcept {
    std::size_t I = Role.First_Code;
    const std::size_t End = Input.Lines[L].First + Input.Lines[L].Count;
    if (I == No_Lexeme) {
      return Member{};
    }
    const Column_Number Line_Column = Column[I];
    const bool After_When = Input.Lexemes[I].Symbol == Code::When;
    if (Input.Lexemes[I].Symbol == Code::Left_Paren || After_When) {
      ++I;
    }
    Member Found = Names(I, End);
    // The associations after a name and its parenthesis (`Call (Name =>`):
    // their alignment is kept, never made.
    const std::size_t Paren = Found.Kind == Group_Kind::None ? Paren_After_Name(I, End) : No_Lexeme;
    if (Paren != No_Lexeme) {
      I = Paren + 1;
      Found = Names(I, End);
    }
    Found.Inferable = Found.Inferable && !After_When;
    Found.After_When = After_When;
    Found.Line_Column = Line_Column;
    if (Found.Kind != Group_Kind::None) {
      Found.Line_End = End_Column(End - 1) - 1;
      const Lexeme& Mark = Input.Lexemes[Found.Mark];
      const Lexeme& Before = Input.Lexemes[Found.Mark - 1];
      const bool Unmoved = Column[I] == Input.Lexemes[I].Column;
      const bool One_Blank =
          Mark.Column == Before.Column + static_cast<Column_Number>(Before.Length) + 1;
      // A line the engine made by breaking a long one has blanks no author
      // chose, so its group is aligned; but the association beside the `(`
      // of the list it broke keeps its one blank, and the lines below it
      // are aligned among themselves.
      const bool Made_Line = L < Made.size() && Made[L];
      Found.Unaligned_By_Author = !Made_Line && Unmoved && One_Blank;
      Found.Padded_By_Author = !Made_Line && Unmoved && !One_Blank;
      Found.Beside_Paren = Paren != No_Lexeme && Unmoved && One_Blank;
      Found.Inferable = Found.Inferable && !(Paren != No_Lexeme && Made_Line);
    }
    return Found;
  }

 private:
  // The parenthesis after the name (a dotted name at most) that starts the
  // line, or No_Lexeme.
  std::size_t Paren_After_Name(std::size_t I, std::size_t End) const noexcept {
    if (I < End && Input.Lexemes[I].Symbol == Code::Pragma) {
      ++I;
    }
    while (I + 1 < End && Input.Lexemes[I].Class == Lexeme_Class::Identifier) {
      if (Input.Lexemes[I + 1].Symbol == Code::Left_Paren) {
        return I + 1;
      }
      if (Input.Lexemes[I + 1].Symbol != Code::Dot) {
        return No_Lexeme;
      }
      I += 2;
    }
    return No_Lexeme;
  }

  Member Names(std::size_t I, std::size_t End) const noexcept {
    if (I >= End || Input.Lexemes[I].Class != Lexeme_Class::Identifier) {
      return Choices(I, End);
    }
    const std::size_t First = I;
    while (I + 2 < End && Input.Lexemes[I + 1].Symbol == Code::Comma &&
           Input.Lexemes[I + 2].Class == Lexeme_Class::Identifier) {
      I += 2;
    }
    if (I + 1 < End && Input.Lexemes[I + 1].Symbol == Code::Colon) {
      return Member{Group_Kind::Colon, Column[First], End_Column(I), I + 1};
    }
    // A component clause of a record representation (`Name at 0 range`).
    if (I == First && I + 1 < End && Input.Lexemes[I + 1].Symbol == Code::At) {
      return Member{Group_Kind::At, Column[First], End_Column(I), I + 1};
    }
    return Choices(First, End);
  }

  Column_Number End_Column(std::size_t I) const noexcept {
    return Column[I] + static_cast<Column_Number>(Input.Lexemes[I].Length);
  }

  Member Choices(std::size_t First, std::size_t End) const noexcept {
    for (std::size_t I = First; I < End && I < First + Most_Choice_Lexemes; ++I) {
      if (Input.Lexemes[I].Symbol == Code::Arrow) {
        return I == First ? Member{}
                          : Member{Group_Kind::Arrow, Column[First], End_Column(I - 1), I};
      }
      if (!Is_Choice_Part(Input.Lexemes[I])) {
        return Member{};
      }
    }
    return Member{};
  }

  const Lexed& Input;
  const std::vector<Column_Number>& Column;
  const std::vector<bool>& Made;
};

void Align(const std::vector<Member>& Group, const std::vector<Column_Number>& Column,
           std::vector<Column_Number>& Forced);

// A group whose marks the author put in one column keeps it, across the
// comment lines and nested lines between its members; otherwise each run of
// adjacent members is aligned on its own, where the engine may. Where no
// line stands as its author put it, comment lines do not end a run: authors
// line up the declarations on both sides of a comment line far more often
// than each side on its own.
void Finish(const std::vector<Member>& Group, const std::vector<Column_Number>& Column,
            std::vector<Column_Number>& Forced) {
  Column_Number Names_End = 0;
  bool Aligned = true;
  for (const Member& Item : Group) {
    Names_End = std::max(Names_End, Item.Names_End);
    Aligned = Aligned && Column[Item.Mark] == Column[Group.front().Mark];
  }
  if (Aligned && Column[Group.front().Mark] > Names_End) {
    for (const Member& Item : Group) {
      Forced[Item.Mark] = Column[Item.Mark];
    }
    return;
  }
  const bool Padded = std::any_of(Group.begin(), Group.end(),
                                  [](const Member& Item) { return Item.Padded_By_Author; });
  const bool Moved = std::none_of(Group.begin(), Group.end(), [](const Member& Item) {
    return Item.Padded_By_Author || Item.Unaligned_By_Author;
  });
  const auto Inferable = [Padded](const Member& Item) {
    return Item.Inferable && !(Padded && Item.Beside_Paren);
  };
  std::vector<Member> Run;
  for (std::size_t K = 0; K <= Group.size(); ++K) {
    if (K == Group.size() || !Group[K].Adjacent || (Group[K].After_Comment && !Moved) ||
        !Inferable(Group[K])) {
      if (Run.size() > 1) {
        Align(Run, Column, Forced);
      }
      Run.clear();
    }
    if (K < Group.size() && Inferable(Group[K])) {
      Run.push_back(Group[K]);
    }
  }
}

void Align(const std::vector<Member>& Group, const std::vector<Column_Number>& Column,
           std::vector<Column_Number>& Forced) {
  Column_Number Names_End = 0;
  bool Aligned = true;
  bool By_Author = true;
  for (const Member& Item : Group) {
    Names_End = std::max(Names_End, Item.Names_End);
    Aligned = Aligned && Column[Item.Mark] == Column[Group.front().Mark];
    By_Author = By_Author && Item.Unaligned_By_Author;
  }
  // Alignment is the author's to choose; it is inferred only where the
  // lines were moved (their blanks lost).
  if (By_Author && !Aligned) {
    return;
  }
  const Column_Number Target = Aligned && Column[Group.front().Mark] > Names_End
                                   ? Column[Group.front().Mark]
                                   : Names_End + 1;
  for (const Member& Item : Group) {
    if (Item.Line_End + Target - Column[Item.Mark] > Style_Line_Length &&
        Target > Column[Item.Mark]) {
      return;
    }
  }
  for (const Member& Item : Group) {
    Forced[Item.Mark] = Target;
  }
}

}  // namespace

// The groups open at a line, the innermost (the rightmost) last; the
// vectors of closed groups are kept for the next ones, so that reading a
// source allocates little.
class Open_Groups {
 public:
  bool Empty() const noexcept { return Depth == 0; }
  std::vector<Member>& Top() noexcept { return Groups[Depth - 1]; }
  void Pop() noexcept { Groups[--Depth].clear(); }
  void Push(const Member& First) {
    if (Depth == Groups.size()) {
      Groups.emplace_back();
    }
    Groups[Depth++].push_back(First);
  }
  // A nested statement, or else a comment line, follows every open group.
  void Break_All(bool By_Comment) noexcept {
    for (std::size_t G = 0; G < Depth; ++G) {
      (By_Comment ? Groups[G].back().Comment_After : Groups[G].back().Break_After) = true;
    }
  }

 private:
  std::vector<std::vector<Member>> Groups;
  std::size_t Depth = 0;
};

// Whether line L, which is no member of Group, leaves it open: a line that
// continues a member (indented past the names), or the statements of a
// `when` (indented past it).
bool Nested_In(const std::vector<Member>& Group, const Line_Role& Role, Column_Number Line_Column) {
  const Member& First = Group.front();
  if (Role.Kind == Line_Kind::Continuation && Line_Column > First.Name_Column) {
    return true;
  }
  return First.After_When && Line_Column > First.Line_Column;
}

std::vector<Column_Number> Group_Columns(const Lexed& Input, const std::vector<Line_Role>& Roles,
                                         const std::vector<Column_Number>& Column,
                                         const std::vector<bool>& Made) {
  std::vector<Column_Number> Forced(Input.Lexemes.size(), 0);
  const Finder Find(Input, Column, Made);
  // The groups open at this line, the innermost (the rightmost) last.
  Open_Groups Open;
  for (std::size_t L = 0; L <= Roles.size(); ++L) {
    if (L < Roles.size() && Roles[L].Kind == Line_Kind::Comment) {
      Open.Break_All(true);
      continue;
    }
    Member Next = L < Roles.size() ? Find.Member_Of(Roles[L], L) : Member{};
    const Column_Number Line_Column =
        L < Roles.size() && Roles[L].First_Code != No_Lexeme ? Column[Roles[L].First_Code] : 0;
    while (!Open.Empty()) {
      const std::vector<Member>& Group = Open.Top();
      if (Next.Kind == Group.front().Kind && Next.Name_Column == Group.front().Name_Column) {
        break;
      }
      if (L < Roles.size() && Roles[L].Kind != Line_Kind::Empty &&
          Nested_In(Group, Roles[L], Line_Column)) {
        if (Roles[L].Kind != Line_Kind::Continuation) {
          Open.Break_All(false);
        }
        break;
      }
      if (Group.size() > 1) {
        Finish(Group, Column, Forced);
      }
      Open.Pop();
    }
    if (Next.Kind == Group_Kind::None) {
      continue;
    }
    const bool Joins = !Open.Empty() && Next.Kind == Open.Top().front().Kind &&
                       Next.Name_Column == Open.Top().front().Name_Column;
    if (Joins) {
      Next.Adjacent = !Open.Top().back().Break_After;
      Next.After_Comment = Open.Top().back().Comment_After;
      Open.Top().push_back(Next);
    } else {
      Open.Push(Next);
    }
  }
  return Forced;
}

}  // namespace Formatter
