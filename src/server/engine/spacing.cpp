// The token-spacing rules of the GNAT style.
#include "spacing.h"

#include <array>

namespace Formatter {

namespace {

bool Is_Word_Character(unsigned char B) noexcept {
  return (B >= 'A' && B <= 'Z') || (B >= 'a' && B <= 'z') || (B >= '0' && B <= '9') || B == '_' ||
         B >= 0x80;
}

bool Is_Digit(unsigned char B) noexcept {
  return B >= '0' && B <= '9';
}

bool No_Blank_Before(Code S) noexcept {
  return S == Code::Semicolon || S == Code::Comma || S == Code::Right_Paren ||
         S == Code::Right_Bracket || S == Code::Apostrophe || S == Code::Dot ||
         S == Code::Right_Label;
}

bool No_Blank_After(Code S) noexcept {
  return S == Code::Left_Paren || S == Code::Left_Bracket || S == Code::Apostrophe ||
         S == Code::Dot || S == Code::Left_Label;
}

bool Ends_Operand(const Lexeme& Item) noexcept {
  return Is_Operand_Class(Item.Class) || Item.Symbol == Code::Right_Paren ||
         Item.Symbol == Code::Right_Bracket || Item.Symbol == Code::All ||
         Item.Symbol == Code::At_Sign;
}

}  // namespace

bool Is_Arrow_Plus(const Lexeme* Left, const Lexeme& Right) noexcept {
  return Left != nullptr && Left->Symbol == Code::Arrow && Right.Symbol == Code::Plus &&
         Left->Offset + Left->Length == Right.Offset;
}

bool Sign_Reader::Read(const Lexeme& Item) noexcept {
  if (Item.Class == Lexeme_Class::Comment || Item.Class == Lexeme_Class::Effector ||
      Item.Class == Lexeme_Class::Byte_Order_Mark) {
    return false;
  }
  const bool Sign = !After_Operand && (Item.Symbol == Code::Plus || Item.Symbol == Code::Minus) &&
                    !Is_Arrow_Plus(Before, Item);
  After_Operand = Ends_Operand(Item);
  Before = &Item;
  return Sign;
}

Gap Style_Gap(const Lexeme& Left, bool Left_Is_Sign, const Lexeme& Right) noexcept {
  if (Right.Class == Lexeme_Class::Comment) {
    return Gap::Comment;
  }
  // GNAT's style wants a blank between a bracket and a parenthesis.
  if (Left.Symbol == Code::Left_Bracket && Right.Symbol == Code::Left_Paren) {
    return Gap::One;
  }
  if (No_Blank_Before(Right.Symbol) || No_Blank_After(Left.Symbol) || Left_Is_Sign) {
    return Gap::None;
  }
  // `A (1)(2)`: GNAT's style takes a parenthesis right after another.
  if (Left.Symbol == Code::Double_Star || Right.Symbol == Code::Double_Star ||
      (Left.Symbol == Code::Right_Paren && Right.Symbol == Code::Left_Paren)) {
    return Gap::Free;
  }
  if (Is_Arrow_Plus(&Left, Right)) {
    return Gap::None;
  }
  return Gap::One;
}

bool Would_Merge(std::string_view Left, std::string_view Right) noexcept {
  if (Left.empty() || Right.empty()) {
    return false;
  }
  const auto L = static_cast<unsigned char>(Left.back());
  const auto R = static_cast<unsigned char>(Right.front());
  if (Is_Word_Character(L) && Is_Word_Character(R)) {
    return true;
  }
  // A numeral, a dot and a digit read as one real literal. No sound program
  // puts a dot next to a numeral, so the author's blanks there stay.
  if ((Is_Digit(static_cast<unsigned char>(Left.front())) && R == '.') ||
      (L == '.' && Is_Digit(R))) {
    return true;
  }
  static constexpr std::array<std::string_view, 13> Pairs{
      "--", "..", "**", ":=", "/=", ">=", "<=", "<<", ">>", "<>", "=>", "\"\"", "''"};
  const char Joined[2] = {static_cast<char>(L), static_cast<char>(R)};
  for (const std::string_view Pair : Pairs) {
    if (Pair == std::string_view(Joined, 2)) {
      return true;
    }
  }
  return false;
}

}  // namespace Formatter
