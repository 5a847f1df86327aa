// The nesting analysis: a stack of open constructs driven by the reserved
// words that open, divide and close them, one statement at a time.
#include "structure.h"

#include <algorithm>
#include <initializer_list>

namespace Formatter {

namespace {

enum class Frame_Kind : unsigned char {
  Compilation, Generic, Unit, Block, If, Case, Alternative, Loop, Select, Record, Do
};

enum class Region : unsigned char { Declarations, Statements, Handlers };

struct Frame {
  Frame_Kind Kind = Frame_Kind::Compilation;
  long long Base = 0;  ///< indentation of the construct's own keywords
  Region Part = Region::Declarations;
  bool Awaiting = false;  ///< If: `then`; Case: `is`; Alternative: `=>`
};

constexpr std::size_t Deepest_Search = 200;

bool Is_Code(const Lexeme& Item) noexcept {
  return Item.Class != Lexeme_Class::Comment && Item.Class != Lexeme_Class::Effector &&
         Item.Class != Lexeme_Class::Byte_Order_Mark;
}

bool Is_Unit_Head(Code Head) noexcept {
  return Head == Code::Package || Head == Code::Procedure || Head == Code::Function ||
         Head == Code::Task || Head == Code::Protected || Head == Code::Entry;
}

bool Is_Body_Frame(Frame_Kind Kind) noexcept {
  return Kind == Frame_Kind::Unit || Kind == Frame_Kind::Block || Kind == Frame_Kind::Do;
}

class Analyser {
public:
  Analyser(const Lexed& Lexed_Source, int Indent_Units, Line_Placer& Line_Placer)
      : Input(Lexed_Source), Units(Indent_Units), Placer(Line_Placer) {
    Stack.push_back(Frame{});
  }

  std::vector<Line_Role> Run() {
    Roles.assign(Input.Lines.size(), Line_Role{});
    Estimated.reserve(Input.Lines.size());
    for (std::size_t L = 0; L < Input.Lines.size(); ++L) {
      Analyse_Line(L);
    }
    Mark_Comments_Before_Closers();
    return std::move(Roles);
  }

private:
  Code Sym(std::size_t I) const noexcept {
    return I < Input.Lexemes.size() ? Input.Lexemes[I].Symbol : Code::None;
  }
  Frame& Top() noexcept { return Stack.back(); }
  const Frame& Top() const noexcept { return Stack.back(); }
  long long Content() const noexcept {
    return Top().Kind == Frame_Kind::Compilation ? 0 : Top().Base + Units;
  }
  long long Statement_Base() const noexcept { return Estimated[Statement_Line]; }

  void Analyse_Line(std::size_t L) {
    const Source_Line& Line = Input.Lines[L];
    Line_Role& Role = Roles[L];
    Estimated.push_back(0);
    for (std::size_t I = Line.First; I < Line.First + Line.Count; ++I) {
      const Lexeme& Item = Input.Lexemes[I];
      if (!Is_Code(Item)) {
        if (Item.Class == Lexeme_Class::Comment && Role.First_Code == No_Lexeme) {
          Role.Kind = Line_Kind::Comment;
        }
        continue;
      }
      if (Role.First_Code == No_Lexeme) {
        Role.First_Code = I;
        Decide(L, I);
      }
      Apply(I);
      Previous = I;
    }
    if (Role.First_Code != No_Lexeme) {
      Previous_Line_First = Role.First_Code;
    } else if (Role.Kind == Line_Kind::Comment) {
      Role.Indent = Content();
      Role.Inside_Statement = !At_Start;
      Estimated.back() = Role.Indent;
    }
  }

  // The role of a line, from its first code lexeme and the state before it.
  void Decide(std::size_t L, std::size_t I) {
    Recover_At_Line_Start(I);
    Line_Role& Role = Roles[L];
    if (At_Start) {
      Role.Kind = Line_Kind::Fixed;
      Role.Indent = Start_Column(I);
    } else if (const long long Closer = Closer_Column(I); Closer >= 0) {
      Role.Kind = Line_Kind::Fixed;
      Role.Indent = Closer;
    } else {
      Role.Kind = Line_Kind::Continuation;
      Role.Statement_Line = Statement_Line;
      Role.Open_Paren = Parens.empty() ? No_Lexeme : Parens.back();
      Role.Indent = Statement_Base() + 2;
      Hint(Role, I);
    }
    Role.Indent = std::max<long long>(Role.Indent, 0);
    Estimated.back() = std::max<long long>(Placer.Place(L, Roles) - 1, 0);
  }

  // The style's place for a continuation line that begins with I, where it
  // is not two columns in or after the open parenthesis.
  void Hint(Line_Role& Role, std::size_t I) const noexcept {
    const Code S = Sym(I);
    const std::size_t Next = Next_Code(I);
    const bool Alone = Next == No_Lexeme || Input.Lexemes[Next].Line != Input.Lexemes[I].Line;
    if (!Parens.empty()) {
      return;
    }
    // After a label that ends the line above, the loop or block it names
    // stands at the label's level.
    const bool After_Label = Sym(Previous) == Code::Colon &&
                             (S == Code::While || S == Code::For || S == Code::Declare);
    if (((S == Code::With || S == Code::Arrow) && Alone) || S == Code::Private ||
        S == Code::Renames || After_Label) {
      Role.Rule = Continuation_Rule::Level;
    } else if (S == Code::Bar && Top().Kind == Frame_Kind::Alternative && Top().Awaiting) {
      Under(Role, Choice, -2);
    } else if (S == Code::Return && Sym(Previous_Line_First) == Code::Left_Paren) {
      Under(Role, Next_Code(Previous_Line_First), 0);
    } else if (Starts_Record(I)) {
      // `type T is` then `record` one level in; `new P with` then `record`
      // at the type's level.
      if (Sym(Previous) == Code::Is) {
        Under(Role, Roles[Statement_Line].First_Code, Units);
      } else {
        Role.Rule = Continuation_Rule::Level;
      }
    } else if (Sym(Previous) == Code::Arrow) {
      Under(Role, Previous_Line_First, 2);
    }
  }

  // `record`, or `abstract`, `tagged` and `limited` before it.
  bool Starts_Record(std::size_t I) const noexcept {
    for (std::size_t J = I; J != No_Lexeme; J = Next_Code(J)) {
      const Code S = Sym(J);
      if (S == Code::Record) {
        return Sym(Previous) != Code::Null;
      }
      if (S != Code::Abstract && S != Code::Tagged && S != Code::Limited) {
        return false;
      }
    }
    return false;
  }

  static void Under(Line_Role& Role, std::size_t Reference, long long Shift) noexcept {
    if (Reference != No_Lexeme) {
      Role.Rule = Continuation_Rule::Under;
      Role.Reference = Reference;
      Role.Shift = Shift;
    }
  }

  // Keywords that can only begin a statement end an unfinished one (a
  // missing semicolon or parenthesis), so that one error stays local.
  void Recover_At_Line_Start(std::size_t I) {
    // Aspects after `end record` continue the type declaration.
    if (Skipping && Sym(I) != Code::With) {
      Skipping = false;
      Start_Next();
      return;
    }
    if (At_Start) {
      return;
    }
    const Code S = Sym(I);
    const bool Hard = S == Code::End || S == Code::Elsif || S == Code::Exception;
    const bool Soft = Parens.empty() && (S == Code::Begin || (S == Code::Else && Sym(Previous) != Code::Or));
    if (Hard || Soft) {
      Parens.clear();
      Declare_Depth = No_Lexeme;
      Start_Next();
    }
  }

  // Index of the innermost frame of one of Kinds (Alternatives skipped over),
  // or 0 when there is none.
  std::size_t Find(std::initializer_list<Frame_Kind> Kinds) const noexcept {
    // Nesting deeper than any real program is not searched through, so that
    // no input makes this quadratic.
    const std::size_t Lowest = Stack.size() > Deepest_Search ? Stack.size() - Deepest_Search : 1;
    for (std::size_t F = Stack.size() - 1; F >= Lowest; --F) {
      for (const Frame_Kind Kind : Kinds) {
        if (Stack[F].Kind == Kind) {
          return F;
        }
      }
      if (Stack[F].Kind == Frame_Kind::Unit) {
        return 0;
      }
    }
    return 0;
  }

  std::size_t Innermost_Closable() const noexcept {
    std::size_t F = Stack.size() - 1;
    while (F > 0 && Stack[F].Kind == Frame_Kind::Alternative) {
      --F;
    }
    return F;
  }

  long long Base_Or_Content(std::size_t F) const noexcept { return F > 0 ? Stack[F].Base : Content(); }

  long long Start_Column(std::size_t I) const noexcept {
    switch (Sym(I)) {
      case Code::End:
        return Innermost_Closable() > 0 ? Stack[Innermost_Closable()].Base : 0;
      case Code::Elsif:
        return Base_Or_Content(Find({Frame_Kind::If}));
      case Code::Else:
        return Base_Or_Content(Find({Frame_Kind::If, Frame_Kind::Select}));
      case Code::Or:
      case Code::Then:
        return Base_Or_Content(Find({Frame_Kind::Select}));
      case Code::Exception:
        return Base_Or_Content(Find({Frame_Kind::Unit, Frame_Kind::Block, Frame_Kind::Do}));
      case Code::Begin:
        return Opens_Statements() ? Stack[Innermost_Closable()].Base : Content();
      case Code::Private:
        return !Is_Prefix_Private(I) && Top().Kind == Frame_Kind::Unit ? Top().Base : Content();
      case Code::When:
        return Alternative_Column();
      case Code::Package:
      case Code::Procedure:
      case Code::Function:
        return Top().Kind == Frame_Kind::Generic ? Top().Base : Content();
      default:
        return Content();
    }
  }

  long long Alternative_Column() const noexcept {
    if (Top().Kind == Frame_Kind::Alternative) {
      return Top().Base;
    }
    return Takes_Alternatives() ? Top().Base + Units : Content();
  }

  bool Takes_Alternatives() const noexcept {
    const Frame& F = Top();
    return F.Kind == Frame_Kind::Case || F.Kind == Frame_Kind::Select ||
           (Is_Body_Frame(F.Kind) && F.Part == Region::Handlers);
  }

  bool Opens_Statements() const noexcept {
    const Frame& F = Stack[Innermost_Closable()];
    return (F.Kind == Frame_Kind::Unit || F.Kind == Frame_Kind::Block) &&
           F.Part == Region::Declarations;
  }

  // `private with`, `private package`...: only where library units start.
  bool Is_Prefix_Private(std::size_t I) const noexcept {
    if (Top().Kind != Frame_Kind::Compilation) {
      return false;
    }
    const Code Next = Sym(Next_Code(I));
    return Next == Code::With || Next == Code::Package || Next == Code::Procedure ||
           Next == Code::Function || Next == Code::Generic;
  }

  std::size_t Next_Code(std::size_t I) const noexcept {
    for (std::size_t J = I + 1; J < Input.Lexemes.size(); ++J) {
      if (Is_Code(Input.Lexemes[J])) {
        return J;
      }
    }
    return No_Lexeme;
  }

  // The column of a keyword that, though it continues a statement, lines
  // up with the construct it belongs to (`then`, `is`, `loop` on a line of
  // their own); -1 for an ordinary continuation line.
  long long Closer_Column(std::size_t I) const noexcept {
    switch (Sym(I)) {
      case Code::Then:
        return Top().Kind == Frame_Kind::If && Top().Awaiting && Sym(Previous) != Code::And
                   ? Top().Base
                   : -1;
      case Code::Is:
        if (Head == Code::Case && Top().Kind == Frame_Kind::Case) {
          return Top().Base;
        }
        return Is_Unit_Head(Head) ? Statement_Base() : -1;
      case Code::Loop:
      case Code::Do:
        return Statement_Base();
      default:
        return -1;
    }
  }

  void Start_Next() noexcept {
    At_Start = true;
    Head = Code::None;
  }

  void Push(Frame_Kind Kind, long long Base, Region Part = Region::Declarations,
            bool Awaiting = false) {
    Stack.push_back(Frame{Kind, Base < 0 ? 0 : Base, Part, Awaiting});
  }

  void Apply(std::size_t I) {
    const Code S = Sym(I);
    if (Skipping) {
      if (S == Code::Semicolon) {
        Skipping = false;
        Start_Next();
      }
      return;
    }
    const bool Opening = S == Code::Left_Paren || S == Code::Left_Bracket;
    const bool Closing = S == Code::Right_Paren || S == Code::Right_Bracket;
    if (Opening || Closing) {
      Apply_Paren(I, Opening);
    } else if (!Parens.empty()) {
      Apply_Inside_Parens(I);
    } else if (At_Start) {
      Begin_Statement(I);
    } else {
      Continue_Statement(I);
    }
  }

  // Inside parentheses only a formal part (or a declare expression) holds
  // semicolons: elsewhere a semicolon means a parenthesis was left open,
  // and the statement ends there.
  void Apply_Inside_Parens(std::size_t I) {
    if (Sym(I) == Code::Declare) {
      Declare_Depth = std::min(Declare_Depth, Parens.size());
    } else if (Sym(I) == Code::Semicolon && Parens.size() < Declare_Depth &&
               !Opens_Formal_Part(Parens.front())) {
      Parens.clear();
      Declare_Depth = No_Lexeme;
      Continue_Statement(I);
    }
  }

  // A parenthesis after the name in a subprogram, entry, accept, type or
  // formal declaration, or after `procedure`, `function` or another
  // parenthesis (an entry family) in those and in access definitions.
  bool Opens_Formal_Part(std::size_t Paren) const noexcept {
    const Code Before = Paren > 0 ? Sym(Paren - 1) : Code::None;
    if (Before == Code::Procedure || Before == Code::Function) {
      return true;
    }
    switch (Head) {
      case Code::Procedure:
      case Code::Function:
      case Code::Entry:
      case Code::Accept:
      case Code::Type:
      case Code::Task:
      case Code::Protected:
      case Code::With:
        return true;
      default:
        return false;
    }
  }

  void Apply_Paren(std::size_t I, bool Opening) {
    if (At_Start) {
      Enter_Statement(I);
    }
    if (Opening) {
      Parens.push_back(I);
      return;
    }
    if (!Parens.empty()) {
      Parens.pop_back();
    }
    if (Parens.size() < Declare_Depth) {
      Declare_Depth = No_Lexeme;
    }
    if (Parens.empty() && Head == Code::Separate) {
      Start_Next();
    }
  }

  void Enter_Statement(std::size_t I) {
    At_Start = false;
    Head = Code::None;
    Awaiting_With = false;
    Statement_Line = Input.Lexemes[I].Line;
  }

  void Begin_Statement(std::size_t I);
  bool Begin_Divider(std::size_t I);
  void Continue_Statement(std::size_t I);
  void Apply_Is(std::size_t I);
  void Open_Alternative();
  void Mark_Comments_Before_Closers();

  const Lexed& Input;
  int Units;
  Line_Placer& Placer;
  std::vector<Frame> Stack;
  std::vector<Line_Role> Roles;
  std::vector<long long> Estimated;
  std::vector<std::size_t> Parens;
  std::size_t Statement_Line = 0;
  std::size_t Previous = No_Lexeme;
  std::size_t Previous_Line_First = No_Lexeme;  // first code lexeme of the last code line
  std::size_t Choice = No_Lexeme;               // the first choice after `when`
  Code Head = Code::None;
  std::size_t Declare_Depth = No_Lexeme;  // parentheses around a declare expression
  bool At_Start = true;
  bool Skipping = false;       // after `end`, up to its semicolon
  bool Awaiting_With = false;  // task or protected `is new ... with`
};

// The first lexeme of a statement, declaration or clause.
void Analyser::Begin_Statement(std::size_t I) {
  const Code S = Sym(I);
  Enter_Statement(I);
  if (Begin_Divider(I)) {
    return;
  }
  switch (S) {
    case Code::Overriding:
    case Code::Not:
    case Code::Limited:
      Start_Next();  // prefixes: the statement proper follows
      return;
    case Code::Private:
      if (Is_Prefix_Private(I)) {
        Start_Next();
        return;
      }
      if (const std::size_t F = Find({Frame_Kind::Unit}); F > 0) {
        Stack.resize(F + 1);
        Top().Part = Region::Declarations;
      }
      Start_Next();
      return;
    case Code::Package:
    case Code::Procedure:
    case Code::Function:
      if (Top().Kind == Frame_Kind::Generic) {
        Stack.pop_back();
      }
      Head = S;
      return;
    default:
      Head = S;
      Continue_Statement(I);
      return;
  }
}

// Statement-starting keywords that open, divide or close a construct.
bool Analyser::Begin_Divider(std::size_t I) {
  const Code S = Sym(I);
  switch (S) {
    case Code::End:
      Stack.resize(Innermost_Closable() > 0 ? Innermost_Closable() : 1);
      Skipping = true;
      return true;
    case Code::If:
      Push(Frame_Kind::If, Statement_Base(), Region::Statements, true);
      return true;
    case Code::Elsif:
      if (const std::size_t F = Find({Frame_Kind::If}); F > 0) {
        Stack.resize(F + 1);
        Top().Awaiting = true;
      }
      return true;
    case Code::Else:
    case Code::Or:
    case Code::Then: {
      const std::size_t F = S == Code::Else ? Find({Frame_Kind::If, Frame_Kind::Select})
                                            : Find({Frame_Kind::Select});
      if (F == 0) {
        return false;
      }
      Stack.resize(F + 1);
      Start_Next();
      return true;
    }
    case Code::Case:
      Push(Frame_Kind::Case, Statement_Base(), Region::Statements, true);
      Head = Code::Case;
      return true;
    case Code::When:
      Open_Alternative();
      Choice = Next_Code(I);
      return true;
    case Code::Select:
      Push(Frame_Kind::Select, Statement_Base(), Region::Statements);
      Start_Next();
      return true;
    case Code::Exception:
      if (const std::size_t F = Find({Frame_Kind::Unit, Frame_Kind::Block, Frame_Kind::Do}); F > 0) {
        Stack.resize(F + 1);
        Top().Part = Region::Handlers;
      }
      Start_Next();
      return true;
    case Code::Generic:
      Push(Frame_Kind::Generic, Statement_Base());
      Start_Next();
      return true;
    case Code::Begin:
      if (Opens_Statements()) {
        Stack.resize(Innermost_Closable() + 1);
        Top().Part = Region::Statements;
        Start_Next();
        return true;
      }
      return false;
    default:
      return false;
  }
}

void Analyser::Open_Alternative() {
  if (Top().Kind == Frame_Kind::Alternative) {
    Stack.pop_back();
  }
  if (Takes_Alternatives()) {
    Push(Frame_Kind::Alternative, Top().Base + Units, Region::Statements, true);
  } else {
    Head = Code::When;
  }
}

// A lexeme inside a statement, outside parentheses.
void Analyser::Continue_Statement(std::size_t I) {
  switch (Sym(I)) {
    case Code::Semicolon:
      if (Top().Kind == Frame_Kind::Alternative) {
        Top().Awaiting = false;
      }
      Start_Next();
      return;
    case Code::Is:
      Apply_Is(I);
      return;
    case Code::Then:
      if (Top().Kind == Frame_Kind::If && Top().Awaiting && Sym(Previous) != Code::And) {
        Top().Awaiting = false;
        Start_Next();
      }
      return;
    case Code::Loop:
      Push(Frame_Kind::Loop, Statement_Base(), Region::Statements);
      Start_Next();
      return;
    case Code::Do:
      Push(Frame_Kind::Do, Statement_Base(), Region::Statements);
      Start_Next();
      return;
    case Code::Record:
      if (Sym(Previous) != Code::Null) {
        // The components are indented from the type declaration, or from
        // `record` standing at the start of a line.
        const std::size_t Line = Input.Lexemes[I].Line;
        const bool Leads = Starts_Record(Roles[Line].First_Code);
        Push(Frame_Kind::Record, Leads ? Estimated[Line] : Statement_Base());
        Start_Next();
      }
      return;
    case Code::Declare:
    case Code::Begin:
      Push(Frame_Kind::Block, Statement_Base(),
           Sym(I) == Code::Begin ? Region::Statements : Region::Declarations);
      Start_Next();
      return;
    case Code::With:
      if (Awaiting_With) {
        Push(Frame_Kind::Unit, Statement_Base());
        Start_Next();
      }
      return;
    case Code::Arrow:
      if (Top().Kind == Frame_Kind::Alternative && Top().Awaiting) {
        Top().Awaiting = false;
        Start_Next();
      }
      return;
    case Code::Right_Label:
      if (Head == Code::Left_Label) {
        Start_Next();
      }
      return;
    default:
      return;
  }
}

// `is`: a body or a specification with a declarative part opens here,
// unless what follows makes the declaration complete (`is separate`,
// `is abstract`, `is null`, `is new`, `is <>`, an expression function).
void Analyser::Apply_Is(std::size_t I) {
  if (Head == Code::Case && Top().Kind == Frame_Kind::Case && Top().Awaiting) {
    Top().Awaiting = false;
    Start_Next();
    return;
  }
  if (!Is_Unit_Head(Head)) {
    return;
  }
  const Code Next = Sym(Next_Code(I));
  if (Next == Code::New && (Head == Code::Task || Head == Code::Protected)) {
    Awaiting_With = true;
    return;
  }
  if (Next == Code::Separate || Next == Code::Abstract || Next == Code::Null ||
      Next == Code::New || Next == Code::Box || Next == Code::Left_Paren) {
    return;
  }
  Push(Frame_Kind::Unit, Statement_Base());
  Start_Next();
}

void Analyser::Mark_Comments_Before_Closers() {
  bool Closer_Follows = false;
  for (std::size_t L = Roles.size(); L > 0; --L) {
    Line_Role& Role = Roles[L - 1];
    if (Role.First_Code != No_Lexeme) {
      const Code S = Sym(Role.First_Code);
      Closer_Follows = S == Code::End || S == Code::Else || S == Code::Elsif ||
                       S == Code::When || S == Code::Exception || S == Code::Begin ||
                       S == Code::Or || S == Code::Private;
    } else if (Role.Kind == Line_Kind::Comment) {
      Role.Before_Closer = Closer_Follows;
    }
  }
}

}  // namespace

std::vector<Line_Role> Analyse(const Lexed& Input, int Units, Line_Placer& Placer) {
  return Analyser(Input, Units, Placer).Run();
}

}  // namespace Formatter
