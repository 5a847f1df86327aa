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
    case Code::If:
    case Code::Case:
      Push(S == Code::If ? Frame_Kind::If : Frame_Kind::Case, Statement_Base(), Region::Statements,
           true);
      Head = S;
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
      const std::size_t F =
          S == Code::Else ? Find({Frame_Kind::If, Frame_Kind::Select}) : Find({Frame_Kind::Select});
      if (F == 0) {
        return false;
      }
      Stack.resize(F + 1);
      Start_Next();
      return true;
    }
    case Code::When:
      Open_Alternative(I);
      Choice = Next_Code(I);
      return true;
    default:
      return Begin_Section(S);
  }
}

// Statement-starting keywords that close a construct or open a part of it.
bool Analyser::Begin_Section(Code S) {
  switch (S) {
    case Code::End:
      Stack.resize(Innermost_Closable() > 0 ? Innermost_Closable() : 1);
      Skipping = true;
      return true;
    case Code::Select:
    case Code::Generic:
      Push(S == Code::Select ? Frame_Kind::Select : Frame_Kind::Generic, Statement_Base(),
           Region::Statements);
      break;
    case Code::Exception:
      if (const std::size_t F = Find({Frame_Kind::Unit, Frame_Kind::Block, Frame_Kind::Do});
          F > 0) {
        Stack.resize(F + 1);
        Top().Part = Region::Handlers;
      }
      break;
    case Code::Begin:
      if (!Opens_Statements()) {
        return false;
      }
      Stack.resize(Innermost_Closable() + 1);
      Top().Part = Region::Statements;
      break;
    default:
      return false;
  }
  Start_Next();
  return true;
}

void Analyser::Open_Alternative(std::size_t I) {
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
    Push(Frame_Kind::Alternative, Own_Line ? Estimated[Line] : Top().Base + Units,
         Region::Statements, true);
  } else {
    Head = Code::When;
  }
}

// A lexeme inside a statement, outside parentheses.
void Analyser::Continue_Statement(std::size_t I) {
  const Code S = Sym(I);
  const bool Alternative = Top().Kind == Frame_Kind::Alternative && Top().Awaiting;
  if (S == Code::Semicolon) {
    if (Top().Kind == Frame_Kind::Alternative) {
      Top().Awaiting = false;
    }
    Start_Next();
  } else if (S == Code::Is) {
    Apply_Is(I);
  } else if (S == Code::Then && Top().Kind == Frame_Kind::If && Top().Awaiting &&
             Sym(Previous) != Code::And) {
    Top().Awaiting = false;
    Start_Next();
  } else if (S == Code::Arrow && Alternative) {
    Top().Awaiting = false;
    const std::size_t Next = Next_Code(I);
    After_Arrow =
        Next != No_Lexeme && Input.Lexemes[Next].Line == Input.Lexemes[I].Line ? Next : No_Lexeme;
    Start_Next();
  } else if (S == Code::Right_Label && Head == Code::Left_Label) {
    Start_Next();
  } else {
    Open_Inside_Statement(I);
  }
}

// Keywords inside a statement that open a construct's body.
void Analyser::Open_Inside_Statement(std::size_t I) {
  switch (Sym(I)) {
    case Code::Loop:
      Push(Frame_Kind::Loop, Statement_Base(), Region::Statements);
      break;
    case Code::Do:
      Push(Frame_Kind::Do, Statement_Base(), Region::Statements);
      break;
    case Code::Record: {
      if (Sym(Previous) == Code::Null) {
        return;
      }
      // The components are indented from the type declaration, or from
      // `record` standing at the start of a line, or from the line that
      // continues the declaration with `record` (`is new T with record`)
      // where the author indented them from it: GNAT's style takes both.
      // GNAT wants them right of the line that holds `record`, so a line
      // indented as deep as they would be also gives them their column.
      const std::size_t Line = Input.Lexemes[I].Line;
      const bool Leads = Starts_Record(Roles[Line].First_Code);
      const std::size_t First = Next_Code(I);
      const bool From_Line =
          First != No_Lexeme && Input.Lexemes[First].Line != Line &&
          Input.Lexemes[First].Column == Input.Lexemes[Roles[Line].First_Code].Column + Units;
      const bool Too_Deep = Estimated[Line] >= Statement_Base() + Units;
      Push(Frame_Kind::Record, Leads || From_Line || Too_Deep ? Estimated[Line] : Statement_Base());
      break;
    }
    case Code::Declare:
    case Code::Begin:
      Push(Frame_Kind::Block, Statement_Base(),
           Sym(I) == Code::Begin ? Region::Statements : Region::Declarations);
      break;
    case Code::With:
      if (!Awaiting_With) {
        return;
      }
      Push(Frame_Kind::Unit, Statement_Base());
      break;
    default:
      return;
  }
  Start_Next();
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
