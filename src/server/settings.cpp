// The settings: one rule per setting letter (how a value is read, how
// the value in force is shown, why a value is refused).
#include "settings.h"

#include <algorithm>
#include <array>

#include "files.h"
#include "protocol.h"
#include "text.h"

namespace Server {

namespace {

using Edition = Formatter::Edition;

struct Edition_Name {
  Edition Value;
  std::string_view Name;
  std::string_view Year;
};

constexpr std::array<Edition_Name, 5> Editions{{{Edition::Ada83, "Ada83", "83"},
                                                {Edition::Ada95, "Ada95", "95"},
                                                {Edition::Ada2005, "Ada2005", "2005"},
                                                {Edition::Ada2012, "Ada2012", "2012"},
                                                {Edition::Ada2022, "Ada2022", "2022"}}};

std::string_view Trimmed(std::string_view Value) {
  const std::size_t First = Value.find_first_not_of(' ');
  if (First == std::string_view::npos) {
    return {};
  }
  return Value.substr(First, Value.find_last_not_of(' ') - First + 1);
}

// "Ada2012", "ada 2012", "Ada_2012", "ADA-2012" and "2012" all name Ada 2012.
bool Read_Compiler(std::string_view Value, Settings& Into) {
  std::string Year = Text::Lower_Case(Trimmed(Value));
  if (Year.starts_with("ada")) {
    Year.erase(0, 3);
    if (!Year.empty() && (Year[0] == ' ' || Year[0] == '_' || Year[0] == '-')) {
      Year.erase(0, 1);
    }
  }
  for (const Edition_Name& Known : Editions) {
    if (Year == Known.Year) {
      Into.Compiler = Known.Value;
      return true;
    }
  }
  return false;
}

std::string Show_Compiler(const Settings& Current) {
  for (const Edition_Name& Known : Editions) {
    if (Known.Value == Current.Compiler) {
      return std::string(Known.Name);
    }
  }
  return "?";
}

// Every folder named must exist: a misspelt folder is better reported now
// than met as "no such file" later. Empty entries are skipped. A NUL would
// end the name early for the system, which would then check another one.
bool Read_Path(std::string_view Value, Settings& Into) {
  std::vector<std::string> Folders;
  std::size_t Start = 0;
  while (Start <= Value.size()) {
    const std::size_t End = std::min(Value.find(';', Start), Value.size());
    const std::string_view Folder = Trimmed(Value.substr(Start, End - Start));
    if (!Folder.empty()) {
      if (Folder.find('\0') != std::string_view::npos ||
          !Windows::Files::Is_Directory(std::string(Folder))) {
        return false;
      }
      Folders.emplace_back(Folder);
    }
    Start = End + 1;
  }
  Into.Path = std::move(Folders);
  return true;
}

std::string Show_Path(const Settings& Current) {
  std::string Shown_Path;
  for (const std::string& Folder : Current.Path) {
    Shown_Path += (Shown_Path.empty() ? "" : ";") + Folder;
  }
  return Shown_Path.empty() ? "none" : Shown_Path;
}

std::optional<int> Whole_Number(std::string_view Value, int Low, int High) {
  const std::optional<long long> Number = Text::Integer_Value(Value);
  if (!Number || *Number < Low || *Number > High) {
    return std::nullopt;
  }
  return static_cast<int>(*Number);
}

bool Read_Units(std::string_view Value, Settings& Into) {
  const std::optional<int> Units = Whole_Number(Value, 1, 9);
  Into.Units = Units.value_or(Into.Units);
  return Units.has_value();
}

bool Read_Errors(std::string_view Value, Settings& Into) {
  const std::optional<int> Errors = Whole_Number(Value, 1, 1000);
  Into.Errors = Errors.value_or(Into.Errors);
  return Errors.has_value();
}

// Below 40 columns hardly a declaration fits, and breaking would only pile
// up continuation lines; 0 keeps every line as long as its author made it.
bool Read_Width(std::string_view Value, Settings& Into) {
  const std::optional<int> Width = Whole_Number(Value, 0, 999);
  if (!Width || (*Width != 0 && *Width < 40)) {
    return false;
  }
  Into.Width = *Width;
  return true;
}

bool Read_Timeout(std::string_view Value, Settings& Into) {
  const std::optional<std::uint32_t> Ms = Seconds_Value(Value);
  Into.Timeout_Ms = Ms.value_or(Into.Timeout_Ms);
  return Ms.has_value();
}

std::string Show_Timeout(const Settings& Current) {
  if (Current.Timeout_Ms == 0) {
    return "none";
  }
  std::string Seconds = std::to_string(Current.Timeout_Ms / 1000);
  if (const std::uint32_t Fraction = Current.Timeout_Ms % 1000; Fraction != 0) {
    std::string Digits = std::to_string(1000 + Fraction).substr(1);
    Digits.erase(Digits.find_last_not_of('0') + 1);
    Seconds += '.' + Digits;
  }
  return Seconds + " s";
}

struct Rule {
  char Letter;
  std::string_view Name;
  bool (*Read)(std::string_view, Settings&);
  std::string (*Show)(const Settings&);
  std::string_view Why_Refused;
};

const std::array<Rule, 6> Rules{{
    {Protocol::Letter::Compiler, "Compiler", Read_Compiler, Show_Compiler,
     "is not Ada83, Ada95, Ada2005, Ada2012 or Ada2022"},
    {Protocol::Letter::Path, "Path", Read_Path, Show_Path, "names something that is not a folder"},
    {Protocol::Letter::Units, "Units", Read_Units,
     [](const Settings& S) { return std::to_string(S.Units); },
     "is not a whole number from 1 to 9"},
    {Protocol::Letter::Errors, "Errors", Read_Errors,
     [](const Settings& S) { return std::to_string(S.Errors); },
     "is not a whole number from 1 to 1000"},
    {Protocol::Letter::Timeout, "Timeout", Read_Timeout, Show_Timeout,
     "is not 0 (none) or a number of seconds up to 1000000 with at most 3 decimals"},
    {Protocol::Letter::Width, "Width", Read_Width,
     [](const Settings& S) { return std::to_string(S.Width); },
     "is not 0 (no line broken) or a whole number from 40 to 999"},
}};

const Rule* Find_Rule(char Letter) {
  for (const Rule& Each : Rules) {
    if (Each.Letter == Letter) {
      return &Each;
    }
  }
  return nullptr;
}

// "Name <what> <why>; Name = <value in force> kept".
std::string Refusal(const Rule& Setting, const Settings& Current, std::string_view What,
                    std::string_view Why) {
  const std::string Name(Setting.Name);
  return Name + ' ' + std::string(What) + ' ' + std::string(Why) + "; " + Name + " = " +
         Setting.Show(Current) + " kept";
}

}  // namespace

std::optional<std::string> Apply_Setting(Settings& Current, char Letter, std::string_view Value) {
  const Rule* Setting = Find_Rule(Letter);
  if (Setting == nullptr) {
    return std::nullopt;
  }
  Settings Candidate = Current;
  if (!Setting->Read(Value, Candidate)) {
    return Refusal(*Setting, Current, '"' + Shown(Value) + '"', Setting->Why_Refused);
  }
  Current = std::move(Candidate);
  return std::string(Setting->Name) + " = " + Setting->Show(Current);
}

std::optional<std::string> Refuse_Setting(const Settings& Current, char Letter) {
  const Rule* Setting = Find_Rule(Letter);
  if (Setting == nullptr) {
    return std::nullopt;
  }
  return Refusal(*Setting, Current, "value", "is too long");
}

std::optional<std::uint32_t> Seconds_Value(std::string_view Text) {
  const std::string_view Number = Trimmed(Text);
  const std::size_t Point = Number.find('.');
  const std::string_view Whole = Number.substr(0, Point);
  const std::string_view Decimals =
      Point == std::string_view::npos ? std::string_view() : Number.substr(Point + 1);
  const auto All_Digits = [](std::string_view Digits) {
    return Digits.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (Whole.empty() || Whole.size() > 7 || !All_Digits(Whole) || !All_Digits(Decimals) ||
      Decimals.size() > 3 || (Point != std::string_view::npos && Decimals.empty())) {
    return std::nullopt;
  }
  std::uint32_t Ms = static_cast<std::uint32_t>(std::stoul(std::string(Whole))) * 1000;
  for (std::size_t I = 0, Scale = 100; I < Decimals.size(); ++I, Scale /= 10) {
    Ms += static_cast<std::uint32_t>(Decimals[I] - '0') * static_cast<std::uint32_t>(Scale);
  }
  if (Ms > 1000000u * 1000u) {
    return std::nullopt;
  }
  return Ms;
}

std::string Printable(std::string_view Line) {
  std::string Result(Line);
  for (char& C : Result) {
    if (static_cast<unsigned char>(C) < 32 || C == 127) {
      C = '?';
    }
  }
  return Result;
}

std::string Shown(std::string_view Value) {
  constexpr std::size_t Longest = 80;
  const std::string Result = Printable(Value.substr(0, Longest));
  return Value.size() > Longest ? Result + "..." : Result;
}

}  // namespace Server
