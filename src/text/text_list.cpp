// Text::List operations.
#include "text_list.h"

#include <algorithm>
#include <iterator>

#include "text.h"

namespace Text {

std::string List::Element(long long Position) const {
  if (Position < 1 || static_cast<unsigned long long>(Position) > Items.size()) {
    throw Not_In_List();
  }
  return *std::next(Items.begin(), static_cast<std::ptrdiff_t>(Position - 1));
}

std::vector<std::string> List::To_Array() const {
  return {Items.begin(), Items.end()};
}

void List::Prepend(const std::vector<std::string>& New_Items) {
  Items.insert(Items.begin(), New_Items.begin(), New_Items.end());
}

void List::Append(const std::vector<std::string>& New_Items) {
  Items.insert(Items.end(), New_Items.begin(), New_Items.end());
}

void List::Append(const List& Other) {
  Append(Other.To_Array());
}

void List::Remove(std::string_view Item, bool Case_Sensitive) {
  const auto Found = std::find_if(Items.begin(), Items.end(), [&](const std::string& Value) {
    return Text::Equal(Value, Item, Case_Sensitive);
  });
  if (Found != Items.end()) {
    Items.erase(Found);
  }
}

const std::string& List::First() const {
  if (Items.empty()) {
    throw Not_In_List();
  }
  return Items.front();
}

const std::string& List::Last() const {
  if (Items.empty()) {
    throw Not_In_List();
  }
  return Items.back();
}

std::size_t List::Index(std::string_view Item, std::size_t From, bool Case_Sensitive) const {
  std::size_t Position = 1;
  for (const std::string& Value : Items) {
    if (Position >= From && Text::Equal(Value, Item, Case_Sensitive)) {
      return Position;
    }
    ++Position;
  }
  return 0;
}

bool Equal(const List& Left, const List& Right, bool Case_Sensitive) {
  return std::equal(Left.Items.begin(), Left.Items.end(), Right.Items.begin(), Right.Items.end(),
                    [&](const std::string& A, const std::string& B) {
                      return Text::Equal(A, B, Case_Sensitive);
                    });
}

List Empty_List() {
  return List();
}

List To_List(const std::vector<std::string>& Items) {
  List Result;
  Result.Append(Items);
  return Result;
}

List To_List(const std::vector<const std::string*>& Items) {
  List Result;
  for (const std::string* Item : Items) {
    if (Item == nullptr) {
      throw Constraint_Error("access check failed");
    }
    Result.Append(*Item);
  }
  return Result;
}

}  // namespace Text
