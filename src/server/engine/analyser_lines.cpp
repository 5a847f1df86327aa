// The nesting analyser, line by line: the role of each line from its first
// code lexeme and the constructs open before it.
#include <algorithm>

#include "analyser.h"
#include "continuation.h"

namespace Formatter::Nesting {

std::vector<Line_Role> Analyser::Run() {
  Roles.assign(Input.Lines.size(), Line_Role{});
  Estimated.reserve(Input.Lines.size());
  for (std::size_t L = 0; L < Input.Lines.size(); ++L) {
    Analyse_Line(L);
  }
  Mark_Comments_Before_Closers();
  return std::move(Roles);
}

void Analyser::Analyse_Line(std::size_t L) {
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
      Role.First_Code = static_cast<Index>(I);
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
void Analyser::Decide(std::size_t L, std::size_t I) {
  Recover_At_Line_Start(I);
  Line_Role& Role = Roles[L];
  Column_Number Indent = 0;
  if (At_Start) {
    Role.Kind = Line_Kind::Fixed;
    Indent = Start_Column(I);
  } else if (const Column_Number Closer = Closer_Column(I); Closer >= 0) {
    Role.Kind = Line_Kind::Fixed;
    Indent = Closer;
  } else {
    Role.Kind = Line_Kind::Continuation;
    Role.Statement_Line = static_cast<Index>(Statement_Line);
    Role.Open_Paren = static_cast<Index>(Parens.empty() ? No_Lexeme : Parens.back());
    Indent = Statement_Base() + 2;
    Hint(Role, I);
  }
  Role.Indent = std::max<Column_Number>(Indent, 0);
  Estimated.back() = std::max<Column_Number>(Placer.Place(L, Roles) - 1, 0);
}

// The style's place for a continuation line that begins with I, where it
// is not two columns in or after the open parenthesis.
void Analyser::Hint(Line_Role& Role, std::size_t I) const noexcept {
  const Code S = Sym(I);
  const std::size_t Next = Next_Code(I);
  const bool Alone = Next == No_Lexeme || Input.Lexemes[Next].Line != Input.Lexemes[I].Line;
  if (!Parens.empty()) {
    // After `=>` that ends the line above: two columns in from the choice;
    // after an operator: from that line.
    const std::size_t Choices =
        Sym(Previous) == Code::Arrow ? Choice_Start(Input, Previous) : No_Lexeme;
    const std::size_t Expression = Next_Code(Parens.back());
    if (S == Code::When && Sym(Expression) == Code::Case) {
      // The alternatives of a case expression: one level in from `case`.
      Under(Role, Expression, Units);
    } else if (Choices != No_Lexeme) {
      Under(Role, Choices, 2);
    } else if (Ends_With_Operator() || Ends_With_Logical(Input, Previous)) {
      Under(Role, Previous_Line_First, 2);
    } else if (Sym(Previous) == Code::Colon || Sym(Previous) == Code::Out) {
      // `(Name :` or `Name : out` ending the line: the type two columns in
      // from the name.
      const bool Paren_First = Sym(Previous_Line_First) == Code::Left_Paren;
      Under(Role, Paren_First ? Next_Code(Previous_Line_First) : Previous_Line_First, 2);
    } else if (Sym(Previous) == Code::Then && Sym(Previous_Line_First) == Code::Left_Paren &&
               Sym(Next_Code(Previous_Line_First)) == Code::If) {
      // `(if A then` ending the line: two columns in from `if`.
      Under(Role, Next_Code(Previous_Line_First), 2);
    } else if ((Sym(Previous) == Code::Then && (Sym(Previous_Line_First) == Code::Elsif ||
                                                Sym(Previous_Line_First) == Code::Then)) ||
               Sym(Previous) == Code::Else) {
      // After `elsif B then`, `then` or `else` of an if expression: two
      // columns in.
      Under(Role, Sym(Previous) == Code::Else ? Previous : Previous_Line_First, 2);
    } else if (S == Code::Left_Paren) {
      // The parameters of a name that ends the line above, or of an
      // access-to-subprogram type: two columns in from the name, or from
      // the line that ends with `function` or `procedure`.
      const bool Profile = Sym(Previous) == Code::Function || Sym(Previous) == Code::Procedure;
      Under(Role, Profile ? Previous_Line_First : Name_Start(Input, Previous), 2);
    } else if (Is_Adding(S) && Previous_Line_First != No_Lexeme &&
               (Is_Relational(Sym(Previous_Line_First)) || Is_Adding(Sym(Previous_Line_First)))) {
      // `- B` after `= A` or `+ A` that begins the line above: under that
      // line's operand, or under its operator.
      Under(Role,
            Is_Adding(Sym(Previous_Line_First)) ? Previous_Line_First
                                                : Next_Code(Previous_Line_First),
            0);
    } else if (Is_Line_Operator(S)) {
      // `and B` under the `and` of a line above or the operand it goes on
      // from; the condition of an if expression goes on two columns in
      // from `if`.
      const bool Logical = S == Code::And || S == Code::Or || S == Code::Xor;
      const std::size_t Level =
          Logical ? Logical_Line_Above(Input, Roles, I, Statement_Line, Parens.back()) : No_Lexeme;
      const std::size_t Operand =
          Level != No_Lexeme ? Level : Operand_Start(Input, Roles, I, Parens.back());
      const bool In_Condition =
          Operand == No_Lexeme && Sym(Expression) == Code::If && Previous_Line_First != No_Lexeme &&
          Input.Lexemes[Previous_Line_First].Line == Input.Lexemes[Expression].Line;
      Under(Role, In_Condition ? Expression : Operand, In_Condition ? 2 : 0);
    }
    return;
  }
  // After a label that ends the line above, the loop or block it names
  // stands at the label's level.
  const bool After_Label = Sym(Previous) == Code::Colon && Has(Role_Of(S), Labelled);
  if (((S == Code::With || S == Code::Arrow) && Alone) || S == Code::Private ||
      (S == Code::With && Sym(Previous_Line_First) == Code::Is) ||
      (S == Code::Renames && Head != Code::None) ||
      (S == Code::Is && (Is_Unit_Head(Head) || Head == Code::Type)) || After_Label) {
    Role.Rule = Continuation_Rule::Level;
  } else if (Top().Kind == Frame_Kind::Alternative && Top().Awaiting &&
             (S == Code::Bar || Sym(Previous) == Code::Bar)) {
    // The choices of an alternative: `| B` two columns left of the first,
    // a choice after a line that ends with `|` under it.
    Under(Role, Choice, S == Code::Bar ? -2 : 0);
  } else if (S == Code::Return && Return_Reference() != No_Lexeme) {
    Under(Role, Return_Reference(), 0);
  } else if ((S == Code::And || S == Code::Or || S == Code::Xor) &&
             Logical_Line_Above(Input, Roles, I, Statement_Line, No_Lexeme) != No_Lexeme) {
    // Logical operators of one condition under each other.
    Under(Role, Logical_Line_Above(Input, Roles, I, Statement_Line, No_Lexeme), 0);
  } else if (Continues_Operand(I)) {
    // `and then` under the operand it goes on from.
    Under(Role, Previous_Line_First, 0);
  } else if (Ends_With_Logical(Input, Previous) && Is_Line_Operator(Sym(Previous_Line_First))) {
    // The operand after a line of its own `and then`: two columns in.
    Under(Role, Previous_Line_First, 2);
  } else if (Starts_Record(I)) {
    // `type T is` then `record` one level in; `new P with` then `record`
    // at the type's level.
    if (Sym(Previous) == Code::Is) {
      Under(Role, Roles[Statement_Line].First_Code, Units);
    } else {
      Role.Rule = Continuation_Rule::Level;
    }
  } else if (S == Code::Dot && Previous_Line_First != No_Lexeme &&
             Input.Lexemes[Previous_Line_First].Line != Statement_Line) {
    // `.Name` going on with the name on the continuation line above: two
    // columns in from it, or under it when that line began with `.` too.
    Under(Role, Previous_Line_First, Sym(Previous_Line_First) == Code::Dot ? 0 : 2);
  } else if (S == Code::Of) {
    // The component type of an array type: two columns in from its index.
    Under(Role, Previous_Line_First, 2);
  } else if (Sym(Previous) == Code::Assign && Previous_Line_First != No_Lexeme &&
             Input.Lexemes[Previous_Line_First].Line != Statement_Line &&
             (Sym(Previous_Line_First) == Code::Array || Sym(Previous_Line_First) == Code::Of)) {
    // `:=` ending a continuation line of an anonymous array type
    // (`array (...) of T :=`, or its `of T :=`): the aggregate at that
    // line's column.
    Under(Role, Previous_Line_First, 0);
  } else if (Sym(Previous) == Code::Arrow || S == Code::Left_Paren ||
             (Sym(Previous) == Code::Assign &&
              Input.Lexemes[Previous_Line_First].Class != Lexeme_Class::Delimiter)) {
    // After `=>` or `:=`, and a parenthesis under the name it applies to:
    // two columns in from the line above (`:=` after a line that begins
    // with `(` or `.`, from the statement).
    Under(Role, Previous_Line_First, 2);
  } else if (Continues_Association(I)) {
    // `Pre  => A /= 0` then `and then B`: two columns in from the aspect.
    Under(Role, Previous_Line_First, 2);
  } else if (Sym(Previous) == Code::Comma && Sym(Previous_Line_First) == Code::With &&
             Next_Code(Previous_Line_First) != I) {
    // The next aspect under the first one, after `with`.
    Under(Role, Next_Code(Previous_Line_First), 0);
  }
}

// `return` after a formal part that began its line: under the first
// parameter; No_Lexeme elsewhere.
std::size_t Analyser::Return_Reference() const noexcept {
  if (Sym(Previous) != Code::Right_Paren || Last_Closed == No_Lexeme ||
      Roles[Input.Lexemes[Last_Closed].Line].First_Code != Last_Closed) {
    return No_Lexeme;
  }
  return Next_Code(Last_Closed);
}

// A line that begins with `and`, `or` or `xor` after an operand that began a
// continuation line of its own (not after an operator or an association).
bool Analyser::Continues_Operand(std::size_t I) const noexcept {
  const Code S = Sym(I);
  const std::size_t Above = Previous_Line_First;
  return Is_Line_Operator(S) && Above != No_Lexeme && Input.Lexemes[Above].Line != Statement_Line &&
         !Ends_With_Operator() && Sym(Previous) != Code::Then && Sym(Previous) != Code::Else &&
         Sym(Next_Code(Above)) != Code::Arrow &&
         (Input.Lexemes[Above].Class != Lexeme_Class::Reserved_Word ||
          (Sym(Above) == Code::And || Sym(Above) == Code::Or || Sym(Above) == Code::Xor ||
           Sym(Above) == Code::Not || Sym(Above) == Code::Abs || Sym(Above) == Code::Null)) &&
         Input.Lexemes[Above].Class != Lexeme_Class::Delimiter;
}

bool Analyser::Ends_With_Operator() const noexcept {
  if (Is_Relational(Sym(Previous))) {
    return Previous_Line_First != No_Lexeme;
  }
  switch (Sym(Previous)) {
    case Code::Arrow:
    case Code::Ampersand:
    case Code::Plus:
    case Code::Minus:
    case Code::Star:
    case Code::Slash:
    case Code::In:
      return Previous_Line_First != No_Lexeme;
    default:
      return false;
  }
}

// Line I goes on with the association (`Name =>`) that begins the line
// above, itself a continuation line (an aspect, most often).
bool Analyser::Continues_Association(std::size_t I) const noexcept {
  const std::size_t Above = Previous_Line_First;
  return Above != No_Lexeme && Input.Lexemes[Above].Line != Statement_Line &&
         Input.Lexemes[Above].Class == Lexeme_Class::Identifier &&
         Sym(Next_Code(Above)) == Code::Arrow && Sym(Previous) != Code::Comma &&
         Sym(Next_Code(I)) != Code::Arrow;
}

// `record`, or `abstract`, `tagged` and `limited` before it.
bool Analyser::Starts_Record(std::size_t I) const noexcept {
  for (std::size_t J = I; J != No_Lexeme; J = Next_Code(J)) {
    const Code S = Sym(J);
    if (S == Code::Record) {
      return Sym(Previous) != Code::Null;
    }
    if (!Has(Role_Of(S), Before_Record)) {
      return false;
    }
  }
  return false;
}

// Keywords that can only begin a statement end an unfinished one (a
// missing semicolon or parenthesis), so that one error stays local.
void Analyser::Recover_At_Line_Start(std::size_t I) {
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
  const Recovery Recovers = Role_Of(S).Recovers;
  if (Recovers == Recovery::Never || (Recovers == Recovery::Outside_Parens && !Parens.empty())) {
    return;
  }
  // `elsif` of an if expression continues it, `or else` is an operator.
  if ((S == Code::Elsif && If_Depth != No_Lexeme) ||
      (S == Code::Else && Sym(Previous) == Code::Or)) {
    return;
  }
  Close_Parens();
  Start_Next();
}

void Analyser::Close_Parens() noexcept {
  Parens.clear();
  Declare_Depth = No_Lexeme;
  If_Depth = No_Lexeme;
}

// Index of the innermost frame of one of Kinds (Alternatives skipped over),
// or 0 when there is none.
std::size_t Analyser::Find(Frame_Kinds Kinds) const noexcept {
  // Nesting deeper than any real program is not searched through, so that
  // no input makes this quadratic.
  const std::size_t Lowest = Stack.size() > Deepest_Search ? Stack.size() - Deepest_Search : 1;
  for (std::size_t F = Stack.size() - 1; F >= Lowest; --F) {
    if (Has(Kinds, Stack[F].Kind)) {
      return F;
    }
    if (Stack[F].Kind == Frame_Kind::Unit) {
      return 0;
    }
  }
  return 0;
}

std::size_t Analyser::Innermost_Closable() const noexcept {
  std::size_t F = Stack.size() - 1;
  while (F > 0 && Stack[F].Kind == Frame_Kind::Alternative) {
    --F;
  }
  return F;
}

// The frame a word that begins a statement divides (its innermost frame of
// the kinds it divides), or 0 where it has none.
std::size_t Analyser::Divided(const Word_Role& Role) const noexcept {
  if (!Has(Role, Innermost)) {
    return Find(Role.Divides);
  }
  // `begin` divides only the construct it stands in, and only before the
  // part it starts.
  const std::size_t F = Innermost_Closable();
  return Has(Role.Divides, Stack[F].Kind) && Stack[F].Part < Role.Part ? F : 0;
}

Column_Number Analyser::Start_Column(std::size_t I) const noexcept {
  const Code S = Sym(I);
  const Word_Role& Role = Role_Of(S);
  if (Has(Role, Closes)) {
    return Innermost_Closable() > 0 ? Stack[Innermost_Closable()].Base : 0;
  }
  if (Role.Opens == Frame_Kind::Alternative) {
    return Alternative_Column(I);
  }
  if (S == Code::Private) {
    // `private with`, `private package`... stand where units start.
    return !Is_Prefix_Private(I) && Top().Kind == Frame_Kind::Unit ? Top().Base : Content();
  }
  if (Role.Divides != 0) {
    return Base_Or_Content(Divided(Role));
  }
  if (Has(Role, Ends_Generic)) {
    return Top().Kind == Frame_Kind::Generic ? Top().Base : Content();
  }
  return Under_Arrow(I);
}

// The statements (or components) of an alternative that begins on the line
// of its `when` stay under the first of them where the author put them so
// and that line stands as written (`when Large => High : Natural;` then
// `Size : Natural;` under `High`).
Column_Number Analyser::Under_Arrow(std::size_t I) const noexcept {
  if (Top().Kind == Frame_Kind::Alternative && After_Arrow != No_Lexeme &&
      Input.Lexemes[After_Arrow].Column == Input.Lexemes[I].Column &&
      Stands_As_Written(Roles[Input.Lexemes[After_Arrow].Line].First_Code)) {
    return Input.Lexemes[I].Column - 1;
  }
  return Content();
}

Column_Number Analyser::Alternative_Column(std::size_t I) const noexcept {
  if (Top().Kind == Frame_Kind::Alternative) {
    return Top().Base;
  }
  if (!Takes_Alternatives()) {
    return Content();
  }
  // The first `when` at the column of `case` (or `exception`) just above,
  // where that line stands as its author put it: kept there.
  const std::size_t Above = Previous_Line_First;
  const bool Opener = Sym(Above) == Code::Case || Sym(Above) == Code::Exception;
  if (Opener && Input.Lexemes[Above].Column == Input.Lexemes[I].Column &&
      Stands_As_Written(Above)) {
    // The opener's own column: in sound code the frame's base, and on
    // unbalanced code (a `case` still open at `exception`) the only column
    // a second pass keeps too.
    return Input.Lexemes[Above].Column - 1;
  }
  return Top().Base + Units;
}

bool Analyser::Takes_Alternatives() const noexcept {
  const Frame& F = Top();
  return F.Kind == Frame_Kind::Case || F.Kind == Frame_Kind::Select ||
         (Is_Body_Frame(F.Kind) && F.Part == Region::Handlers);
}

// `private with`, `private package`...: only where library units start.
bool Analyser::Is_Prefix_Private(std::size_t I) const noexcept {
  if (Top().Kind != Frame_Kind::Compilation) {
    return false;
  }
  return Has(Role_Of(Sym(Next_Code(I))), Library_Item);
}

// Lexeme I, the first of its line, stands where its author put it, and
// not at the margin, where every line of a text whose blanks were lost
// stands.
bool Analyser::Stands_As_Written(std::size_t I) const noexcept {
  const Column_Number Author = Input.Lexemes[I].Column;
  return Author > 1 && Estimated[Input.Lexemes[I].Line] + 1 == Author;
}

// `is` that completes a declaration (`is separate`, `is abstract`, `is
// null`, `is new`, `is <>`, an expression function) rather than opening a
// body or a declarative part.
bool Analyser::Completes_Declaration(std::size_t Is) const noexcept {
  const Code Next = Sym(Next_Code(Is));
  return Next == Code::Separate || Next == Code::Abstract || Next == Code::Null ||
         Next == Code::New || Next == Code::Box || Next == Code::Left_Paren;
}

std::size_t Analyser::Next_Code(std::size_t I) const noexcept {
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
Column_Number Analyser::Closer_Column(std::size_t I) const noexcept {
  // Inside parentheses, words belong to expressions (`then` of an if
  // expression, `is` of a case expression).
  if (!Parens.empty()) {
    return -1;
  }
  const Word_Role& Role = Role_Of(Sym(I));
  if (Has(Role, At_Statement)) {
    return Statement_Base();
  }
  if (!Has(Role, At_Construct)) {
    return -1;
  }
  if (Ends_Head(I)) {
    return Top().Base;
  }
  // `is` of a unit that opens its body or declarations.
  return Sym(I) == Code::Is && Is_Unit_Head(Head) && !Completes_Declaration(I) ? Statement_Base()
                                                                               : -1;
}

// I completes the head of the innermost construct, which awaits it (`then`
// of `if`, `is` of `case`, `=>` of an alternative).
bool Analyser::Ends_Head(std::size_t I) const noexcept {
  const Code S = Sym(I);
  const Frame_Kind Completes = Role_Of(S).Completes;
  if (Completes == No_Frame || Top().Kind != Completes || !Top().Awaiting) {
    return false;
  }
  // `and then` is an operator; a case's `is` only in the case statement.
  return S == Code::Then ? Sym(Previous) != Code::And : S != Code::Is || Head == Code::Case;
}

void Analyser::Mark_Comments_Before_Closers() {
  bool Closer_Follows = false;
  for (std::size_t L = Roles.size(); L > 0; --L) {
    Line_Role& Role = Roles[L - 1];
    if (Role.First_Code != No_Lexeme) {
      Closer_Follows = Has(Role_Of(Sym(Role.First_Code)), Before_Comments);
    } else if (Role.Kind == Line_Kind::Comment) {
      Role.Before_Closer = Closer_Follows;
    }
  }
}

}  // namespace Formatter::Nesting
