// Attribute, pragma and aspect names in mixed case.
#include "casing.h"

#include <memory>
#include <vector>

#include "vocabulary.h"

namespace Formatter {

namespace {

char Upper(char C) noexcept {
  return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}
char Lower(char C) noexcept {
  return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

// The few tokens that the reading of aspect marks tells apart: each token
// is classified once, by its length first, and the reading then compares
// no text.
enum class Sign : unsigned char {
  Other,
  Apostrophe,
  Left_Paren,
  Right_Paren,
  Comma,
  Semicolon,
  Arrow,
  Is,
  With,
  Raise,
  Limited,
  Private,
  Pragma,
  Class,  ///< the attribute (`Post'Class`)
};

Sign Word_Sign(std::string_view Text) noexcept {
  switch (Text.size()) {
    case 2:
      return Same_Word(Text, "is") ? Sign::Is : Sign::Other;
    case 4:
      return Same_Word(Text, "with") ? Sign::With : Sign::Other;
    case 5:
      return Same_Word(Text, "raise") ? Sign::Raise : Sign::Other;
    case 6:
      return Same_Word(Text, "pragma") ? Sign::Pragma : Sign::Other;
    case 7:
      return Same_Word(Text, "limited")   ? Sign::Limited
             : Same_Word(Text, "private") ? Sign::Private
                                          : Sign::Other;
    default:
      return Sign::Other;
  }
}

Sign Delimiter_Sign(std::string_view Text) noexcept {
  if (Text == "=>") {
    return Sign::Arrow;
  }
  switch (Text.size() == 1 ? Text[0] : '\0') {
    case '\'':
      return Sign::Apostrophe;
    case '(':
      return Sign::Left_Paren;
    case ')':
      return Sign::Right_Paren;
    case ',':
      return Sign::Comma;
    case ';':
      return Sign::Semicolon;
    default:
      return Sign::Other;
  }
}

Sign Sign_Of(const Token& Item) noexcept {
  if (Item.Kind == Kinds::Reserved_Word) {
    return Word_Sign(Item.Text);
  }
  if (Item.Kind == Kinds::Delimiter) {
    return Delimiter_Sign(Item.Text);
  }
  const bool Class = Item.Kind == Kinds::Attribute && Same_Word(Item.Text, "class");
  return Class ? Sign::Class : Sign::Other;
}

constexpr std::size_t No_Mark = static_cast<std::size_t>(-1);

// Finds the aspect marks of a text, read one token at a time (line ends
// and comments left out). A mark is only taken where nothing else can
// stand: first after the `with` that starts an aspect specification, or
// after a comma of one, and followed by `=>`, `,`, `;`, `is` or `'Class`.
// A `with` starts no specification in a context clause, after `raise`
// (its message follows) or inside parentheses (an extension aggregate).
class Aspect_Marks {
 public:
  /// Reads the T-th token, whose sign is S; returns the token it shows to
  /// be a mark, else No_Mark.
  std::size_t Read(const Token& Item, Sign S, std::size_t T) noexcept {
    const std::size_t Mark = Confirmed(S);
    Follow(Item, S, T);
    return Mark;
  }

 private:
  std::size_t Confirmed(Sign S) noexcept {
    const std::size_t Mark = Candidate;
    if (Mark == No_Mark || S == Sign::Apostrophe || S == Sign::Class) {
      return No_Mark;  // none, or `Post'Class` still to end
    }
    Candidate = No_Mark;
    const bool Ends = S == Sign::Arrow || S == Sign::Comma || S == Sign::Semicolon || S == Sign::Is;
    if (!Ends) {
      Spec_Depth = -1;  // not a specification after all
    }
    return Ends ? Mark : No_Mark;
  }

  void Follow(const Token& Item, Sign S, std::size_t T) noexcept {
    const bool Mark_Place = Expect_Mark;
    Expect_Mark = false;
    if (Mark_Place && Item.Kind == Kinds::Identifier) {
      Candidate = T;
    } else if (Mark_Place) {
      Spec_Depth = -1;  // `with record`, `with private`...
    } else if (S == Sign::Left_Paren) {
      ++Depth;
    } else if (S == Sign::Right_Paren) {
      Depth = Depth > 0 ? Depth - 1 : 0;
      Spec_Depth = Depth < Spec_Depth ? -1 : Spec_Depth;
    } else if (S == Sign::With) {
      Starts_Specification();
    } else if (Depth == Spec_Depth && S == Sign::Comma) {
      Expect_Mark = true;
    } else if (Depth == Spec_Depth && (S == Sign::Semicolon || S == Sign::Is)) {
      Spec_Depth = -1;
    }
    Raising = S == Sign::Raise || (Raising && S != Sign::Semicolon && S != Sign::With);
    Clause_Start =
        S == Sign::Semicolon || (Clause_Start && (S == Sign::Limited || S == Sign::Private));
  }

  void Starts_Specification() noexcept {
    if (!Clause_Start && !Raising && Depth == 0) {
      Spec_Depth = Depth;
      Expect_Mark = true;
    }
  }

  int Depth = 0;        // parentheses open
  int Spec_Depth = -1;  // where the specification being read stands, -1 in none
  bool Expect_Mark = false;
  bool Raising = false;      // after `raise`, up to its `with` or `;`
  bool Clause_Start = true;  // only `limited` or `private` since the last `;`
  std::size_t Candidate = No_Mark;
};

// Whether Text differs from its mixed case (without making it). GNAT's
// style takes SPARK_Mode as it is spelt in SPARK's manual.
bool Wants_Mixed_Case(std::string_view Text) noexcept {
  if (Text == "SPARK_Mode") {
    return false;
  }
  bool Starts_Word = true;
  for (const char C : Text) {
    if (C != (Starts_Word ? Upper(C) : Lower(C))) {
      return true;
    }
    Starts_Word = C == '_';
  }
  return false;
}

}  // namespace

std::string Mixed_Case(std::string_view Text) {
  std::string Result(Text);
  bool Starts_Word = true;
  for (char& C : Result) {
    C = Starts_Word ? Upper(C) : Lower(C);
    Starts_Word = C == '_';
  }
  return Result;
}

void Mix_Defined_Names(Result& Output) {
  std::vector<std::size_t> Changed;
  std::size_t Extra = 0;
  const auto Change = [&](std::size_t T) {
    if (Wants_Mixed_Case(Output.Tokens[T].Text)) {
      Changed.push_back(T);
      Extra += Output.Tokens[T].Text.size();
    }
  };
  Aspect_Marks Aspects;
  Sign Before = Sign::Other;  // that of the last token that is not a line end
  for (std::size_t T = 0; T < Output.Tokens.size(); ++T) {
    const Token& Item = Output.Tokens[T];
    if (Item.Kind == Kinds::End_Of_Line || Item.Kind == Kinds::Comment) {
      continue;
    }
    if (Item.Kind == Kinds::Attribute ||
        (Item.Kind == Kinds::Identifier && Before == Sign::Pragma)) {
      Change(T);
    }
    const Sign S = Sign_Of(Item);
    if (const std::size_t Mark = Aspects.Read(Item, S, T); Mark != No_Mark) {
      Change(Mark);
    }
    Before = S;
  }
  if (Changed.empty()) {
    return;
  }
  // The names changed are kept in a store of their own, reserved once so
  // that no append moves the texts already pointed at.
  auto Store = std::make_shared<std::string>();
  Store->reserve(Extra);
  for (const std::size_t T : Changed) {
    Token& Item = Output.Tokens[T];
    const std::size_t Offset = Store->size();
    Store->append(Mixed_Case(Item.Text));
    Item.Text = std::string_view(*Store).substr(Offset, Item.Text.size());
  }
  Output.Laid_Out.push_back(std::move(Store));
}

}  // namespace Formatter
