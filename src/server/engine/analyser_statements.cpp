// The nesting analyser, lexeme by lexeme: the reserved words that open,
// divide and close constructs, one statement at a time.
#include <algorithm>

#include "analyser.h"

namespace Formatter::Nesting {

void Analyser::Apply(std::size_t I) {
  const Code S = Sym(I);
  if (Skipping) {
    // `end record with`: the aspects continue the declaration.
    if (S == Code::Semicolon || S == Code::With) {
      Skipping = false;
      if (S == Code::Semicolon) {
        Start_Next();
      }
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
void Analyser::Apply_Inside_Parens(std::size_t I) {
  if (Sym(I) == Code::Declare) {
    Declare_Depth = std::min(Declare_Depth, Parens.size());
  } else if (Sym(I) == Code::If) {
    If_Depth = std::min(If_Depth, Parens.size());
  } else if (Sym(I) == Code::Semicolon && Parens.size() < Declare_Depth &&
             !Opens_Formal_Part(Parens.front())) {
    Close_Parens();
    Continue_Statement(I);
  }
}

// A parenthesis after the name in a subprogram, entry, accept, type or
// formal declaration, or after `procedure`, `function` or another
// parenthesis (an entry family) in those and in access definitions.
bool Analyser::Opens_Formal_Part(std::size_t Paren) const noexcept {
  const Code Before = Paren > 0 ? Sym(Paren - 1) : Code::None;
  return Has(Role_Of(Before), Formal_Word) || Has(Role_Of(Head), Formal_Head);
}

void Analyser::Apply_Paren(std::size_t I, bool Opening) {
  if (At_Start) {
    Enter_Statement(I);
  }
  if (Opening) {
    Parens.push_back(I);
    return;
  }
  if (!Parens.empty()) {
    Last_Closed = Parens.back();
    Parens.pop_back();
  }
  if (Parens.size() < Declare_Depth) {
    Declare_Depth = No_Lexeme;
  }
  if (Parens.size() < If_Depth) {
    If_Depth = No_Lexeme;
  }
  if (Parens.empty() && Head == Code::Separate) {
    Start_Next();
  }
}

void Analyser::Enter_Statement(std::size_t I) {
  At_Start = false;
  Head = Code::None;
  Awaiting_With = false;
  Statement_Line = Input.Lexemes[I].Line;
}

// The first lexeme of a statement, declaration or clause.
void Analyser::Begin_Statement(std::size_t I) {
  const Code S = Sym(I);
  const Word_Role& Role = Role_Of(S);
  Enter_Statement(I);
  if (Begin_Construct(I, Role)) {
    return;
  }
  if (Has(Role, Prefix)) {
    Start_Next();
    return;
  }
  if (Has(Role, Ends_Generic) && Top().Kind == Frame_Kind::Generic) {
    Stack.pop_back();
  }
  Head = S;
  Continue_Statement(I);
}

// A word that begins a statement and closes, divides or opens a construct
// there; false where it does none of these.
bool Analyser::Begin_Construct(std::size_t I, const Word_Role& Role) {
  if (Has(Role, Closes)) {
    Stack.resize(Innermost_Closable() > 0 ? Innermost_Closable() : 1);
    Skipping = true;
    return true;
  }
  if (Role.Divides != 0 && Divide(Role)) {
    return true;
  }
  // A word that starts a part ends the statement before it even where its
  // construct is missing, unless it opens a construct of its own there.
  if (Has(Role, Starts_Part) && Role.Opens == No_Frame) {
    Start_Next();
    return true;
  }
  if (!Has(Role, Opens_At_Start)) {
    return false;
  }
  if (Role.Opens == Frame_Kind::Alternative) {
    Open_Alternative(I, Role);
    Choice = Next_Code(I);
  } else if (Has(Role, Awaits)) {
    Push(Role.Opens, Statement_Base(), Role.Part, true);
    Head = Sym(I);
  } else {
    Push(Role.Opens, Statement_Base(), Role.Part);
    Start_Next();
  }
  return true;
}

// Closes the constructs inside the one Role divides, if it finds it.
bool Analyser::Divide(const Word_Role& Role) {
  const std::size_t F = Divided(Role);
  if (F == 0) {
    return false;
  }
  Stack.resize(F + 1);
  if (Has(Role, Awaits)) {
    // `elsif`: the condition that follows goes on to its `then`.
    Top().Awaiting = true;
    return true;
  }
  if (Has(Role, Starts_Part)) {
    Top().Part = Role.Part;
  }
  Start_Next();
  return true;
}

void Analyser::Open_Alternative(std::size_t I, const Word_Role& Role) {
  After_Arrow = No_Lexeme;
  if (Top().Kind == Frame_Kind::Alternative) {
    Stack.pop_back();
  }
  if (Takes_Alternatives()) {
    // The statements one level in from the line that holds `when` when it
    // begins with `when` or `exception` (`exception when E =>`, or `when`
    // at the column of `case`).
    const std::size_t Line = Input.Lexemes[I].Line;
    const Code First = Sym(Roles[Line].First_Code);
    const bool Own_Line = First == Code::When || First == Code::Exception;
    Push(Role.Opens, Own_Line ? Estimated[Line] : Top().Base + Units, Role.Part, Has(Role, Awaits));
  } else {
    Head = Code::When;
  }
}

// A lexeme inside a statement, outside parentheses.
void Analyser::Continue_Statement(std::size_t I) {
  const Code S = Sym(I);
  if (S == Code::Semicolon) {
    if (Top().Kind == Frame_Kind::Alternative) {
      Top().Awaiting = false;
    }
    Start_Next();
  } else if (Role_Of(S).Completes == Top().Kind && Ends_Head(I)) {
    Top().Awaiting = false;
    if (S == Code::Arrow) {
      const std::size_t Next = Next_Code(I);
      After_Arrow =
          Next != No_Lexeme && Input.Lexemes[Next].Line == Input.Lexemes[I].Line ? Next : No_Lexeme;
    }
    Start_Next();
  } else if (S == Code::Is) {
    Apply_Is(I);
  } else if (S == Code::Right_Label && Head == Code::Left_Label) {
    Start_Next();
  } else {
    Open_Inside_Statement(I);
  }
}

// Words inside a statement that open a construct's body: `with` only after
// a task's or protected type's `is new`, `record` not after `null`.
void Analyser::Open_Inside_Statement(std::size_t I) {
  const Word_Role& Role = Role_Of(Sym(I));
  if (Role.Opens == No_Frame || Has(Role, Opens_At_Start)) {
    return;
  }
  Column_Number Base = Statement_Base();
  if (Role.Opens == Frame_Kind::Record) {
    if (Sym(Previous) == Code::Null) {
      return;
    }
    Base = Record_Base(I);
  } else if (Role.Opens == Frame_Kind::Unit && !Awaiting_With) {
    return;
  }
  Push(Role.Opens, Base, Role.Part);
  Start_Next();
}

// The components are indented from the type declaration, or from `record`
// standing at the start of a line, or from the line that continues the
// declaration with `record` (`is new T with record`) where the author
// indented them from it: GNAT's style takes both. GNAT wants them right of
// the line that holds `record`, so a line indented as deep as they would be
// also gives them their column.
Column_Number Analyser::Record_Base(std::size_t I) const noexcept {
  const std::size_t Line = Input.Lexemes[I].Line;
  const bool Leads = Starts_Record(Roles[Line].First_Code);
  const std::size_t First = Next_Code(I);
  const bool From_Line =
      First != No_Lexeme && Input.Lexemes[First].Line != Line &&
      Input.Lexemes[First].Column == Input.Lexemes[Roles[Line].First_Code].Column + Units;
  const bool Too_Deep = Estimated[Line] >= Statement_Base() + Units;
  return Leads || From_Line || Too_Deep ? Estimated[Line] : Statement_Base();
}

// `is` of a unit: a body or a specification with a declarative part opens here,
// unless what follows makes the declaration complete (`is separate`,
// `is abstract`, `is null`, `is new`, `is <>`, an expression function).
void Analyser::Apply_Is(std::size_t I) {
  if (!Is_Unit_Head(Head)) {
    return;
  }
  if (Sym(Next_Code(I)) == Code::New && (Head == Code::Task || Head == Code::Protected)) {
    Awaiting_With = true;
    return;
  }
  if (Completes_Declaration(I)) {
    return;
  }
  Push(Frame_Kind::Unit, Statement_Base());
  Start_Next();
}

}  // namespace Formatter::Nesting
