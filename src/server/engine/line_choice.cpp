// Choosing where a long line breaks: the line is looked at as a row of
// tokens with their nesting, and the best natural point is chosen.
#include "line_choice.h"

#include <algorithm>
#include <iterator>

#include "vocabulary.h"

namespace Formatter {

namespace {

// What a token can do for a break.
enum class Role : unsigned char {
  Other,
  Operand,    // a name, a literal, an attribute
  Open,       // (
  Close,      // )
  Separator,  // , ;
  Assign,     // := =>   (a break goes after them)
  Logical,    // and or xor (and then, or else)
  Operator,   // the other binary operators, and the signs
  Return,     // return
  Aspects,    // with (not at the start of a line): opens a list of aspects
  Splits,     // is renames   (a break goes before them)
  Comment,
};

Role Delimiter_Role(Code Symbol) noexcept {
  switch (Symbol) {
    case Code::Left_Paren:
    case Code::Left_Bracket:
      return Role::Open;
    case Code::Right_Paren:
    case Code::Right_Bracket:
      return Role::Close;
    case Code::Comma:
    case Code::Semicolon:
      return Role::Separator;
    case Code::Assign:
    case Code::Arrow:
      return Role::Assign;
    case Code::Ampersand:
    case Code::Plus:
    case Code::Minus:
    case Code::Star:
    case Code::Slash:
    case Code::Double_Star:
    case Code::Equal:
    case Code::Not_Equal:
    case Code::Less:
    case Code::Less_Equal:
    case Code::Greater:
    case Code::Greater_Equal:
      return Role::Operator;
    default:
      return Role::Other;
  }
}

Role Word_Role(Code Word) noexcept {
  switch (Word) {
    case Code::And:
    case Code::Or:
    case Code::Xor:
      return Role::Logical;
    case Code::Mod:
    case Code::Rem:
      return Role::Operator;
    case Code::Return:
      return Role::Return;
    case Code::With:
      return Role::Aspects;
    case Code::Is:
    case Code::Renames:
      return Role::Splits;
    default:
      return Role::Other;
  }
}

Role Role_Of(const Token& Item) noexcept {
  switch (Item.Kind) {
    case Kinds::Identifier:
    case Kinds::Literal:
    case Kinds::Attribute:
      return Role::Operand;
    case Kinds::Comment:
      return Role::Comment;
    case Kinds::Reserved_Word:
      return Word_Role(Reserved_Word(Item.Text, Edition::Ada2022));
    case Kinds::Delimiter: {
      std::size_t Length = 0;
      const Code Symbol = Delimiter_At(Item.Text, Edition::Ada2022, Length);
      return Length == Item.Text.size() ? Delimiter_Role(Symbol) : Role::Other;
    }
    default:
      return Role::Other;
  }
}

// Words after which the next line starts a statement or a declaration.
bool Opens_Statements(const Token& Item) noexcept {
  if (Item.Kind != Kinds::Reserved_Word) {
    return false;
  }
  switch (Reserved_Word(Item.Text, Edition::Ada2022)) {
    case Code::Is:
    case Code::Begin:
    case Code::Then:
    case Code::Else:
    case Code::Loop:
    case Code::Do:
    case Code::Record:
    case Code::Declare:
    case Code::Private:
    case Code::Generic:
    case Code::Select:
    case Code::Exception:
      return true;
    default:
      return false;
  }
}

// True when the line starting at First starts a statement or declaration
// (as far as the code before it tells): then its continuation lines go two
// columns in; a line that continues one already gives its pieces its own
// column.
bool Starts_Statement(const std::vector<Token>& Tokens, std::size_t First) {
  std::size_t I = First;
  while (I > 0 && (Ends_Line(Tokens[I - 1]) || Tokens[I - 1].Kind == Kinds::Comment)) {
    --I;
  }
  if (I == 0) {
    return true;
  }
  const Token& Last = Tokens[I - 1];
  if (Role_Of(Last) == Role::Separator && Last.Text == ";") {
    return true;
  }
  if (Opens_Statements(Last)) {
    return true;
  }
  if (Last.Text != "=>") {
    return false;
  }
  while (I > 0 && !Ends_Line(Tokens[I - 1])) {
    --I;
  }
  return Tokens[I].Kind == Kinds::Reserved_Word &&
         Reserved_Word(Tokens[I].Text, Edition::Ada2022) == Code::When;
}

// The tokens of one line, with what the choice of a break needs.
struct Row {
  std::vector<Role> Roles;
  std::vector<int> Depth;      // twice the parentheses open before the token, +1 inside aspects
  std::vector<int> Group;      // the `(` or aspect `with` of the row it stands in, or -1
  std::size_t Code_Count = 0;  // tokens before an end-of-line comment
};

Row Row_Of(const Token* Items, std::size_t Count) {
  Row Line;
  Line.Roles.reserve(Count);
  for (std::size_t I = 0; I < Count; ++I) {
    Line.Roles.push_back(Role_Of(Items[I]));
  }
  Line.Code_Count = Count > 0 && Line.Roles[Count - 1] == Role::Comment ? Count - 1 : Count;
  // The open groups of the row: each entry is its opener and its depth.
  std::vector<std::pair<int, int>> Open;
  int Depth = 0;
  for (std::size_t I = 0; I < Count; ++I) {
    const Role Each = Line.Roles[I];
    if (Each == Role::Close ||
        (Each == Role::Splits && !Open.empty() &&
         Line.Roles[static_cast<std::size_t>(Open.back().first)] == Role::Aspects)) {
      // A `)` ends its group (and an aspect list inside it); `is` ends the
      // aspects.
      while (!Open.empty() &&
             Line.Roles[static_cast<std::size_t>(Open.back().first)] == Role::Aspects) {
        Depth = Open.back().second;
        Open.pop_back();
      }
      if (Each == Role::Close) {
        Depth -= 2;
        if (!Open.empty()) {
          Open.pop_back();
        }
      }
    }
    Line.Depth.push_back(Depth);
    Line.Group.push_back(Open.empty() ? -1 : Open.back().first);
    if (Each == Role::Open) {
      Open.emplace_back(static_cast<int>(I), Depth);
      Depth += 2;
    } else if (Each == Role::Aspects && I > 0) {
      Open.emplace_back(static_cast<int>(I), Depth);
      Depth += 1;
    }
  }
  return Line;
}

// True when a line after Last, among those of the list that is still open
// at Last, starts at Aligned or further right and passes Width.
bool List_Overflows(const std::vector<Token>& Tokens, std::size_t Last, Column_Number Aligned,
                    Column_Number Width) {
  constexpr int Most_Lines = 200;  // a bound on the look ahead
  int Depth = 1;
  std::size_t First = Last + 1;
  for (int Lines = 0; Depth > 0 && First < Tokens.size() && Lines < Most_Lines; ++Lines) {
    std::size_t End = First;
    while (End < Tokens.size() && !Ends_Line(Tokens[End])) {
      ++End;
    }
    if (End > First && Tokens[First].Column >= Aligned && Last_Column(Tokens[End - 1]) > Width &&
        Tokens[End - 1].Kind != Kinds::Comment) {
      return true;
    }
    Depth += Nesting_Change(Tokens.data() + First, End - First);
    First = End + 1;
  }
  return false;
}

// A place to break: before token At of the row, which then goes to Column.
struct Candidate {
  std::size_t At = 0;
  int Rank = 0;  // 0 the best: separators, then logical, operators, after `:=`, before words
  int Depth = 0;
  Column_Number Column = 0;
};

constexpr int Separator_Rank = 0;
constexpr int Assign_Rank = 3;

// The column just inside the `(` or aspect `with` at Opener: where the
// first association after it stands.
Column_Number Inside_Column(const Token* Items, const Row& Line, std::size_t Opener) {
  return Items[Opener].Column + static_cast<Column_Number>(Items[Opener].Text.size()) +
         (Line.Roles[Opener] == Role::Aspects ? 1 : 0);
}

// The column where a piece of the row goes: under the first association of
// its group, else at Indent (two columns in from a statement's start, or
// where a row that continues one starts).
Column_Number Piece_Column(const Token* Items, const Row& Line, std::size_t At,
                           Column_Number Indent) {
  const int Group = Line.Group[At];
  return Group >= 0 ? Inside_Column(Items, Line, static_cast<std::size_t>(Group)) : Indent;
}

// The candidate break before token At, if the tokens around it offer one.
bool Candidate_At(const Token* Items, const Row& Line, std::size_t At, Column_Number Indent,
                  Candidate& Found) {
  const Role Before = Line.Roles[At - 1];
  const Role After = Line.Roles[At];
  if (After == Role::Close || After == Role::Separator || After == Role::Comment) {
    return false;
  }
  Found = Candidate{At, -1, Line.Depth[At], 0};
  if (Before == Role::Separator) {
    Found.Rank = Separator_Rank;
  } else if (After == Role::Logical && Before != Role::Logical) {
    Found.Rank = 1;
  } else if (After == Role::Operator && (Before == Role::Operand || Before == Role::Close)) {
    Found.Rank = 2;
  } else if (Before == Role::Assign || (Before == Role::Return && At == 1)) {
    Found.Rank = Assign_Rank;
  } else if (After == Role::Splits || After == Role::Aspects || (After == Role::Return && At > 1)) {
    Found.Rank = 4;
  } else if (After == Role::Open && Before == Role::Operand) {
    // Before the `(` of a call: the alternative of its associations.
    Found.Rank = Separator_Rank;
    Found.Depth += 2;
  } else {
    return false;
  }
  Found.Column = Piece_Column(Items, Line, At, Indent);
  if (Found.Rank == Separator_Rank && Line.Group[At] < 0 && After != Role::Open) {
    Found.Column = Items[0].Column;
  }
  return Found.Column < Items[At].Column;
}

// Choices filled in one pass: each piece ends at the last choice that
// keeps it within Width (or at the next choice, when none does), until
// the rest of the row fits.
std::vector<Candidate> Filling(const Token* Items, const Row& Line,
                               const std::vector<Candidate>& Choices, Column_Number Width) {
  std::vector<Candidate> Taken;
  Column_Number Shift = 0;  // how far the current piece moved left
  std::size_t Next = 0;
  while (Next < Choices.size() && Last_Column(Items[Line.Code_Count - 1]) - Shift > Width) {
    // Columns grow along the row: the first choice that does not fit ends
    // the search.
    std::size_t Fitting = Next;
    for (std::size_t I = Next;
         I < Choices.size() && Last_Column(Items[Choices[I].At - 1]) - Shift <= Width; ++I) {
      Fitting = I;
    }
    Taken.push_back(Choices[Fitting]);
    Shift = Items[Choices[Fitting].At].Column - Choices[Fitting].Column;
    Next = Fitting + 1;
  }
  return Taken;
}

// Every association of the group opened by token Opener fits at Column.
bool Associations_Fit(const Token* Items, const Row& Line, std::size_t Opener, Column_Number Column,
                      Column_Number Width) {
  std::size_t Start = Opener + 1;
  for (std::size_t I = Start; I < Line.Code_Count; ++I) {
    const bool Ends_Association =
        I + 1 == Line.Code_Count ||
        (Line.Roles[I] == Role::Separator && Line.Group[I] == static_cast<int>(Opener));
    if (Ends_Association) {
      if (Column + Last_Column(Items[I]) - Items[Start].Column > Width) {
        return false;
      }
      Start = I + 1;
    }
  }
  return true;
}

// Among the candidates of the outermost depth: an association list one per
// line when it does not fit, or broken before its `(`; otherwise the best
// rank, filled.
Line_Breaks Chosen(const Token* Items, const Row& Line, const std::vector<Candidate>& All,
                   std::size_t First, Column_Number Width) {
  int Depth = All.front().Depth;
  for (const Candidate& Each : All) {
    Depth = std::min(Depth, Each.Depth);
  }
  Line_Breaks Breaks;
  const auto Add = [&](const Candidate& Each) {
    Breaks.Before.push_back(First + Each.At);
    Breaks.Column.push_back(Each.Column);
  };
  // One break after `:=` or `=>` that makes both pieces fit is the best
  // (a declaration's default whole), unless a list is to be broken.
  const Column_Number Line_End = Last_Column(Items[Line.Code_Count - 1]);
  const bool List = std::any_of(All.begin(), All.end(), [Depth](const Candidate& Each) {
    return Each.Depth == Depth && Each.Rank == Separator_Rank;
  });
  for (const Candidate& Each : All) {
    if (!List && Each.Depth == Depth && Each.Rank == Assign_Rank &&
        Last_Column(Items[Each.At - 1]) <= Width &&
        Line_End - (Items[Each.At].Column - Each.Column) <= Width) {
      Add(Each);
      return Breaks;
    }
  }
  int Rank = 99;
  for (const Candidate& Each : All) {
    Rank = Each.Depth == Depth ? std::min(Rank, Each.Rank) : Rank;
  }
  // After `:=` when the rest still does not fit: better the list inside.
  if (Rank == Assign_Rank) {
    std::vector<Candidate> Inner;
    std::copy_if(All.begin(), All.end(), std::back_inserter(Inner),
                 [Depth](const Candidate& Each) { return Each.Depth > Depth; });
    if (!Inner.empty()) {
      return Chosen(Items, Line, Inner, First, Width);
    }
  }
  std::vector<Candidate> Best;
  for (const Candidate& Each : All) {
    if (Each.Depth == Depth && Each.Rank == Rank) {
      Best.push_back(Each);
    }
  }
  const Candidate& Leftmost = Best.front();
  const bool Before_Paren =
      Line.Roles[Leftmost.At] == Role::Open && Line.Roles[Leftmost.At - 1] != Role::Separator;
  const int Group = Before_Paren ? static_cast<int>(Leftmost.At) : Line.Group[Leftmost.At];
  if (Rank != Separator_Rank || Group < 0) {
    const std::vector<Candidate> Taken = Filling(Items, Line, Best, Width);
    std::for_each(Taken.begin(), Taken.end(), Add);
    return Breaks;
  }
  std::vector<Candidate> Members;
  for (const Candidate& Each : Best) {
    if (Line.Group[Each.At] == Group && Line.Roles[Each.At - 1] == Role::Separator) {
      Members.push_back(Each);
    }
  }
  const auto Opener = static_cast<std::size_t>(Group);
  const Column_Number Aligned = Inside_Column(Items, Line, Opener);  // the opener may end the row
  if (!Members.empty() &&
      !(Before_Paren && !Associations_Fit(Items, Line, Opener, Aligned, Width))) {
    std::for_each(Members.begin(), Members.end(), Add);
    return Breaks;
  }
  Add(Leftmost);
  if (Before_Paren && Nesting_Change(Items + Opener, Line.Code_Count - Opener) > 0) {
    Breaks.Paren_From = Items[Opener].Column;
    Breaks.Paren_To = Leftmost.Column;
  }
  return Breaks;
}

// A line that fits but opens a list whose later lines, aligned after its
// `(`, do not: broken before that `(`, so that the list moves left.
Line_Breaks List_Moved_Left(const std::vector<Token>& Tokens, std::size_t First, std::size_t Last,
                            Column_Number Width) {
  Line_Breaks Breaks;
  const Token* Items = Tokens.data() + First;
  const Row Line = Row_Of(Items, Last - First);
  std::size_t Opener = 0;
  while (Opener < Line.Code_Count &&
         !(Line.Roles[Opener] == Role::Open &&
           Nesting_Change(Items + Opener, Line.Code_Count - Opener) > 0)) {
    ++Opener;
  }
  if (Opener == 0 || Opener >= Line.Code_Count || Line.Roles[Opener - 1] != Role::Operand ||
      !List_Overflows(Tokens, Last, Items[Opener].Column + 1, Width)) {
    return Breaks;
  }
  const bool Statement = Starts_Statement(Tokens, First);
  const Column_Number Column =
      Piece_Column(Items, Line, Opener, Items[0].Column + (Statement ? 2 : 0));
  if (Column < Items[Opener].Column) {
    Breaks.Before.push_back(First + Opener);
    Breaks.Column.push_back(Column);
    Breaks.Paren_From = Items[Opener].Column;
    Breaks.Paren_To = Column;
  }
  return Breaks;
}

// GNAT's style wants the `then` of a condition broken over lines on a line
// of its own (lined up with its `if`, which the layout does).
void Then_Alone(const Token* Items, const Row& Line, std::size_t First, Line_Breaks& Breaks) {
  const std::size_t Then = Line.Code_Count - 1;
  if (Breaks.Before.empty() || Then == 0 || Breaks.Before.back() >= First + Then ||
      Items[Then].Kind != Kinds::Reserved_Word ||
      Reserved_Word(Items[Then].Text, Edition::Ada2022) != Code::Then ||
      Line.Roles[Then - 1] == Role::Logical) {
    return;
  }
  Breaks.Before.push_back(First + Then);
  Breaks.Column.push_back(Items[0].Column);
}

}  // namespace

Line_Breaks Breaks_For(const std::vector<Token>& Tokens, std::size_t First, std::size_t Last,
                       Column_Number Width) {
  Line_Breaks Breaks;
  if (Last <= First || Width <= 0) {
    return Breaks;
  }
  const Token* Items = Tokens.data() + First;
  const std::size_t Count = Last - First;
  for (std::size_t I = 0; I < Count; ++I) {
    if (Items[I].Text.size() > static_cast<std::size_t>(Longest_Line) ||
        Items[I].Kind == Kinds::Verbatim) {
      return Breaks;  // the client's own breaking, or bytes that stay as they are
    }
  }
  if (Last_Column(Tokens[Last - 1]) <= Width) {
    return Nesting_Change(Items, Count) > 0 ? List_Moved_Left(Tokens, First, Last, Width) : Breaks;
  }
  const Row Line = Row_Of(Items, Count);
  if (Line.Code_Count == 0) {
    return Breaks;  // a comment alone on its line
  }
  const bool Code_Fits = Last_Column(Items[Line.Code_Count - 1]) <= Width;
  if (!Code_Fits) {
    const bool Statement = Starts_Statement(Tokens, First);
    const Column_Number Indent = Items[0].Column + (Statement ? 2 : 0);
    std::vector<Candidate> All;
    Candidate Found;
    for (std::size_t At = 1; At < Line.Code_Count; ++At) {
      if (Candidate_At(Items, Line, At, Indent, Found)) {
        All.push_back(Found);
      }
    }
    if (!All.empty()) {
      Breaks = Chosen(Items, Line, All, First, Width);
      Then_Alone(Items, Line, First, Breaks);
      return Breaks;
    }
  }
  Breaks.Comment_Above = Line.Code_Count < Count;
  return Breaks;
}

int Nesting_Change(const Token* Items, std::size_t Count) {
  int Change = 0;
  for (std::size_t I = 0; I < Count; ++I) {
    if (Items[I].Kind == Kinds::Delimiter && Items[I].Text.size() == 1) {
      Change += Items[I].Text[0] == '(' ? 1 : Items[I].Text[0] == ')' ? -1 : 0;
    }
  }
  return Change;
}

}  // namespace Formatter
