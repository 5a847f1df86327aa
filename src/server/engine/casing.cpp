// Attribute and pragma names in mixed case.
#include "casing.h"

#include <memory>
#include <vector>

namespace Formatter {

namespace {

char Upper(char C) noexcept {
  return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}
char Lower(char C) noexcept {
  return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

bool Is_Pragma_Word(const Token& Item) noexcept {
  if (Item.Kind != Kinds::Reserved_Word || Item.Text.size() != 6) {
    return false;
  }
  constexpr std::string_view Word = "pragma";
  for (std::size_t K = 0; K < Word.size(); ++K) {
    if (Lower(Item.Text[K]) != Word[K]) {
      return false;
    }
  }
  return true;
}

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
  const Token* Before = nullptr;  // the last token that is not a line end
  for (std::size_t T = 0; T < Output.Tokens.size(); ++T) {
    const Token& Item = Output.Tokens[T];
    if (Item.Kind == Kinds::End_Of_Line || Item.Kind == Kinds::Comment) {
      continue;
    }
    const bool Defined =
        Item.Kind == Kinds::Attribute ||
        (Item.Kind == Kinds::Identifier && Before != nullptr && Is_Pragma_Word(*Before));
    if (Defined && Wants_Mixed_Case(Item.Text)) {
      Changed.push_back(T);
      Extra += Item.Text.size();
    }
    Before = &Item;
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
