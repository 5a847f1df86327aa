// The words and delimiters of Ada: which spellings are reserved in which
// edition, and one code per reserved word and per delimiter so that the
// layout can test tokens without comparing text.
#pragma once

#include <cstddef>
#include <string_view>

#include "formatter.h"

namespace Formatter {

/// One code per reserved word and per delimiter; None for everything else.
// The codes stand in lines by kind, as in a table.
// clang-format off
enum class Code : unsigned char {
  None,
  // Reserved words, in alphabetical order.
  Abort, Abs, Abstract, Accept, Access, Aliased, All, And, Array, At,
  Begin, Body, Case, Constant, Declare, Delay, Delta, Digits, Do,
  Else, Elsif, End, Entry, Exception, Exit, For, Function, Generic, Goto,
  If, In, Interface, Is, Limited, Loop, Mod, New, Not, Null, Of, Or, Others, Out,
  Overriding, Package, Parallel, Pragma, Private, Procedure, Protected,
  Raise, Range, Record, Rem, Renames, Requeue, Return, Reverse,
  Select, Separate, Some, Subtype, Synchronized, Tagged, Task, Terminate, Then, Type,
  Until, Use, When, While, With, Xor,
  // Delimiters.
  Ampersand, Apostrophe, Left_Paren, Right_Paren, Star, Plus, Comma, Minus, Dot, Slash,
  Colon, Semicolon, Less, Equal, Greater, Bar, Left_Bracket, Right_Bracket, At_Sign,
  Arrow, Double_Dot, Double_Star, Assign, Not_Equal, Greater_Equal, Less_Equal,
  Left_Label, Right_Label, Box,
};
// clang-format on

/// The number of codes: Box is the last.
inline constexpr std::size_t Code_Count = static_cast<std::size_t>(Code::Box) + 1;

/// The reserved word spelled Word (any letter case) in Language, or None.
Code Reserved_Word(std::string_view Word, Edition Language) noexcept;

/// The delimiter at the start of Text (the longest match), or None; Length
/// receives the number of characters it takes. `[`, `]` and `@` are
/// delimiters from Ada 2022 on; `!` stands for `|` (the replacement
/// character of every edition).
Code Delimiter_At(std::string_view Text, Edition Language, std::size_t& Length) noexcept;

/// C in lower case, where it is an ASCII capital letter.
constexpr char Ascii_Lower(char C) noexcept {
  return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

/// True when Word, in any letter case, is Lower (written in lower case):
/// Ada's words and names are the same word in every letter case.
constexpr bool Same_Word(std::string_view Word, std::string_view Lower) noexcept {
  if (Word.size() != Lower.size()) {
    return false;
  }
  for (std::size_t I = 0; I < Word.size(); ++I) {
    if (Ascii_Lower(Word[I]) != Lower[I]) {
      return false;
    }
  }
  return true;
}

/// True for the codes of reserved words.
constexpr bool Is_Reserved(Code C) noexcept {
  return C >= Code::Abort && C <= Code::Xor;
}

/// True for the binary adding operators `+`, `-` and `&`.
constexpr bool Is_Adding(Code C) noexcept {
  return C == Code::Plus || C == Code::Minus || C == Code::Ampersand;
}

/// True for `=`, `/=`, `<`, `<=`, `>` and `>=`.
constexpr bool Is_Relational(Code C) noexcept {
  return C == Code::Equal || C == Code::Not_Equal || C == Code::Less || C == Code::Less_Equal ||
         C == Code::Greater || C == Code::Greater_Equal;
}

}  // namespace Formatter
