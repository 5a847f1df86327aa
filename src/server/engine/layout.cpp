// Placing the lexemes: indentation of code lines, continuation lines,
// blanks between lexemes, whole-line comments, and the alignment blanks
// that are kept because they still line tokens up after placing.
#include "layout.h"

#include <algorithm>

#include "alignment.h"
#include "spacing.h"
#include "structure.h"

namespace Formatter {

namespace {

constexpr int Most_Rounds = 12;

class Placer final : public Line_Placer {
 public:
  Placer(std::string_view Text, const Lexed& Lexed_Source, const Settings& Options,
         const std::vector<bool>& Made_Lines)
      : Source(Text), Input(Lexed_Source), Made(Made_Lines), Units(Options.Units) {
    Column.assign(Input.Lexemes.size(), 1);
    Spacing.assign(Input.Lexemes.size(), 0);
    Forced.assign(Input.Lexemes.size(), 0);
  }

  // Placing, then aligning groups and dropping kept blanks that no longer
  // align anything, until nothing changes.
  std::vector<Column_Number> Run() {
    Mark_Alignment_Candidates();
    for (int Round = 0; Round < Most_Rounds; ++Round) {
      Place_All();
      // Demoting reads the groups of the last round (Forced), and the new
      // ones are found from the columns alone: so the new ones are made
      // only when the work of demoting is given back.
      const bool Demoted = Demote_Unaligned();
      std::vector<Column_Number> Groups = Group_Columns(Input, Roles, Column, Made);
      if (Groups == Forced && !Demoted) {
        return std::move(Column);
      }
      Forced = std::move(Groups);
    }
    Place_All();
    return std::move(Column);
  }

  // A line aligned after a parenthesis that would then pass the style's
  // longest line goes two columns in from the line above instead.
  long long Place(std::size_t L, const std::vector<Line_Role>& Known) override {
    const Line_Role& Role = Known[L];
    bool After_Paren = false;
    const long long Start = First_Column(L, Known, After_Paren);
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

  // A continuation line that fitted the style's longest line as its author
  // wrote it, and that its new place pushes past it, moves left just enough,
  // though not left of two columns in from its statement.
  void Keep_Within_Style(std::size_t L, const std::vector<Line_Role>& Known) {
    const Line_Role& Role = Known[L];
    const std::size_t Last = End_Of(L) - 1;
    const long long Past = Column[Last] + Width(Last) - 1 - Style_Line_Length;
    if (Role.Kind != Line_Kind::Continuation || Past <= 0 ||
        At(Last).Column + Width(Last) - 1 > Style_Line_Length) {
      return;
    }
    const std::size_t Base = Known[Role.Statement_Line].First_Code;
    const long long Least = Base == No_Lexeme || Role.Statement_Line >= L ? 1 : Column[Base] + 2;
    const long long Start = Column[Role.First_Code];
    if (Start - Past >= Least) {
      Place_Line(L, Role.First_Code, Start - Past);
    } else if (Least < Start) {
      Place_Line(L, Role.First_Code, Least);
    }
  }

 private:
  const Lexeme& At(std::size_t I) const noexcept { return Input.Lexemes[I]; }
  std::string_view Text(std::size_t I) const noexcept { return Text_Of(Source, At(I)); }
  long long Width(std::size_t I) const noexcept { return static_cast<long long>(At(I).Length); }
  std::size_t First_Of(std::size_t L) const noexcept { return Input.Lines[L].First; }
  std::size_t End_Of(std::size_t L) const noexcept {
    return Input.Lines[L].First + Input.Lines[L].Count;
  }
  bool Is_Mark(std::size_t I) const noexcept {
    return At(I).Class == Lexeme_Class::Byte_Order_Mark;
  }
  bool Is_Effector(std::size_t I) const noexcept { return At(I).Class == Lexeme_Class::Effector; }
  void Set(std::size_t I, long long Placed) noexcept {
    Column[I] = static_cast<Column_Number>(Placed);
  }

  // Blanks the author put between lexeme I and the one before it on its line.
  long long Author_Gap(std::size_t I) const noexcept {
    const long long Gap = At(I).Column - (At(I - 1).Column + Width(I - 1));
    return Gap < 0 ? 0 : Gap;
  }

  // The line's first lexeme stands where its author put it (not at the
  // margin, where every line of a text whose blanks were lost stands).
  bool Stands_As_Written(std::size_t L) const noexcept {
    const std::size_t First = First_Of(L);
    return At(First).Column > 1 && Column[First] == At(First).Column;
  }

  bool Has_Left_Neighbour(std::size_t I) const noexcept {
    return I > First_Of(At(I).Line) && !Is_Mark(I - 1);
  }

  void Mark_Alignment_Candidates() {
    const std::vector<bool> Unary = Sign_Flags(Input);
    for (std::size_t I = 0; I < Input.Lexemes.size(); ++I) {
      if (I == First_Of(At(I).Line)) {
        continue;
      }
      const Gap Style = Style_Gap(At(I - 1), Unary[I - 1], At(I));
      Spacing[I] = static_cast<unsigned char>(Style);
      if (Is_Mark(I - 1) || Is_Effector(I) || Is_Effector(I - 1)) {
        continue;
      }
      const long long Wanted = Style == Gap::Comment ? Comment_Gap : 1;
      if (Style != Gap::None && Author_Gap(I) > Wanted) {
        Spacing[I] |= Kept_Blanks;
      }
    }
  }

  Gap Style(std::size_t I) const noexcept { return static_cast<Gap>(Spacing[I] & ~Kept_Blanks); }
  bool Keeps(std::size_t I) const noexcept { return (Spacing[I] & Kept_Blanks) != 0; }

  long long Chosen_Gap(std::size_t I) const noexcept {
    const long long Author = Author_Gap(I);
    if (Forced[I] > 0) {
      return std::max<long long>(Forced[I] - (Column[I - 1] + Width(I - 1)), 1);
    }
    if (Is_Effector(I)) {
      return 0;
    }
    if (Is_Effector(I - 1)) {
      return std::min<long long>(Author, 1);
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

  void Place_All() {
    // Placing reads only the roles that the analysis hands it: the last
    // round's go first, so that two sets are never held at once.
    Roles = std::vector<Line_Role>();
    Roles = Analyse(Input, Units, *this);
    for (std::size_t L = 0; L < Input.Lines.size(); ++L) {
      if (Roles[L].Kind == Line_Kind::Empty) {
        Place_Line(L, End_Of(L), 1);
      }
    }
    Place_Comments();
  }

  // Lexeme Anchor at Start; what stands before it on the line (effectors)
  // from column 1 on, what follows it by the spacing rules.
  void Place_Line(std::size_t L, std::size_t Anchor, long long Start) {
    Place_From(L, Anchor, Start);
    // A line that would pass the client's last column from so deep an
    // indentation moves left as a whole, as far as it needs and can: it is
    // then never broken, and its text never laid out again.
    if (Anchor < End_Of(L)) {
      const long long Past = Column[End_Of(L) - 1] + Width(End_Of(L) - 1) - 1 - Longest_Line;
      const long long Room = Column[Anchor] - 1;
      if (Past > 0 && Room > 0) {
        Place_From(L, Anchor, Column[Anchor] - std::min(Past, Room));
      }
    }
  }

  void Place_From(std::size_t L, std::size_t Anchor, long long Start) {
    long long Next = 1;
    for (std::size_t I = First_Of(L); I < End_Of(L); ++I) {
      if (Is_Mark(I)) {
        Column[I] = 1;
        continue;
      }
      if (I == Anchor) {
        // No further right than the token stream can hold it, so that the
        // lines placed relative to this one see the column it gets there.
        const long long Last_Start = std::max<long long>(1, Longest_Line - Width(I) + 1);
        Set(I, std::max(std::min(Start, Last_Start), Next));
      } else if (I < Anchor) {
        Set(I, Next);
      } else {
        Set(I, Column[I - 1] + Width(I - 1) + Chosen_Gap(I));
      }
      Next = Column[I] + Width(I);
    }
  }

  std::size_t Comment_Of(std::size_t L) const noexcept {
    std::size_t I = First_Of(L);
    while (I + 1 < End_Of(L) && At(I).Class != Lexeme_Class::Comment) {
      ++I;
    }
    return I;
  }

  // A continuation line (one placed from the author's columns) whose first
  // token stands just after its open parenthesis.
  bool Lands_After_Paren(std::size_t L, const std::vector<Line_Role>& Known) const noexcept {
    const Line_Role& Role = Known[L];
    return Role.Kind != Line_Kind::Fixed && Role.Statement_Line < L &&
           Known[Role.Statement_Line].First_Code != No_Lexeme && Role.Open_Paren != No_Lexeme &&
           Column[Role.First_Code] == Column[Role.Open_Paren] + 1;
  }

  long long First_Column(std::size_t L, const std::vector<Line_Role>& Known,
                         bool& After_Paren) const noexcept {
    const Line_Role& Role = Known[L];
    if (Role.Kind == Line_Kind::Fixed) {
      return Role.Indent + 1;
    }
    const std::size_t Base = Known[Role.Statement_Line].First_Code;
    if (Base == No_Lexeme || Role.Statement_Line >= L) {
      return Role.Indent + 1;
    }
    const long long Mine = At(Role.First_Code).Column;
    const std::size_t Paren = Role.Open_Paren;
    if (Paren != No_Lexeme && Mine == At(Paren).Column + 1) {
      After_Paren = true;
      return Column[Paren] + 1;
    }
    const long long Offset = Mine - At(Base).Column;
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
    const long long Styled = Styled_Column(Role, Column[Base]);
    After_Paren = Paren != No_Lexeme && Styled == Column[Paren] + 1;
    return Styled;
  }

  // A continuation line the author did not indent: by the line's rule.
  long long Styled_Column(const Line_Role& Role, long long Base) const noexcept {
    switch (Role.Rule) {
      case Continuation_Rule::Level:
        return Base;
      case Continuation_Rule::Under:
        return std::max<long long>(Column[Role.Reference] + Role.Shift, 1);
      case Continuation_Rule::Indented:
      default:
        break;
    }
    const std::size_t Paren = Role.Open_Paren;
    if (Paren == No_Lexeme || Paren + 1 >= End_Of(At(Paren).Line)) {
      return Base + 2;
    }
    return Column[Paren] + (At(Role.First_Code).Symbol == Code::Right_Paren ? 0 : 1);
  }

  // The code lines around a comment line: the next, the one before, and
  // the last one before that starts a statement (or No_Lexeme).
  struct Neighbours {
    std::size_t Next = No_Lexeme;
    std::size_t Prior = No_Lexeme;
    std::size_t Prior_Fixed = No_Lexeme;
  };
  void Place_Comments();
  Code Last_Code_Symbol(std::size_t L) const noexcept;
  long long Comment_Column(std::size_t L, std::size_t Comment,
                           const Neighbours& Near) const noexcept;
  long long Wanted_Comment_Column(std::size_t L, std::size_t Comment,
                                  const Neighbours& Near) const noexcept;
  bool Demote_Unaligned();
  bool Line_Up(std::size_t I, std::size_t J) const noexcept;
  std::size_t Root(std::size_t I);
  void Join_Columns();
  std::size_t Line_Above(std::size_t L, long long At) const noexcept;
  std::size_t Adjacent_Above(std::size_t L, long long At) const noexcept;
  void Join_Right_Edges(std::size_t I, std::size_t Above);
  // Blanks wider than the scrambling of any tool or hand: deliberate.
  // An end-of-line comment three blanks or more after the code has a column
  // of its own.
  bool Wide(std::size_t I) const noexcept {
    const long long Least = At(I).Class == Lexeme_Class::Comment ? 3 : 4;
    return Keeps(I) && Author_Gap(I) >= Least;
  }

  std::string_view Source;
  const Lexed& Input;
  const std::vector<bool>& Made;  // the lines the engine made by breaking long ones
  int Units;
  std::vector<Line_Role> Roles;
  std::vector<Column_Number> Column;
  // Per lexeme, found once and read by every placing: the style's gap
  // between it and the lexeme on its left (none for a line's first), and
  // the flag Kept_Blanks when it keeps the blanks its author put there.
  std::vector<unsigned char> Spacing;
  static constexpr unsigned char Kept_Blanks = 0x80;
  std::vector<Column_Number> Forced;  // the column an alignment group gives the lexeme, or 0
  std::vector<Index> Column_Set;      // lexemes lined up in one column (union-find)
};

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
      Place_Line(L, Comment, Comment_Column(L, Comment, Near));
    } else if (Roles[L].First_Code != No_Lexeme) {
      Near.Prior = L;
      Near.Prior_Fixed = Roles[L].Kind == Line_Kind::Fixed ? L : Near.Prior_Fixed;
    }
  }
}

// A whole-line comment: it goes on with the comment just above it when the
// author lined them up; stays in column 1 when it stands there beside
// indented code; otherwise keeps its offset from the code it belongs to (the
// next code line, or the statements it closes when it follows them
// directly and a closing keyword comes next).
long long Placer::Comment_Column(std::size_t L, std::size_t Comment,
                                 const Neighbours& Near) const noexcept {
  long long Result = Wanted_Comment_Column(L, Comment, Near);
  // A comment that fitted the style's longest line where its author put it
  // goes no further right than it must.
  const long long Comment_End = Width(Comment) - 1;
  if (At(Comment).Column + Comment_End <= Style_Line_Length) {
    // To the next column of the indentation grid on its left each time.
    while (Result + Comment_End > Style_Line_Length && Result > 1) {
      Result = (Result - 2) / Units * Units + 1;
    }
  }
  return Result;
}

long long Placer::Wanted_Comment_Column(std::size_t L, std::size_t Comment,
                                        const Neighbours& Near) const noexcept {
  const long long Own = At(Comment).Column;
  if (L > 0 && End_Of(L - 1) > First_Of(L - 1)) {
    const std::size_t Above = End_Of(L - 1) - 1;
    if (At(Above).Class == Lexeme_Class::Comment && At(Above).Column == Own) {
      return Column[Above];
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
  long long Expected = Role.Indent + 1;
  long long Expected_Before = Expected;
  if (Role.Inside_Statement && Prior != No_Lexeme && Near.Prior_Fixed != No_Lexeme &&
      Last_Code_Symbol(Prior) == Code::With) {
    // Between `with` and the aspects: at the level of the declaration.
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
  const long long Kept = std::max<long long>(1, Expected + Own - Expected_Before);
  // A comment the author put on the indentation grid never leaves it by
  // keeping its offset from code that moved onto the grid.
  const auto On_Grid = [this](long long At) { return (At - 1) % Units == 0; };
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

// Two lexemes on adjacent lines line up: same column, same kind, after the
// same kind of lexeme (end-of-line comments need only the column).
bool Placer::Line_Up(std::size_t I, std::size_t J) const noexcept {
  if (Column[J] != Column[I] || Is_Mark(I) || Is_Mark(J) || !Same_Family(At(I), At(J))) {
    return false;
  }
  return At(I).Class == Lexeme_Class::Comment || !Has_Left_Neighbour(I) || !Has_Left_Neighbour(J) ||
         Same_Family(At(I - 1), At(J - 1)) ||
         (Leads_Subtype(At(I - 1)) && Leads_Subtype(At(J - 1)));
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
    for (std::size_t I = First_Of(L); I < End_Of(L); ++I) {
      // Only lexemes that keep blanks, and the marks that alignment is
      // about, look past the line above.
      const Code Mark = At(I).Symbol;
      const bool Far = Keeps(I) || Mark == Code::Colon || Mark == Code::Arrow ||
                       Mark == Code::Assign || Mark == Code::Use || Mark == Code::Left_Paren;
      const std::size_t Above = Far ? Line_Above(L, Column[I]) : Adjacent_Above(L, Column[I]);
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
  const long long Edge = Column[I] + Width(I);
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
std::size_t Placer::Adjacent_Above(std::size_t L, long long At) const noexcept {
  const std::size_t Line = L - 1;
  const Line_Kind Kind = Roles[Line].Kind;
  if (Kind == Line_Kind::Empty || Kind == Line_Kind::Comment) {
    return No_Lexeme;
  }
  const std::size_t Last = End_Of(Line) - 1;
  return Column[First_Of(Line)] <= At && Column[Last] + Width(Last) > At ? Line : No_Lexeme;
}

// The line a lexeme of line L at column At lines up with: the nearest code
// line above that reaches the column, past blank lines, whole-line
// comments and shorter lines (a few of them at most); or No_Lexeme.
std::size_t Placer::Line_Above(std::size_t L, long long At) const noexcept {
  constexpr std::size_t Farthest = 4;
  for (std::size_t Above = L; Above > 0 && L - Above < Farthest; --Above) {
    const std::size_t Line = Above - 1;
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
bool Placer::Demote_Unaligned() {
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
  bool Changed = false;
  for (std::size_t I = 0; I < Spacing.size(); ++I) {
    // Most lexemes keep no blanks: their column's root is never looked for.
    const bool Own_Column = At(I).Class == Lexeme_Class::Comment && Wide(I);
    if (!Keeps(I) || Forced[I] != 0 || Own_Column) {
      continue;
    }
    const std::size_t R = Root(I);
    if (Members[R] < 2 || Anchored[R] == 0) {
      Spacing[I] &= static_cast<unsigned char>(~Kept_Blanks);
      Changed = true;
    }
  }
  Column_Set = std::vector<Index>();
  return Changed;
}

}  // namespace

std::vector<Column_Number> Lay_Out(std::string_view Source, const Lexed& Input,
                                   const Settings& Options, const std::vector<bool>& Made) {
  return Placer(Source, Input, Options, Made).Run();
}

}  // namespace Formatter
