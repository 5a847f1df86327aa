// The string utilities: positions, searches, letter case.
#include "text.h"

#include <algorithm>
#include <limits>

namespace Text {

namespace {

unsigned char Byte(char C) noexcept {
  return static_cast<unsigned char>(C);
}

// Sub_String's window rule, shared with Index: Low may be one past the end
// (an empty window), High may not pass the end.
void Check_Window(std::size_t Low, std::size_t High, std::size_t Length) {
  if (Low > Length + 1 || High > Length) {
    throw Constraint_Error("index check failed");
  }
}

std::size_t Find(std::string_view Pattern, std::string_view Window, Going Direction) {
  if (Pattern.empty() || Pattern.size() > Window.size()) {
    return 0;
  }
  const std::size_t At = Direction == Going::Forward ? Window.find(Pattern) : Window.rfind(Pattern);
  return At == std::string_view::npos ? 0 : At + 1;
}

}  // namespace

char Lower(char C) noexcept {
  const unsigned char B = Byte(C);
  if ((B >= 'A' && B <= 'Z') || (B >= 0xC0 && B <= 0xDE && B != 0xD7)) {
    return static_cast<char>(B + 0x20);
  }
  return C;
}

char Upper(char C) noexcept {
  const unsigned char B = Byte(C);
  if ((B >= 'a' && B <= 'z') || (B >= 0xE0 && B <= 0xFE && B != 0xF7)) {
    return static_cast<char>(B - 0x20);
  }
  return C;
}

std::string Lower_Case(std::string_view S) {
  std::string Result(S);
  std::transform(Result.begin(), Result.end(), Result.begin(), Lower);
  return Result;
}

std::string Upper_Case(std::string_view S) {
  std::string Result(S);
  std::transform(Result.begin(), Result.end(), Result.begin(), Upper);
  return Result;
}

std::string Sub_String(std::string_view Source, long long Start, long long Length) {
  if (Start < 1 || Length < 0) {
    throw Constraint_Error("range check failed");
  }
  // A slice ending beyond the largest long long ends beyond the string too;
  // its last position cannot even be formed.
  if (Length - 1 > std::numeric_limits<long long>::max() - Start) {
    throw Constraint_Error("index check failed");
  }
  Check_Window(static_cast<std::size_t>(Start), static_cast<std::size_t>(Start + (Length - 1)),
               Source.size());
  return std::string(
      Source.substr(static_cast<std::size_t>(Start - 1), static_cast<std::size_t>(Length)));
}

void Clear(std::string& S) noexcept {
  S.clear();
}

bool Is_Empty(std::string_view S) noexcept {
  return S.empty();
}

bool Equal(std::string_view Left, std::string_view Right, bool Case_Sensitive) noexcept {
  if (Left.size() != Right.size()) {
    return false;
  }
  if (Case_Sensitive) {
    return Left == Right;
  }
  return std::equal(Left.begin(), Left.end(), Right.begin(),
                    [](char A, char B) { return Lower(A) == Lower(B); });
}

std::size_t Index(std::string_view Pattern, std::string_view Source, std::size_t From,
                  Going Direction) {
  if (From == 0) {
    return Find(Pattern, Source, Direction);
  }
  const std::size_t Low = Direction == Going::Forward ? From : 1;
  const std::size_t High = Direction == Going::Forward ? Source.size() : From;
  Check_Window(Low, High, Source.size());
  const std::string_view Window = Source.substr(Low - 1, High + 1 - Low);
  const std::size_t At = Find(Pattern, Window, Direction);
  return At == 0 ? 0 : Low + At - 1;
}

std::size_t Index(char Item, std::string_view Source, std::size_t From, Going Direction) {
  return Index(std::string_view(&Item, 1), Source, From, Direction);
}

std::optional<long long> Integer_Value(std::string_view Image) {
  const std::size_t First = Image.find_first_not_of(' ');
  if (First == std::string_view::npos) {
    return std::nullopt;
  }
  std::string_view Digits = Image.substr(First, Image.find_last_not_of(' ') - First + 1);
  const bool Negative = Digits.front() == '-';
  if (Negative || Digits.front() == '+') {
    Digits.remove_prefix(1);
  }
  if (Digits.empty() || Digits.front() == '_' || Digits.back() == '_') {
    return std::nullopt;
  }
  unsigned long long Magnitude = 0;
  // The lowest long long has no positive counterpart: below zero the
  // magnitude may be one more than the largest value.
  const unsigned long long Limit =
      static_cast<unsigned long long>(std::numeric_limits<long long>::max()) +
      (Negative ? 1ULL : 0ULL);
  char Previous = ' ';
  for (const char C : Digits) {
    if (C == '_' && Previous != '_') {
      Previous = C;
      continue;
    }
    if (C < '0' || C > '9' || Magnitude > (Limit - static_cast<unsigned>(C - '0')) / 10) {
      return std::nullopt;
    }
    Magnitude = Magnitude * 10 + static_cast<unsigned>(C - '0');
    Previous = C;
  }
  return static_cast<long long>(Negative ? 0ULL - Magnitude : Magnitude);
}

std::string Image(long long Value) {
  std::string Digits = std::to_string(Value);
  return Value < 0 ? Digits : " " + Digits;
}

}  // namespace Text
