// Fuzz target: the registry export reader over any file content, for both
// roots. Input: the file.
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "registry_text.h"
#include "text.h"

namespace {

using Windows::Registry::Hive;
using Windows::Registry::Stored_Key;
using Windows::Registry::Stored_Value;

bool Same_Values(const Stored_Key& Left, const Stored_Key& Right) {
  if (Left.Values.size() != Right.Values.size()) {
    return false;
  }
  for (std::size_t I = 0; I < Left.Values.size(); ++I) {
    const Stored_Value& A = Left.Values[I];
    const Stored_Value& B = Right.Values[I];
    if (A.Name != B.Name || A.Type != B.Type || A.Data != B.Data) {
      return false;
    }
  }
  return true;
}

bool Same_Keys(const Hive& Left, const Hive& Right) {
  if (Left.Keys().size() != Right.Keys().size()) {
    return false;
  }
  for (std::size_t K = 0; K < Left.Keys().size(); ++K) {
    const Stored_Key& A = Left.Keys()[K];
    const Stored_Key& B = Right.Keys()[K];
    if (A.Path != B.Path || A.Broken != B.Broken || !Same_Values(A, B)) {
      return false;
    }
  }
  return true;
}

void Check_Key(const Hive& Keys, const Stored_Key& Key) {
  Fuzz::Check(!Key.Broken || Key.Values.empty(), "a broken key keeps values");
  Fuzz::Check(Key.Path.find("\\\\") == std::string::npos &&
                  (Key.Path.empty() || (Key.Path.front() != '\\' && Key.Path.back() != '\\')),
              "a key path with an empty name in it");
  const std::optional<Stored_Key> Found = Keys.Find(Text::Upper_Case(Key.Path));
  Fuzz::Check(Found && Found->Path == Key.Path && Same_Values(*Found, Key),
              "a key is not found by its own path");
  for (const Stored_Value& Value : Key.Values) {
    Fuzz::Check(Windows::Registry::Find_Value(Key, Text::Lower_Case(Value.Name)) == &Value,
                "two values of one name, or a value not found by its name");
  }
}

void Check_Hive(const Hive& Keys) {
  for (std::size_t K = 0; K < Keys.Keys().size(); ++K) {
    Check_Key(Keys, Keys.Keys()[K]);
    for (std::size_t J = 0; J < K; ++J) {
      Fuzz::Check(!Text::Equal(Keys.Keys()[J].Path, Keys.Keys()[K].Path, false),
                  "one key stored twice");
    }
  }
  Fuzz::Check(Keys.Find("").has_value(), "no root key");
}

// Reading one key finds what the whole reading finds, for each key, each
// key's parent and a key that is not there.
void Check_One_Key_Readings(std::string_view Content, std::string_view Root, const Hive& Keys) {
  std::vector<std::string> Paths = {"", "No such key"};
  for (std::size_t K = 0; K < Keys.Keys().size() && K < 8; ++K) {
    const std::string& Path = Keys.Keys()[K].Path;
    Paths.push_back(Text::Upper_Case(Path));
    Paths.push_back(Path.substr(0, Path.rfind('\\') == std::string::npos ? 0 : Path.rfind('\\')));
  }
  for (const std::string& Path : Paths) {
    const std::optional<Stored_Key> Whole = Keys.Find(Path);
    const std::optional<Stored_Key> One = Hive::Parse_Key(Content, Root, Path);
    Fuzz::Check(Whole.has_value() == One.has_value() &&
                    (!Whole || (Whole->Path == One->Path && Whole->Broken == One->Broken &&
                                Same_Values(*Whole, *One))),
                "reading one key finds another key than the whole reading");
  }
}

// The same lines with every line end written as CR LF.
std::string With_Cr_Lf_Line_Ends(std::string_view Content) {
  std::string Result;
  for (std::size_t I = 0; I < Content.size(); ++I) {
    if (Content[I] == '\r' || Content[I] == '\n') {
      Result += "\r\n";
      I += Content[I] == '\r' && I + 1 < Content.size() && Content[I + 1] == '\n' ? 1 : 0;
    } else {
      Result += Content[I];
    }
  }
  return Result;
}

// An ASCII text as UTF-16LE with its byte-order mark.
std::string As_UTF_16_LE(std::string_view Content) {
  std::string Result = "\xFF\xFE";
  for (const char C : Content) {
    Result += C;
    Result += '\0';
  }
  return Result;
}

bool Is_ASCII(std::string_view Content) {
  for (const char C : Content) {
    if (static_cast<unsigned char>(C) >= 0x80) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view Content = Fuzz::Bytes(Data, Size);
  for (const std::string_view Root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
    const Hive Keys = Hive::Parse(Content, Root);
    Check_Hive(Keys);
    Check_One_Key_Readings(Content, Root, Keys);
    if (Is_ASCII(Content)) {
      Fuzz::Check(Same_Keys(Hive::Parse(With_Cr_Lf_Line_Ends(Content), Root), Keys),
                  "the kind of line end matters");
      Fuzz::Check(Same_Keys(Hive::Parse(As_UTF_16_LE(Content), Root), Keys),
                  "the same text as UTF-16LE reads otherwise");
    }
  }
  return 0;
}
