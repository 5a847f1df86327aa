// Fuzz target: the string library's position rules against plain reference
// forms: Index (both forms, both directions, any From), Sub_String,
// Integer_Value and Equal.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "text.h"

namespace {

using Text::Going;

// The search by the letter of the rule: the first (Forward) or last
// (Backward) match lying wholly inside positions Low .. High.
std::size_t Reference_Find(std::string_view Pattern, std::string_view Source, std::size_t Low,
                           std::size_t High, Going Direction) {
  std::size_t Found = 0;
  for (std::size_t At = Low; !Pattern.empty() && At + Pattern.size() - 1 <= High; ++At) {
    if (Source.substr(At - 1, Pattern.size()) == Pattern) {
      Found = At;
      if (Direction == Going::Forward) {
        break;
      }
    }
  }
  return Found;
}

void Check_Index(std::string_view Pattern, std::string_view Source, std::size_t From,
                 Going Direction) {
  const std::size_t Length = Source.size();
  // The window From .. Length (Forward) or 1 .. From (Backward) must lie in
  // Source; an empty window just past the end still does.
  const bool Outside =
      From != 0 && (Direction == Going::Forward ? From > Length + 1 : From > Length);
  std::optional<std::size_t> Got;
  try {
    Got = Text::Index(Pattern, Source, From, Direction);
  } catch (const Constraint_Error&) {
  }
  Fuzz::Check(Got.has_value() != Outside, "Index fails exactly outside the string");
  if (Outside) {
    return;
  }
  const std::size_t Low = From == 0 || Direction == Going::Backward ? 1 : From;
  const std::size_t High = From == 0 || Direction == Going::Forward ? Length : From;
  Fuzz::Check(*Got == Reference_Find(Pattern, Source, Low, High, Direction),
              "Index differs from the plain search");
  if (Pattern.size() == 1) {
    Fuzz::Check(Text::Index(Pattern[0], Source, From, Direction) == *Got,
                "the character form differs from the string form");
  }
}

void Check_Sub_String(std::string_view Source, long long Start, long long Length) {
  const auto Size = static_cast<long long>(Source.size());
  const bool Outside = Start < 1 || Length < 0 || Start > Size + 1 || Length > Size + 1 - Start;
  std::optional<std::string> Got;
  try {
    Got = Text::Sub_String(Source, Start, Length);
  } catch (const Constraint_Error&) {
  }
  Fuzz::Check(Got.has_value() != Outside, "Sub_String fails exactly outside the string");
  if (Got) {
    Fuzz::Check(*Got == Source.substr(static_cast<std::size_t>(Start - 1),
                                      static_cast<std::size_t>(Length)),
                "Sub_String takes other characters");
  }
}

bool Is_Digit(char C) {
  return C >= '0' && C <= '9';
}

// Blanks, a sign, digits with single underscores between digits; the
// value gathered below zero so that the lowest long long fits too.
std::optional<long long> Reference_Value(std::string_view Image) {
  const std::size_t First = Image.find_first_not_of(' ');
  Image = First == std::string_view::npos ? std::string_view() : Image.substr(First);
  Image = Image.substr(0, Image.find_last_not_of(' ') + 1);
  const bool Negative = !Image.empty() && Image.front() == '-';
  if (!Image.empty() && (Negative || Image.front() == '+')) {
    Image.remove_prefix(1);
  }
  if (Image.empty()) {
    return std::nullopt;
  }
  long long Value = 0;
  for (std::size_t I = 0; I < Image.size(); ++I) {
    if (Image[I] == '_' && I > 0 && I + 1 < Image.size() && Is_Digit(Image[I - 1]) &&
        Is_Digit(Image[I + 1])) {
      continue;
    }
    if (!Is_Digit(Image[I]) || __builtin_mul_overflow(Value, 10, &Value) ||
        __builtin_sub_overflow(Value, Image[I] - '0', &Value)) {
      return std::nullopt;
    }
  }
  if (!Negative && Value == LLONG_MIN) {
    return std::nullopt;
  }
  return Negative ? Value : -Value;
}

void Check_Equal(std::string_view Left, std::string_view Right) {
  const bool Ignoring = Text::Equal(Left, Right, false);
  Fuzz::Check(Ignoring == Text::Equal(Right, Left, false), "Equal is not symmetric");
  Fuzz::Check(Ignoring == (Text::Lower_Case(Left) == Text::Lower_Case(Right)),
              "Equal differs from equal lower-case forms");
  Fuzz::Check(Ignoring == (Text::Upper_Case(Left) == Text::Upper_Case(Right)),
              "Equal differs from equal upper-case forms");
  Fuzz::Check(Text::Equal(Left, Right, true) == (Left == Right), "Equal differs from ==");
}

// Right is Left with the letter case of some characters swapped, so that
// equal-ignoring-case pairs are common.
std::string Case_Variant(std::string_view Left, FuzzedDataProvider& Input) {
  std::string Right(Left);
  for (char& C : Right) {
    if (Input.ConsumeBool()) {
      C = Text::Lower(C) == C ? Text::Upper(C) : Text::Lower(C);
    }
  }
  return Right;
}

// Mostly a number around the string's bounds, sometimes any value at all.
long long Near_Or_Any(FuzzedDataProvider& Input, std::size_t Bound) {
  return Input.ConsumeBool()
             ? Input.ConsumeIntegralInRange<long long>(-2, static_cast<long long>(Bound) + 2)
             : Input.ConsumeIntegral<long long>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  FuzzedDataProvider Input(Data, Size);
  const std::string Pattern = Input.ConsumeRandomLengthString(8);
  const std::string Source = Input.ConsumeRandomLengthString(64);
  const std::string Image = Input.ConsumeRandomLengthString(40);
  const Going Direction = Input.ConsumeBool() ? Going::Forward : Going::Backward;
  // Mostly a From near the string, sometimes any value at all.
  const std::size_t From = Input.ConsumeBool()
                               ? Input.ConsumeIntegralInRange<std::size_t>(0, Source.size() + 2)
                               : Input.ConsumeIntegral<std::size_t>();
  const long long Start = Near_Or_Any(Input, Source.size());
  const long long Length = Near_Or_Any(Input, Source.size());

  Check_Index(Pattern, Source, From, Direction);
  Check_Sub_String(Source, Start, Length);
  Fuzz::Check(Text::Integer_Value(Image) == Reference_Value(Image),
              "Integer_Value differs from the plain reading");
  Check_Equal(Source, Input.ConsumeBool() ? Case_Variant(Source, Input) : Image);
  return 0;
}
