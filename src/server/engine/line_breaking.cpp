// Breaking long lines: each line longer than the width is looked at as a
// row of tokens with their nesting, the best natural point is chosen, and
// the text with its new line ends is laid out again by the engine, until
// no line can be shortened any more.
#include "line_breaking.h"

#include <algorithm>
#include <iterator>
#include <memory>

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

bool Ends_Line(const Token& Item) noexcept {
  return Item.Kind == Kinds::End_Of_Line && Item.Text.empty();
}

int Last_Column(const Token& Item) noexcept {
  return Item.Column + static_cast<int>(Item.Text.size()) - 1;
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
  std::vector<int> Depth;     // twice the parentheses open before the token, +1 inside aspects
  std::vector<int> Group;     // the `(` or aspect `with` of the row it stands in, or -1
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
    if (Each == Role::Close || (Each == Role::Splits && !Open.empty() &&
                                Line.Roles[static_cast<std::size_t>(Open.back().first)] ==
                                    Role::Aspects)) {
      // A `)` ends its group (and an aspect list inside it); `is` ends the
      // aspects.
      while (!Open.empty() && Line.Roles[static_cast<std::size_t>(Open.back().first)] ==
                                   Role::Aspects) {
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

// A place to break: before token At of the row, which then goes to Column.
struct Candidate {
  std::size_t At = 0;
  int Rank = 0;   // 0 the best: separators, then logical, operators, after `:=`, before words
  int Depth = 0;
  int Column = 0;
};

constexpr int Separator_Rank = 0;
constexpr int Assign_Rank = 3;

// The column where a piece of the row goes: under the first association of
// its group, else two columns in from a statement's start, else where the
// row starts.
int Piece_Column(const Token* Items, const Row& Line, std::size_t At, int Statement_Indent,
                 int Continuation) {
  const int Group = Line.Group[At];
  if (Group >= 0) {
    const Token& Opener = Items[Group];
    return Opener.Column + static_cast<int>(Opener.Text.size()) +
           (Line.Roles[static_cast<std::size_t>(Group)] == Role::Aspects ? 1 : 0);
  }
  return Continuation != 0 ? Continuation : Statement_Indent;
}

// The candidate break before token At, if the tokens around it offer one.
bool Candidate_At(const Token* Items, const Row& Line, std::size_t At, int Indent,
                  int Continuation, Candidate& Found) {
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
  } else if (After == Role::Operator &&
             (Before == Role::Operand || Before == Role::Close)) {
    Found.Rank = 2;
  } else if (Before == Role::Assign || (Before == Role::Return && At == 1)) {
    Found.Rank = Assign_Rank;
  } else if (After == Role::Splits || After == Role::Aspects ||
             (After == Role::Return && At > 1)) {
    Found.Rank = 4;
  } else if (After == Role::Open && Before == Role::Operand) {
    // Before the `(` of a call: the alternative of its associations.
    Found.Rank = Separator_Rank;
    Found.Depth += 2;
  } else {
    return false;
  }
  Found.Column = Piece_Column(Items, Line, At, Indent, Continuation);
  if (Found.Rank == Separator_Rank && Line.Group[At] < 0 && After != Role::Open) {
    Found.Column = Items[0].Column;
  }
  return Found.Column < Items[At].Column;
}

// Choices filled in one pass: each piece ends at the last choice that
// keeps it within Width (or at the next choice, when none does), until
// the rest of the row fits.
std::vector<Candidate> Filling(const Token* Items, const Row& Line,
                               const std::vector<Candidate>& Choices, int Width) {
  std::vector<Candidate> Taken;
  int Shift = 0;  // how far the current piece moved left
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
bool Associations_Fit(const Token* Items, const Row& Line, std::size_t Opener, int Column,
                      int Width) {
  std::size_t Start = Opener + 1;
  for (std::size_t I = Start; I < Line.Code_Count; ++I) {
    const bool Ends_Association = I + 1 == Line.Code_Count ||
                                  (Line.Roles[I] == Role::Separator &&
                                   Line.Group[I] == static_cast<int>(Opener));
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
                   std::size_t First, int Width) {
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
  const int Line_End = Last_Column(Items[Line.Code_Count - 1]);
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
  const bool Before_Paren = Line.Roles[Leftmost.At] == Role::Open &&
                            Line.Roles[Leftmost.At - 1] != Role::Separator;
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
  const int Aligned = Piece_Column(Items, Line, Opener + 1, 0, 0);
  if (Before_Paren && !Associations_Fit(Items, Line, Opener, Aligned, Width)) {
    Add(Leftmost);
  } else if (!Members.empty()) {
    std::for_each(Members.begin(), Members.end(), Add);
  } else {
    Add(Leftmost);
  }
  return Breaks;
}

}  // namespace

Line_Breaks Breaks_For(const std::vector<Token>& Tokens, std::size_t First, std::size_t Last,
                       int Width) {
  Line_Breaks Breaks;
  if (Last <= First || Width <= 0 || Last_Column(Tokens[Last - 1]) <= Width) {
    return Breaks;
  }
  const Token* Items = Tokens.data() + First;
  const std::size_t Count = Last - First;
  for (std::size_t I = 0; I < Count; ++I) {
    if (static_cast<long long>(Items[I].Text.size()) > Longest_Line ||
        Items[I].Kind == Kinds::Verbatim) {
      return Breaks;  // the client's own breaking, or bytes that stay as they are
    }
  }
  const Row Line = Row_Of(Items, Count);
  if (Line.Code_Count == 0) {
    return Breaks;  // a comment alone on its line
  }
  const bool Code_Fits = Last_Column(Items[Line.Code_Count - 1]) <= Width;
  if (!Code_Fits) {
    const bool Statement = Starts_Statement(Tokens, First);
    const int Indent = Items[0].Column + (Statement ? 2 : 0);
    std::vector<Candidate> All;
    Candidate Found;
    for (std::size_t At = 1; At < Line.Code_Count; ++At) {
      if (Candidate_At(Items, Line, At, Indent, 0, Found)) {
        All.push_back(Found);
      }
    }
    if (!All.empty()) {
      return Chosen(Items, Line, All, First, Width);
    }
  }
  Breaks.Comment_Above = Line.Code_Count < Count;
  return Breaks;
}

namespace {

// Tokens with the breaks of every long line made: line ends inserted (the
// pieces moved to their columns) and comments put above their code.
bool Broken(const std::vector<Token>& Tokens, int Width, std::vector<Token>& Into) {
  bool Any = false;
  Into.clear();
  Into.reserve(Tokens.size() + Tokens.size() / 8);
  std::size_t First = 0;
  while (First <= Tokens.size()) {
    std::size_t Last = First;
    while (Last < Tokens.size() && !Ends_Line(Tokens[Last])) {
      ++Last;
    }
    const Line_Breaks Breaks = Breaks_For(Tokens, First, Last, Width);
    std::size_t End = Last;
    if (Breaks.Comment_Above) {
      Into.push_back(Token{Kinds::Comment, Tokens[First].Column, Tokens[Last - 1].Text});
      Into.push_back(Token{Kinds::End_Of_Line, 1, {}});
      --End;
    }
    int Shift = 0;
    std::size_t Next = 0;
    for (std::size_t I = First; I < End; ++I) {
      if (Next < Breaks.Before.size() && Breaks.Before[Next] == I) {
        Into.push_back(Token{Kinds::End_Of_Line, 1, {}});
        Shift = Tokens[I].Column - Breaks.Column[Next];
        ++Next;
      }
      Token Moved = Tokens[I];
      Moved.Column -= Shift;
      Into.push_back(Moved);
    }
    Any = Any || Breaks.Comment_Above || !Breaks.Before.empty();
    if (Last < Tokens.size()) {
      Into.push_back(Tokens[Last]);
    }
    First = Last + 1;
  }
  return Any;
}

// A bound on the passes: each breaks every long line once more.
constexpr int Most_Passes = 16;

}  // namespace

Result Fit_Lines(Result Output, const Settings& In_Force) {
  if (!Output.Errors.empty() || In_Force.Width <= 0) {
    return Output;
  }
  Settings Laying_Out = In_Force;
  Laying_Out.Width = 0;
  std::vector<Token> Pieces;
  for (int Pass = 0; Pass < Most_Passes && Broken(Output.Tokens, In_Force.Width, Pieces);
       ++Pass) {
    auto Text = std::make_shared<const std::string>(Written_Text(Pieces));
    Result Again = Format(std::string_view(*Text), Laying_Out);
    if (!Again.Errors.empty()) {
      break;
    }
    if (!Again.Laid_Out) {
      Again.Laid_Out = std::move(Text);
    }
    Output = std::move(Again);
  }
  return Output;
}

}  // namespace Formatter
