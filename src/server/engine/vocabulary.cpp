// Reserved words by edition and the delimiter table.
#include "vocabulary.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace Formatter {

namespace {

struct Word_Entry {
  std::string_view Spelling;
  Code Word;
  Edition Since;
};

constexpr Edition A83 = Edition::Ada83;
constexpr Edition A95 = Edition::Ada95;
constexpr Edition A05 = Edition::Ada2005;
constexpr Edition A12 = Edition::Ada2012;
constexpr Edition A22 = Edition::Ada2022;

// The tables are laid out by hand, in columns.
// clang-format off
constexpr std::array<Word_Entry, 74> Words{{
    {"abort", Code::Abort, A83},         {"abs", Code::Abs, A83},
    {"abstract", Code::Abstract, A95},   {"accept", Code::Accept, A83},
    {"access", Code::Access, A83},       {"aliased", Code::Aliased, A95},
    {"all", Code::All, A83},             {"and", Code::And, A83},
    {"array", Code::Array, A83},         {"at", Code::At, A83},
    {"begin", Code::Begin, A83},         {"body", Code::Body, A83},
    {"case", Code::Case, A83},           {"constant", Code::Constant, A83},
    {"declare", Code::Declare, A83},     {"delay", Code::Delay, A83},
    {"delta", Code::Delta, A83},         {"digits", Code::Digits, A83},
    {"do", Code::Do, A83},               {"else", Code::Else, A83},
    {"elsif", Code::Elsif, A83},         {"end", Code::End, A83},
    {"entry", Code::Entry, A83},         {"exception", Code::Exception, A83},
    {"exit", Code::Exit, A83},           {"for", Code::For, A83},
    {"function", Code::Function, A83},   {"generic", Code::Generic, A83},
    {"goto", Code::Goto, A83},           {"if", Code::If, A83},
    {"in", Code::In, A83},               {"interface", Code::Interface, A05},
    {"is", Code::Is, A83},               {"limited", Code::Limited, A83},
    {"loop", Code::Loop, A83},           {"mod", Code::Mod, A83},
    {"new", Code::New, A83},             {"not", Code::Not, A83},
    {"null", Code::Null, A83},           {"of", Code::Of, A83},
    {"or", Code::Or, A83},               {"others", Code::Others, A83},
    {"out", Code::Out, A83},             {"overriding", Code::Overriding, A05},
    {"package", Code::Package, A83},     {"parallel", Code::Parallel, A22},
    {"pragma", Code::Pragma, A83},       {"private", Code::Private, A83},
    {"procedure", Code::Procedure, A83}, {"protected", Code::Protected, A95},
    {"raise", Code::Raise, A83},         {"range", Code::Range, A83},
    {"record", Code::Record, A83},       {"rem", Code::Rem, A83},
    {"renames", Code::Renames, A83},     {"requeue", Code::Requeue, A95},
    {"return", Code::Return, A83},       {"reverse", Code::Reverse, A83},
    {"select", Code::Select, A83},       {"separate", Code::Separate, A83},
    {"some", Code::Some, A12},           {"subtype", Code::Subtype, A83},
    {"synchronized", Code::Synchronized, A05},
    {"tagged", Code::Tagged, A95},       {"task", Code::Task, A83},
    {"terminate", Code::Terminate, A83}, {"then", Code::Then, A83},
    {"type", Code::Type, A83},           {"until", Code::Until, A95},
    {"use", Code::Use, A83},             {"when", Code::When, A83},
    {"while", Code::While, A83},         {"with", Code::With, A83},
    {"xor", Code::Xor, A83},
}};

struct Delimiter_Entry {
  std::string_view Spelling;
  Code Symbol;
};

// Two-character delimiters first, so that the first match is the longest.
constexpr std::size_t Pairs = 10;
constexpr std::array<Delimiter_Entry, 30> Delimiters{{
    {"=>", Code::Arrow},       {"..", Code::Double_Dot},   {"**", Code::Double_Star},
    {":=", Code::Assign},      {"/=", Code::Not_Equal},    {">=", Code::Greater_Equal},
    {"<=", Code::Less_Equal},  {"<<", Code::Left_Label},   {">>", Code::Right_Label},
    {"<>", Code::Box},         {"&", Code::Ampersand},     {"'", Code::Apostrophe},
    {"(", Code::Left_Paren},   {")", Code::Right_Paren},   {"*", Code::Star},
    {"+", Code::Plus},         {",", Code::Comma},         {"-", Code::Minus},
    {".", Code::Dot},          {"/", Code::Slash},         {":", Code::Colon},
    {";", Code::Semicolon},    {"<", Code::Less},          {"=", Code::Equal},
    {">", Code::Greater},      {"|", Code::Bar},           {"!", Code::Bar},
    {"[", Code::Left_Bracket}, {"]", Code::Right_Bracket}, {"@", Code::At_Sign},
}};
// clang-format on

bool Only_From_2022(Code Symbol) noexcept {
  return Symbol == Code::Left_Bracket || Symbol == Code::Right_Bracket || Symbol == Code::At_Sign;
}

// The words are looked up among those of their first letter only, and
// only when one of them is as long: every identifier of a source is looked
// up, and most are no word.
struct Letter_Words {
  unsigned char First = 0;
  unsigned char End = 0;
  std::uint16_t Lengths = 0;  // bit N: a word of N letters
};

constexpr bool In_Order() noexcept {
  for (std::size_t I = 1; I < Words.size(); ++I) {
    if (!(Words[I - 1].Spelling < Words[I].Spelling)) {
      return false;
    }
  }
  return true;
}
static_assert(In_Order(), "the words of a letter stand together");

constexpr std::array<Letter_Words, 26> By_Letter = [] {
  std::array<Letter_Words, 26> Table{};
  for (std::size_t I = 0; I < Words.size(); ++I) {
    Letter_Words& Letter = Table[static_cast<std::size_t>(Words[I].Spelling[0] - 'a')];
    Letter.First = Letter.End == 0 ? static_cast<unsigned char>(I) : Letter.First;
    Letter.End = static_cast<unsigned char>(I + 1);
    Letter.Lengths = static_cast<std::uint16_t>(Letter.Lengths | 1U << Words[I].Spelling.size());
  }
  return Table;
}();

// The delimiters by their (first) character, so that a delimiter costs a
// look at one or two table entries, not a walk through the table.
constexpr std::array<Code, 256> Single_Delimiters = [] {
  std::array<Code, 256> Table{};
  for (const Delimiter_Entry& Entry : Delimiters) {
    if (Entry.Spelling.size() == 1) {
      Table[static_cast<unsigned char>(Entry.Spelling[0])] = Entry.Symbol;
    }
  }
  return Table;
}();

constexpr bool Pairs_First() noexcept {
  for (std::size_t I = 0; I < Delimiters.size(); ++I) {
    if ((Delimiters[I].Spelling.size() == 2) != (I < Pairs)) {
      return false;
    }
  }
  return true;
}
static_assert(Pairs_First(), "the pairs stand first in the delimiter table");

constexpr std::array<bool, 256> Starts_Pair = [] {
  std::array<bool, 256> Table{};
  for (const Delimiter_Entry& Entry : Delimiters) {
    Table[static_cast<unsigned char>(Entry.Spelling[0])] |= Entry.Spelling.size() == 2;
  }
  return Table;
}();

}  // namespace

Code Reserved_Word(std::string_view Word, Edition Language) noexcept {
  if (Word.size() < 2 || Word.size() > 12) {
    return Code::None;
  }
  const char First = Ascii_Lower(Word[0]);
  if (First < 'a' || First > 'z') {
    return Code::None;
  }
  const Letter_Words Letter = By_Letter[static_cast<std::size_t>(First - 'a')];
  if ((Letter.Lengths >> Word.size() & 1U) == 0) {
    return Code::None;
  }
  for (std::size_t I = Letter.First; I < Letter.End; ++I) {
    if (Same_Word(Word, Words[I].Spelling)) {
      return Words[I].Since <= Language ? Words[I].Word : Code::None;
    }
  }
  return Code::None;
}

Code Delimiter_At(std::string_view Text, Edition Language, std::size_t& Length) noexcept {
  Length = 0;
  if (Text.empty()) {
    return Code::None;
  }
  const auto Lead = static_cast<unsigned char>(Text[0]);
  if (Text.size() > 1 && Starts_Pair[Lead]) {
    for (std::size_t I = 0; I < Pairs; ++I) {
      if (Delimiters[I].Spelling[0] == Text[0] && Delimiters[I].Spelling[1] == Text[1]) {
        Length = 2;
        return Delimiters[I].Symbol;
      }
    }
  }
  const Code Symbol = Single_Delimiters[Lead];
  if (Symbol == Code::None || (Only_From_2022(Symbol) && Language < Edition::Ada2022)) {
    return Code::None;
  }
  Length = 1;
  return Symbol;
}

}  // namespace Formatter
