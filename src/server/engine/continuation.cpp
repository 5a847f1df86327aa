// Continuation lines of expressions: the lexemes they are placed from.
#include "continuation.h"

#include "analyser.h"

namespace Formatter::Nesting {

namespace {

// How far back the choices of an association are looked for: further than
// any real choice list, so that no input makes the search quadratic.
constexpr std::size_t Longest_Choices = 64;

// How many lines back the operand an operator line goes on from is looked
// for: more than any real expression, so that no input makes it quadratic.
constexpr std::size_t Longest_Operand = 64;

// The last code lexeme of line L, or No_Lexeme.
std::size_t Last_Code(const Lexed& Input, std::size_t L) noexcept {
  const Source_Line& Line = Input.Lines[L];
  for (std::size_t I = Line.First + Line.Count; I > Line.First; --I) {
    if (Is_Code(Input.Lexemes[I - 1])) {
      return I - 1;
    }
  }
  return No_Lexeme;
}

// The lexeme at Last ends a line after which an operand starts: `=>`, a
// comma, or the `then` or `else` of an if expression.
bool Opens_Operand(const Lexed& Input, std::size_t Last) noexcept {
  const Code S = Input.Lexemes[Last].Symbol;
  const Code Before = Last > 0 ? Input.Lexemes[Last - 1].Symbol : Code::None;
  return S == Code::Arrow || S == Code::Comma || (S == Code::Then && Before != Code::And) ||
         (S == Code::Else && Before != Code::Or);
}

}  // namespace

std::size_t Choice_Start(const Lexed& Input, std::size_t Arrow) noexcept {
  const std::size_t First = Input.Lines[Input.Lexemes[Arrow].Line].First;
  std::size_t Depth = 0;
  for (std::size_t J = Arrow; J > First && Arrow - J < Longest_Choices; --J) {
    const Code S = Input.Lexemes[J - 1].Symbol;
    const bool Opens = S == Code::Left_Paren || S == Code::Left_Bracket;
    if (S == Code::Right_Paren || S == Code::Right_Bracket) {
      ++Depth;
    } else if (Opens && Depth > 0) {
      --Depth;
    } else if (Depth == 0 && (Opens || S == Code::Comma)) {
      return J == Arrow ? No_Lexeme : J;
    }
  }
  return No_Lexeme;
}

std::size_t Name_Start(const Lexed& Input, std::size_t Last) noexcept {
  if (Last == No_Lexeme) {
    return No_Lexeme;
  }
  const std::size_t First = Input.Lines[Input.Lexemes[Last].Line].First;
  // `Name'` of a qualified expression whose aggregate follows.
  if (Input.Lexemes[Last].Symbol == Code::Apostrophe && Last > First) {
    --Last;
  }
  const auto Named = [&Input](std::size_t J) {
    return Input.Lexemes[J].Class == Lexeme_Class::Identifier ||
           Input.Lexemes[J].Class == Lexeme_Class::Attribute;
  };
  std::size_t I = Last;
  if (!Named(I)) {
    return No_Lexeme;
  }
  while (I >= First + 2 && Named(I - 2) &&
         (Input.Lexemes[I - 1].Symbol == Code::Dot ||
          Input.Lexemes[I - 1].Symbol == Code::Apostrophe)) {
    I -= 2;
  }
  return Input.Lexemes[I].Class == Lexeme_Class::Identifier ? I : No_Lexeme;
}

bool Ends_With_Logical(const Lexed& Input, std::size_t Last) noexcept {
  if (Last == No_Lexeme) {
    return false;
  }
  const Code S = Input.Lexemes[Last].Symbol;
  const Code Before = Last > 0 ? Input.Lexemes[Last - 1].Symbol : Code::None;
  return S == Code::And || S == Code::Or || S == Code::Xor ||
         (S == Code::Then && Before == Code::And) || (S == Code::Else && Before == Code::Or);
}

std::size_t Operand_Start(const Lexed& Input, const std::vector<Line_Role>& Roles, std::size_t I,
                          std::size_t Paren) noexcept {
  const std::size_t Line = Input.Lexemes[I].Line;
  // A relational operator binds tighter than `and then`: its left operand
  // may begin after a line that ends with one.
  const bool Relational = Is_Relational(Input.Lexemes[I].Symbol);
  const std::size_t Paren_Line = Input.Lexemes[Paren].Line;
  std::size_t After = Line;  // the code line below K
  for (std::size_t K = Line; K > Paren_Line && Line - K < Longest_Operand; --K) {
    const Line_Role& Role = Roles[K - 1];
    if (Role.First_Code == No_Lexeme || Role.Kind == Line_Kind::Comment) {
      continue;
    }
    if (After != Line && Roles[After].Open_Paren == Paren) {
      const std::size_t Last = Last_Code(Input, K - 1);
      if (Opens_Operand(Input, Last) || (Relational && Ends_With_Logical(Input, Last))) {
        return Roles[After].First_Code;
      }
    }
    if (Role.Kind != Line_Kind::Continuation) {
      return No_Lexeme;
    }
    After = K - 1;
  }
  return No_Lexeme;
}

std::size_t Logical_Line_Above(const Lexed& Input, const std::vector<Line_Role>& Roles,
                               std::size_t I, std::size_t Statement_Line,
                               std::size_t Paren) noexcept {
  const std::size_t Line = Input.Lexemes[I].Line;
  for (std::size_t K = Line; K > Statement_Line + 1 && Line - K < Longest_Operand; --K) {
    const Line_Role& Role = Roles[K - 1];
    if (Role.First_Code == No_Lexeme || Role.Kind == Line_Kind::Comment) {
      continue;
    }
    if (Role.Kind != Line_Kind::Continuation ||
        (Paren != No_Lexeme && K - 1 <= Input.Lexemes[Paren].Line)) {
      return No_Lexeme;
    }
    // Lines deeper inside parentheses are passed over: their commas and
    // associations belong to the inner list.
    if (Role.Open_Paren != Paren) {
      continue;
    }
    const std::size_t Last = Last_Code(Input, K - 1);
    if (Input.Lexemes[Last].Symbol == Code::Comma ||
        (Role.First_Code + 1 < Input.Lexemes.size() &&
         Input.Lexemes[Role.First_Code + 1].Symbol == Code::Arrow)) {
      return No_Lexeme;
    }
    const Code First = Input.Lexemes[Role.First_Code].Symbol;
    if (First == Code::And || First == Code::Or || First == Code::Xor) {
      return Role.First_Code;
    }
  }
  return No_Lexeme;
}

bool Is_Line_Operator(Code S) noexcept {
  return S == Code::And || S == Code::Or || S == Code::Xor || Is_Relational(S);
}

}  // namespace Formatter::Nesting
