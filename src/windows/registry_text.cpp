// Reading the registry editor's export format. Every rule is lenient where
// a hand-written file is likely to differ and strict where a value could be
// misread: a value line that is not understood empties its key.
#include "registry_text.h"

#include <unordered_map>
#include <utility>

#include "text.h"
#include "wide.h"

namespace Windows::Registry {

namespace {

constexpr std::string_view Header_5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view Header_4 = "REGEDIT4";

struct Bad_Line {};

std::string_view Trim(std::string_view S) {
  const std::size_t First = S.find_first_not_of(" \t");
  if (First == std::string_view::npos) {
    return {};
  }
  return S.substr(First, S.find_last_not_of(" \t") - First + 1);
}

bool Starts_With(std::string_view S, std::string_view Prefix) {
  return S.size() >= Prefix.size() && Text::Equal(S.substr(0, Prefix.size()), Prefix, false);
}

// UTF-16LE units as UTF-8; an odd last byte is dropped.
std::string From_UTF_16_LE(std::string_view Bytes) {
  return To_UTF_8(Units_Of(Bytes));
}

std::string Decode_File(std::string_view Content) {
  if (Content.substr(0, 2) == "\xFF\xFE") {
    return From_UTF_16_LE(Content.substr(2));
  }
  if (Content.substr(0, 3) == "\xEF\xBB\xBF") {
    Content.remove_prefix(3);
  }
  return std::string(Content);
}

std::vector<std::string_view> Physical_Lines(std::string_view Text) {
  std::vector<std::string_view> Lines;
  while (!Text.empty()) {
    const std::size_t End = Text.find_first_of("\r\n");
    Lines.push_back(Text.substr(0, End));
    if (End == std::string_view::npos) {
      break;
    }
    const bool Pair = Text[End] == '\r' && End + 1 < Text.size() && Text[End + 1] == '\n';
    Text.remove_prefix(End + (Pair ? 2 : 1));
  }
  return Lines;
}

int Hex_Value(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// 1 to Max_Digits hexadecimal digits, nothing else.
std::uint32_t Hex_Number(std::string_view Digits, std::size_t Max_Digits) {
  if (Digits.empty() || Digits.size() > Max_Digits) {
    throw Bad_Line();
  }
  std::uint32_t Value = 0;
  for (const char C : Digits) {
    const int Digit = Hex_Value(C);
    if (Digit < 0) {
      throw Bad_Line();
    }
    Value = Value << 4 | static_cast<std::uint32_t>(Digit);
  }
  return Value;
}

// A quoted text at the start of S; S is left after the closing quote.
std::string Quoted(std::string_view& S) {
  if (S.empty() || S.front() != '"') {
    throw Bad_Line();
  }
  std::string Result;
  for (std::size_t I = 1; I < S.size(); ++I) {
    if (S[I] == '"') {
      S.remove_prefix(I + 1);
      return Result;
    }
    // Only \\ and \" are escapes; any other backslash stands for itself.
    if (S[I] == '\\' && I + 1 < S.size() && (S[I + 1] == '\\' || S[I + 1] == '"')) {
      ++I;
    }
    Result.push_back(S[I]);
  }
  throw Bad_Line();
}

// "aa,bb,..." (possibly empty) as bytes.
std::string Byte_List(std::string_view List) {
  std::string Bytes;
  List = Trim(List);
  while (!List.empty()) {
    const std::size_t Comma = List.find(',');
    Bytes.push_back(static_cast<char>(Hex_Number(Trim(List.substr(0, Comma)), 2)));
    if (Comma == std::string_view::npos) {
      break;
    }
    List.remove_prefix(Comma + 1);
    if (Trim(List).empty()) {
      break;  // a trailing comma
    }
  }
  return Bytes;
}

// Names to positions, each name in its Latin-1 lower-case form (equal
// forms are the names the registry takes for one), so that a name is found
// in constant time whatever the size of the file. Every comparison of two
// names is counted.
class Name_Table {
 public:
  explicit Name_Table(Parse_Counts& Counts) : Table(0, std::hash<std::string>(), Equal{&Counts}) {}

  /// The position of Name; Next when it is new (and then recorded).
  std::size_t Position(std::string Name, std::size_t Next) {
    return Table.try_emplace(std::move(Name), Next).first->second;
  }
  /// Name is at Next from now on; its former position, if it had one.
  std::optional<std::size_t> Replace(std::string Name, std::size_t Next) {
    const auto [Entry, Is_New] = Table.try_emplace(std::move(Name), Next);
    return Is_New ? std::nullopt : std::optional<std::size_t>(std::exchange(Entry->second, Next));
  }
  /// Name is forgotten; its former position, if it had one.
  std::optional<std::size_t> Remove(const std::string& Name) {
    const auto Entry = Table.find(Name);
    if (Entry == Table.end()) {
      return std::nullopt;
    }
    const std::size_t Former = Entry->second;
    Table.erase(Entry);
    return Former;
  }

 private:
  struct Equal {
    Parse_Counts* Counts;
    bool operator()(const std::string& A, const std::string& B) const {
      ++Counts->Name_Comparisons;
      return A == B;
    }
  };
  std::unordered_map<std::string, std::size_t, std::hash<std::string>, Equal> Table;
};

class Parser {
 public:
  Parser(std::string_view Root, std::vector<Stored_Key>& Into, Parse_Counts& Counts)
      : Root_Name(Root), Keys(Into), Key_At(Counts), Value_At(Counts) {}

  void Run(const std::vector<std::string_view>& Lines);

 private:
  void Section(std::string_view Line);
  void Value(std::string_view Line, const std::vector<std::string_view>& Lines, std::size_t& I);
  bool Data(std::string_view Rest, Stored_Value& New, const std::vector<std::string_view>& Lines,
            std::size_t& I);
  std::string Hex_Data(std::string_view Rest, const std::vector<std::string_view>& Lines,
                       std::size_t& I);
  std::size_t Key_Index(std::string_view Path);
  void Store(Stored_Value&& New, bool Deleted);
  void Drop_Replaced_Values();

  std::string_view Root_Name;
  std::vector<Stored_Key>& Keys;
  // Keys by path; values by key position and name. A value set again or
  // deleted leaves its old place dead until the end of the file.
  Name_Table Key_At;
  Name_Table Value_At;
  std::vector<std::vector<bool>> Dead;
  bool Unicode = false;
  std::size_t Current = 0;
  bool In_Key = false;
};

void Parser::Run(const std::vector<std::string_view>& Lines) {
  std::size_t I = 0;
  while (I < Lines.size() && Trim(Lines[I]).empty()) {
    ++I;
  }
  if (I == Lines.size() || (Trim(Lines[I]) != Header_5 && Trim(Lines[I]) != Header_4)) {
    return;
  }
  Unicode = Trim(Lines[I]) == Header_5;
  for (++I; I < Lines.size(); ++I) {
    const std::string_view Line = Trim(Lines[I]);
    if (Line.empty() || Line.front() == ';') {
      continue;
    }
    if (Line.front() == '[') {
      Section(Line);
    } else if (In_Key) {
      Value(Line, Lines, I);
    }
  }
  Drop_Replaced_Values();
}

void Parser::Section(std::string_view Line) {
  In_Key = false;
  if (Line.back() != ']' || Line.size() < 3 || Line[1] == '-') {
    return;
  }
  const std::string_view Name = Line.substr(1, Line.size() - 2);
  const std::size_t Slash = Name.find('\\');
  if (!Text::Equal(Name.substr(0, Slash), Root_Name, false)) {
    return;
  }
  const std::string_view Path = Slash == std::string_view::npos ? "" : Name.substr(Slash + 1);
  if (Path.find("\\\\") != std::string_view::npos ||
      (!Path.empty() && (Path.front() == '\\' || Path.back() == '\\'))) {
    return;
  }
  Current = Key_Index(Path);
  In_Key = true;
}

void Parser::Value(std::string_view Line, const std::vector<std::string_view>& Lines,
                   std::size_t& I) {
  Stored_Key& Key = Keys[Current];
  try {
    Stored_Value New;
    std::string_view Rest = Line;
    if (Rest.front() == '@') {
      Rest.remove_prefix(1);
    } else {
      New.Name = Quoted(Rest);
    }
    Rest = Trim(Rest);
    if (Rest.empty() || Rest.front() != '=') {
      throw Bad_Line();
    }
    const bool Deleted = !Data(Trim(Rest.substr(1)), New, Lines, I);
    if (!Key.Broken) {
      Store(std::move(New), Deleted);
    }
  } catch (const Bad_Line&) {
    Key.Broken = true;
    Key.Values.clear();
    Dead[Current].clear();
  }
}

// Sets (or, when Deleted, deletes) a value of the current key; a value of
// the same name read before dies, and a value set again moves to the end.
void Parser::Store(Stored_Value&& New, bool Deleted) {
  Stored_Key& Key = Keys[Current];
  std::string Name = std::to_string(Current) + '\\' + Text::Lower_Case(New.Name);
  const std::optional<std::size_t> Former =
      Deleted ? Value_At.Remove(Name) : Value_At.Replace(std::move(Name), Key.Values.size());
  if (Former) {
    Dead[Current][*Former] = true;
  }
  if (!Deleted) {
    Key.Values.push_back(std::move(New));
    Dead[Current].push_back(false);
  }
}

void Parser::Drop_Replaced_Values() {
  for (std::size_t K = 0; K < Keys.size(); ++K) {
    std::size_t Position = 0;
    std::erase_if(Keys[K].Values, [&](const Stored_Value&) { return Dead[K][Position++]; });
  }
}

// The type and bytes of the value written after '='; false for "-", which
// deletes the value.
bool Parser::Data(std::string_view Rest, Stored_Value& New,
                  const std::vector<std::string_view>& Lines, std::size_t& I) {
  if (Rest == "-") {
    return false;
  }
  if (!Rest.empty() && Rest.front() == '"') {
    New.Type = 1;
    New.Data = Quoted(Rest) + '\0';
    if (!Trim(Rest).empty()) {
      throw Bad_Line();
    }
  } else if (Starts_With(Rest, "dword:")) {
    const std::uint32_t Number = Hex_Number(Trim(Rest.substr(6)), 8);
    New.Type = 4;
    for (unsigned Shift = 0; Shift < 32; Shift += 8) {
      New.Data.push_back(static_cast<char>(Number >> Shift & 0xFFu));
    }
  } else if (Starts_With(Rest, "hex")) {
    New.Data = Hex_Data(Rest, Lines, I);
    New.Type = Rest.substr(3, 1) == "(" ? Hex_Number(Rest.substr(4, Rest.find(':') - 5), 8) : 3;
    if (Unicode && (New.Type == 1 || New.Type == 2 || New.Type == 7)) {
      New.Data = From_UTF_16_LE(New.Data);
    }
  } else {
    throw Bad_Line();
  }
  return true;
}

// The bytes after "hex:" or "hex(<type>):", continuation lines included.
std::string Parser::Hex_Data(std::string_view Rest, const std::vector<std::string_view>& Lines,
                             std::size_t& I) {
  const std::size_t Colon = Rest.find(':');
  if (Colon == std::string_view::npos ||
      (Colon != 3 && (Rest[3] != '(' || Rest[Colon - 1] != ')'))) {
    throw Bad_Line();
  }
  std::string List(Trim(Rest.substr(Colon + 1)));
  while (!List.empty() && List.back() == '\\') {
    List.pop_back();
    if (++I == Lines.size()) {
      throw Bad_Line();
    }
    List += Trim(Lines[I]);
  }
  return Byte_List(List);
}

std::size_t Parser::Key_Index(std::string_view Path) {
  const std::size_t K = Key_At.Position(Text::Lower_Case(Path), Keys.size());
  if (K == Keys.size()) {
    Keys.push_back(Stored_Key{std::string(Path), {}, false});
    Dead.emplace_back();
  }
  return K;
}

}  // namespace

Hive Hive::Parse(std::string_view File_Content, std::string_view Root_Name,
                 Parse_Counts* Counts) {
  Hive Result;
  const std::string Content = Decode_File(File_Content);
  Parse_Counts Ignored;
  Parser(Root_Name, Result.All, Counts ? *Counts : Ignored).Run(Physical_Lines(Content));
  return Result;
}

std::optional<Stored_Key> Hive::Find(std::string_view Path) const {
  for (const Stored_Key& Key : All) {
    if (Text::Equal(Key.Path, Path, false)) {
      return Key;
    }
  }
  for (const Stored_Key& Key : All) {
    const bool Below =
        Path.empty() || (Key.Path.size() > Path.size() && Key.Path[Path.size()] == '\\');
    if (Below && Text::Equal(std::string_view(Key.Path).substr(0, Path.size()), Path, false)) {
      return Stored_Key{Key.Path.substr(0, Path.size()), {}, false};
    }
  }
  if (Path.empty()) {
    return Stored_Key{};
  }
  return std::nullopt;
}

const Stored_Value* Find_Value(const Stored_Key& Key, std::string_view Name) {
  for (const Stored_Value& Value : Key.Values) {
    if (Text::Equal(Value.Name, Name, false)) {
      return &Value;
    }
  }
  return nullptr;
}

}  // namespace Windows::Registry
