// Text::List: a doubly linked list of strings with value semantics (a copy
// owns its own elements), compared element-wise under Text::Equal.
#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "named_error.h"

namespace Text {

QUORVEL_NAMED_ERROR(Not_In_List, Named_Error, "TEXT.NOT_IN_LIST");

class List {
 public:
  List() = default;

  /// Copy of the element at 1-based Position; throws Not_In_List outside 1 .. Length.
  std::string Element(long long Position) const;
  std::vector<std::string> To_Array() const;

  void Clear() noexcept { Items.clear(); }
  void Prepend(std::string_view Item) { Items.emplace_front(Item); }
  /// The items end up at the head of the list in array order.
  void Prepend(const std::vector<std::string>& New_Items);
  void Append(std::string_view Item) { Items.emplace_back(Item); }
  void Append(const std::vector<std::string>& New_Items);
  void Append(const List& Other);
  /// Removes the first element equal to Item; nothing when there is none.
  void Remove(std::string_view Item, bool Case_Sensitive);

  std::size_t Length() const noexcept { return Items.size(); }
  bool Is_Empty() const noexcept { return Items.empty(); }
  /// Throw Not_In_List on an empty list.
  const std::string& First() const;
  const std::string& Last() const;

  /// 1-based position of the first element at From or later that equals
  /// Item, counted from the first element; 0 when there is none.
  std::size_t Index(std::string_view Item, std::size_t From, bool Case_Sensitive) const;
  bool Contains(std::string_view Item, bool Case_Sensitive) const {
    return Index(Item, 1, Case_Sensitive) != 0;
  }

  friend bool Equal(const List& Left, const List& Right, bool Case_Sensitive);

 private:
  std::list<std::string> Items;
};

List Empty_List();
List To_List(const std::vector<std::string>& Items);
/// Throws Constraint_Error when a reference is null.
List To_List(const std::vector<const std::string*>& Items);

}  // namespace Text
