// Reading the registry editor's export format. Every rule is lenient where
// a hand-written file is likely to differ and strict where a value could be
// misread: a value line that is not understood empties its key.
#include "registry_text.h"

#include <fstream>
#include <sstream>
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
    // A plain scan: find_first_of calls memchr for every character.
    std::size_t End = 0;
    while (End < Text.size() && Text[End] != '\r' && Text[End] != '\n') {
      ++End;
    }
    Lines.push_back(Text.substr(0, End));
    if (End == Text.size()) {
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
// in constant time however many there are. Every comparison of two names
// is counted.
class Name_Table {
 public:
  explicit Name_Table(Parse_Counts& Counts) : Table(0, std::hash<std::string>(), Equal{&Counts}) {}

  /// The position of Name; Next when it is new (and then recorded).
  std::size_t Position(std::string_view Name, std::size_t Next) {
    return Table.try_emplace(Text::Lower_Case(Name), Next).first->second;
  }
  std::optional<std::size_t> Find(std::string_view Name) const {
    const auto Entry = Table.find(Text::Lower_Case(Name));
    return Entry == Table.end() ? std::nullopt : std::optional<std::size_t>(Entry->second);
  }
  void Set(std::string_view Name, std::size_t Position) {
    Table.insert_or_assign(Text::Lower_Case(Name), Position);
  }
  void Remove(std::string_view Name) { Table.erase(Text::Lower_Case(Name)); }

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

// The values of a key are found by a scan while it holds fewer than this
// many, through a table of their own beyond: most keys hold a few values,
// and a table for each would cost more than the scan.
constexpr std::size_t Small_Key = 8;

// Path is a key below Parent (any key but the root is below the root).
bool Is_Below(std::string_view Path, std::string_view Parent) {
  return Parent.empty() ? !Path.empty()
                        : Path.size() > Parent.size() && Path[Parent.size()] == '\\' &&
                              Text::Equal(Path.substr(0, Parent.size()), Parent, false);
}

class Parser {
 public:
  /// Only, when given: the one key whose values are kept; of the other
  /// keys only the first one below it is kept (without values), as the
  /// sign that it exists.
  Parser(std::string_view Root, std::vector<Stored_Key>& Into, Parse_Counts& Counted,
         std::optional<std::string_view> Only_Key)
      : Root_Name(Root), Keys(Into), Counts(Counted), Key_At(Counted), Only(Only_Key) {}

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
  std::optional<std::size_t> Value_Position(std::string_view Name);
  void Remove_Value(std::size_t Position);
  void Index_Last_Value();

  std::string_view Root_Name;
  std::vector<Stored_Key>& Keys;
  Parse_Counts& Counts;
  Name_Table Key_At;                                     // keys by path
  std::unordered_map<std::size_t, Name_Table> Big_Keys;  // values of large keys, by key
  std::optional<std::string_view> Only;
  bool Seen_Below_Only = false;
  bool Keeping = false;  // the values read are the current key's
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
  In_Key = true;
  // Another key's values are read all the same, so that the lines they
  // take (continued binary data) are taken as in a whole reading.
  Keeping = !Only || Text::Equal(Path, *Only, false);
  if (Keeping) {
    Current = Key_Index(Path);
  } else if (!Seen_Below_Only && Is_Below(Path, *Only)) {
    Key_Index(Path);
    Seen_Below_Only = true;
  }
}

void Parser::Value(std::string_view Line, const std::vector<std::string_view>& Lines,
                   std::size_t& I) {
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
    if (Keeping && !Keys[Current].Broken) {
      Store(std::move(New), Deleted);
    }
  } catch (const Bad_Line&) {
    if (Keeping) {
      Keys[Current].Broken = true;
      Keys[Current].Values.clear();
      Big_Keys.erase(Current);
    }
  }
}

// Sets (or, when Deleted, deletes) a value of the current key: a value of
// the same name read before takes the new one in its place.
void Parser::Store(Stored_Value&& New, bool Deleted) {
  std::vector<Stored_Value>& Values = Keys[Current].Values;
  const std::optional<std::size_t> Former = Value_Position(New.Name);
  if (Deleted) {
    if (Former) {
      Remove_Value(*Former);
    }
  } else if (Former) {
    Values[*Former] = std::move(New);
  } else {
    Values.push_back(std::move(New));
    Index_Last_Value();
  }
}

std::optional<std::size_t> Parser::Value_Position(std::string_view Name) {
  if (const auto Table = Big_Keys.find(Current); Table != Big_Keys.end()) {
    return Table->second.Find(Name);
  }
  const std::vector<Stored_Value>& Values = Keys[Current].Values;
  for (std::size_t P = 0; P < Values.size(); ++P) {
    ++Counts.Name_Comparisons;
    if (Text::Equal(Values[P].Name, Name, false)) {
      return P;
    }
  }
  return std::nullopt;
}

// The last value takes the removed one's place, so nothing else moves.
void Parser::Remove_Value(std::size_t Position) {
  std::vector<Stored_Value>& Values = Keys[Current].Values;
  const auto Table = Big_Keys.find(Current);
  if (Table != Big_Keys.end()) {
    Table->second.Remove(Values[Position].Name);
    if (Position + 1 != Values.size()) {
      Table->second.Set(Values.back().Name, Position);
    }
  }
  if (Position + 1 != Values.size()) {
    Values[Position] = std::move(Values.back());
  }
  Values.pop_back();
}

void Parser::Index_Last_Value() {
  const std::vector<Stored_Value>& Values = Keys[Current].Values;
  auto Table = Big_Keys.find(Current);
  if (Table == Big_Keys.end()) {
    if (Values.size() < Small_Key) {
      return;
    }
    Table = Big_Keys.try_emplace(Current, Counts).first;
    for (std::size_t P = 0; P + 1 < Values.size(); ++P) {
      Table->second.Set(Values[P].Name, P);
    }
  }
  Table->second.Set(Values.back().Name, Values.size() - 1);
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
  const std::size_t K = Key_At.Position(Path, Keys.size());
  if (K == Keys.size()) {
    Keys.push_back(Stored_Key{std::string(Path), {}, false});
  }
  return K;
}

}  // namespace

Hive Hive::Parse_Only(std::string_view File_Content, std::string_view Root_Name,
                      Parse_Counts& Counts, std::optional<std::string_view> Only) {
  Hive Result;
  const std::string Content = Decode_File(File_Content);
  Parser(Root_Name, Result.All, Counts, Only).Run(Physical_Lines(Content));
  return Result;
}

Hive Hive::Parse(std::string_view File_Content, std::string_view Root_Name, Parse_Counts* Counts) {
  Parse_Counts Ignored;
  return Parse_Only(File_Content, Root_Name, Counts ? *Counts : Ignored, std::nullopt);
}

std::optional<Stored_Key> Hive::Parse_Key(std::string_view File_Content, std::string_view Root_Name,
                                          std::string_view Path) {
  Parse_Counts Ignored;
  return Parse_Only(File_Content, Root_Name, Ignored, Path).Find(Path);
}

std::optional<Stored_Key> Hive::Read_Key(const std::string& File, std::string_view Root_Name,
                                         std::string_view Path) {
  std::ifstream Input(File, std::ios::binary);
  std::ostringstream Content;
  if (!File.empty() && Input) {
    Content << Input.rdbuf();
  }
  return Parse_Key(Content.view(), Root_Name, Path);
}

std::optional<Stored_Key> Hive::Find(std::string_view Path) const {
  for (const Stored_Key& Key : All) {
    if (Text::Equal(Key.Path, Path, false)) {
      return Key;
    }
  }
  for (const Stored_Key& Key : All) {
    if (Is_Below(Key.Path, Path)) {
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
