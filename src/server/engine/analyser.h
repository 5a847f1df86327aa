// The nesting analyser behind Analyse: the stack of open constructs, the
// statement being read, and the role it gives each line. Internal to the
// formatting engine.
#pragma once

#include <vector>

#include "structure.h"
#include "word_roles.h"

namespace Formatter::Nesting {

/// Kept small: a deeply nested source holds one for every level.
struct Frame {
  Frame_Kind Kind = Frame_Kind::Compilation;
  Region Part = Region::Declarations;
  bool Awaiting = false;   ///< If: `then`; Case: `is`; Alternative: `=>`
  Column_Number Base = 0;  ///< indentation of the construct's own keywords
};

inline constexpr std::size_t Deepest_Search = 200;

inline bool Is_Code(const Lexeme& Item) noexcept {
  return Item.Class != Lexeme_Class::Comment && Item.Class != Lexeme_Class::Effector &&
         Item.Class != Lexeme_Class::Byte_Order_Mark;
}

inline bool Is_Unit_Head(Code Head) noexcept {
  return Has(Role_Of(Head), Unit_Head);
}

inline bool Is_Body_Frame(Frame_Kind Kind) noexcept {
  return Kind == Frame_Kind::Unit || Kind == Frame_Kind::Block || Kind == Frame_Kind::Do;
}

class Analyser {
 public:
  /// Places the lines of Lexed_Source through Line_Placer as it goes.
  Analyser(const Lexed& Lexed_Source, Column_Number Indent_Units, Line_Placer& Line_Placer)
      : Input(Lexed_Source), Units(Indent_Units), Placer(Line_Placer) {
    Stack.push_back(Frame{});
  }

  /// The role of every line, each code line placed as soon as it is known.
  std::vector<Line_Role> Run();

 private:
  Code Sym(std::size_t I) const noexcept {
    return I < Input.Lexemes.size() ? Input.Lexemes[I].Symbol : Code::None;
  }
  Frame& Top() noexcept { return Stack.back(); }
  const Frame& Top() const noexcept { return Stack.back(); }
  Column_Number Content() const noexcept {
    return Top().Kind == Frame_Kind::Compilation ? 0 : Top().Base + Units;
  }
  Column_Number Statement_Base() const noexcept { return Estimated[Statement_Line]; }
  Column_Number Base_Or_Content(std::size_t F) const noexcept {
    return F > 0 ? Stack[F].Base : Content();
  }
  void Start_Next() noexcept {
    At_Start = true;
    Head = Code::None;
  }
  void Push(Frame_Kind Kind, Column_Number Base, Region Part = Region::Declarations,
            bool Awaiting = false) {
    // A base is a placed line's indentation, or a few levels in from one.
    Stack.push_back(Frame{Kind, Part, Awaiting, Base < 0 ? 0 : Base});
  }
  static void Under(Line_Role& Role, std::size_t Reference, Column_Number Shift) noexcept {
    if (Reference != No_Lexeme) {
      Role.Rule = Continuation_Rule::Under;
      Role.Reference = static_cast<Index>(Reference);
      Role.Shift = Shift;
    }
  }

  // Line roles (analyser_lines.cpp).
  void Analyse_Line(std::size_t L);
  void Decide(std::size_t L, std::size_t I);
  void Hint(Line_Role& Role, std::size_t I) const noexcept;
  bool Starts_Record(std::size_t I) const noexcept;
  bool Continues_Association(std::size_t I) const noexcept;
  bool Ends_With_Operator() const noexcept;
  bool Continues_Operand(std::size_t I) const noexcept;
  std::size_t Return_Reference() const noexcept;
  void Recover_At_Line_Start(std::size_t I);
  void Close_Parens() noexcept;
  std::size_t Find(Frame_Kinds Kinds) const noexcept;
  std::size_t Divided(const Word_Role& Role) const noexcept;
  bool Ends_Head(std::size_t I) const noexcept;
  std::size_t Innermost_Closable() const noexcept;
  Column_Number Start_Column(std::size_t I) const noexcept;
  Column_Number Under_Arrow(std::size_t I) const noexcept;
  Column_Number Alternative_Column(std::size_t I) const noexcept;
  bool Completes_Declaration(std::size_t Is) const noexcept;
  bool Stands_As_Written(std::size_t I) const noexcept;
  bool Takes_Alternatives() const noexcept;
  bool Is_Prefix_Private(std::size_t I) const noexcept;
  std::size_t Next_Code(std::size_t I) const noexcept;
  Column_Number Closer_Column(std::size_t I) const noexcept;
  void Mark_Comments_Before_Closers();

  // Statements and constructs (analyser_statements.cpp).
  void Apply(std::size_t I);
  void Apply_Inside_Parens(std::size_t I);
  bool Opens_Formal_Part(std::size_t Paren) const noexcept;
  void Apply_Paren(std::size_t I, bool Opening);
  void Enter_Statement(std::size_t I);

  void Begin_Statement(std::size_t I);
  bool Begin_Construct(std::size_t I, const Word_Role& Role);
  bool Divide(const Word_Role& Role);
  void Continue_Statement(std::size_t I);
  void Open_Inside_Statement(std::size_t I);
  void Apply_Is(std::size_t I);
  void Open_Alternative(std::size_t I, const Word_Role& Role);
  Column_Number Record_Base(std::size_t I) const noexcept;

  const Lexed& Input;
  Column_Number Units;
  Line_Placer& Placer;
  std::vector<Frame> Stack;
  std::vector<Line_Role> Roles;
  std::vector<Column_Number> Estimated;  // the indentation of each line placed so far
  std::vector<std::size_t> Parens;
  std::size_t Last_Closed = No_Lexeme;  // the parenthesis closed last
  std::size_t Statement_Line = 0;
  std::size_t Previous = No_Lexeme;
  std::size_t Previous_Line_First = No_Lexeme;  // first code lexeme of the last code line
  std::size_t Choice = No_Lexeme;               // the first choice after `when`
  std::size_t After_Arrow = No_Lexeme;          // what follows `when ... =>` on its line
  Code Head = Code::None;
  std::size_t Declare_Depth = No_Lexeme;  // parentheses around a declare expression
  std::size_t If_Depth = No_Lexeme;       // parentheses around an if expression
  bool At_Start = true;
  bool Skipping = false;       // after `end`, up to its semicolon
  bool Awaiting_With = false;  // task or protected `is new ... with`
};

}  // namespace Formatter::Nesting
