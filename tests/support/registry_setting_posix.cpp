// Registry settings of tests over the POSIX registry files: the file is
// saved byte for byte, edited, and written back as it was. The user root is
// never the user's own file: while any setting lives, this process's
// XDG_CONFIG_HOME names a scratch folder (which the programs a test starts
// inherit), so that a test killed halfway leaves the user's settings as
// they were.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "registry_files.h"
#include "registry_setting.h"
#include "scratch.h"
#include "text.h"
#include "wide.h"

namespace fs = std::filesystem;

namespace Test_Support {

namespace {

int Lock_Count = 0;
int Lock_File = -1;

// The folder that XDG_CONFIG_HOME names while it lives; the former value
// comes back when it ends.
class Scratch_Config_Home {
 public:
  Scratch_Config_Home() {
    if (const char* Value = std::getenv("XDG_CONFIG_HOME")) {
      Former = Value;
    }
    ::setenv("XDG_CONFIG_HOME", Folder.Path().c_str(), 1);
  }
  ~Scratch_Config_Home() {
    if (Former) {
      ::setenv("XDG_CONFIG_HOME", Former->c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
  }
  Scratch_Config_Home(const Scratch_Config_Home&) = delete;
  Scratch_Config_Home& operator=(const Scratch_Config_Home&) = delete;

  const std::string& Path() const noexcept { return Folder.Path(); }

 private:
  Scratch_Folder Folder;
  std::optional<std::string> Former;
};

// The one scratch folder of the settings that live now (nested settings of
// a test share it).
std::shared_ptr<Scratch_Config_Home> Shared_Config_Home() {
  static std::weak_ptr<Scratch_Config_Home> Current;
  std::shared_ptr<Scratch_Config_Home> Home = Current.lock();
  if (!Home) {
    Home = std::make_shared<Scratch_Config_Home>();
    Current = Home;
  }
  return Home;
}

std::string Root_Name(Windows::Registry::Root_Key Root) {
  return Root == Windows::Registry::Root_Key::Machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::string Hex_Bytes(std::string_view Data) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string List;
  for (const char C : Data) {
    const auto Byte = static_cast<unsigned char>(C);
    List += List.empty() ? "" : ",";
    List += {Digits[Byte >> 4], Digits[Byte & 15]};
  }
  return List;
}

std::string Quoted(std::string_view Text) {
  std::string Result = "\"";
  for (const char C : Text) {
    if (C == '\\' || C == '"') {
      Result.push_back('\\');
    }
    Result.push_back(C);
  }
  return Result + '"';
}

// One value line as the registry editor writes it.
std::string Value_Line(std::string_view Name, std::uint32_t Type, std::string_view Data) {
  const std::string Left = Quoted(Name) + "=";
  if (Type == 1 && !Data.empty() && Data.back() == '\0' && Data.find('\0') == Data.size() - 1) {
    return Left + Quoted(Data.substr(0, Data.size() - 1));
  }
  if (Type == 4 && Data.size() == 4) {
    char Text[9];
    const auto Byte = [&](std::size_t I) { return unsigned{static_cast<unsigned char>(Data[I])}; };
    std::snprintf(Text, sizeof Text, "%08x",
                  Byte(0) | Byte(1) << 8u | Byte(2) << 16u | Byte(3) << 24u);
    return Left + "dword:" + Text;
  }
  std::string Bytes(Data);
  if (Type == 1 || Type == 2 || Type == 7) {
    // A version 5.00 file holds these as UTF-16LE.
    Bytes = Windows::Bytes_Of(Windows::To_UTF_16(Data));
  }
  char Kind[16];
  std::snprintf(Kind, sizeof Kind, "hex(%x):", Type);
  return Left + (Type == 3 ? std::string("hex:") : std::string(Kind)) + Hex_Bytes(Bytes);
}

std::optional<std::string> Read_Bytes(const std::string& Path) {
  std::ifstream Input(Path, std::ios::binary);
  if (!Input) {
    return std::nullopt;
  }
  std::ostringstream Content;
  Content << Input.rdbuf();
  return Content.str();
}

}  // namespace

struct Registry_Setting::State {
  std::shared_ptr<Scratch_Config_Home> Config_Home;  ///< the scratch user root
  std::string File;
  std::string Section;  // "[HKEY_...\path]"
  std::optional<std::string> Original;
  std::vector<fs::path> Made_Folders;
  std::vector<std::string> Lines;  // the key's value lines, in order

  void Write() const;
};

// The original text (an export in any form, decoded) without this key's
// section, then the section with the test's values.
void Registry_Setting::State::Write() const {
  std::string Text = "Windows Registry Editor Version 5.00\r\n\r\n";
  if (Original) {
    std::string Decoded = *Original;
    if (Decoded.rfind("\xFF\xFE", 0) == 0) {
      Decoded = Windows::To_UTF_8(Windows::Units_Of(std::string_view(Decoded).substr(2)));
    }
    std::istringstream Input(Decoded);
    bool Skipping = false;
    bool First = true;
    for (std::string Line; std::getline(Input, Line);) {
      if (!Line.empty() && Line.back() == '\r') {
        Line.pop_back();
      }
      if (First) {
        First = false;
        continue;  // the header, written above
      }
      if (!Line.empty() && Line.front() == '[') {
        Skipping = Text::Equal(Line, Section, false);
      }
      if (!Skipping) {
        Text += Line + "\r\n";
      }
    }
  }
  Text += "\r\n" + Section + "\r\n";
  for (const std::string& Line : Lines) {
    Text += Line + "\r\n";
  }
  std::ofstream Output(File, std::ios::binary | std::ios::trunc);
  Output.write(Text.data(), static_cast<std::streamsize>(Text.size()));
  if (!Output) {
    throw Registry_Not_Writable("cannot write " + File);
  }
}

Registry_Setting::Lock::Lock() {
  if (Lock_Count++ > 0) {
    return;
  }
  const std::string Path = (fs::temp_directory_path() / "quorvel-registry-tests.lock").string();
  Lock_File = ::open(Path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (Lock_File >= 0) {
    ::flock(Lock_File, LOCK_EX);
  }
}

Registry_Setting::Lock::~Lock() {
  if (--Lock_Count == 0 && Lock_File >= 0) {
    ::close(Lock_File);
    Lock_File = -1;
  }
}

Registry_Setting::Registry_Setting(Windows::Registry::Root_Key Root, std::string Path)
    : Key(std::make_unique<State>()) {
  // A machine setting takes the scratch user root too, so that no user
  // setting of this machine's user stands in front of it.
  Key->Config_Home = Shared_Config_Home();
  Key->File = Root == Windows::Registry::Root_Key::Machine
                  ? std::string(Windows::Registry::Machine_File)
                  : Windows::Registry::User_File(Key->Config_Home->Path(), "");
  Key->Section = "[" + Root_Name(Root) + "\\" + Path + "]";
  Key->Original = Read_Bytes(Key->File);
  std::error_code Failed;
  for (fs::path Folder = fs::path(Key->File).parent_path(); !fs::exists(Folder);
       Folder = Folder.parent_path()) {
    Key->Made_Folders.insert(Key->Made_Folders.begin(), Folder);
  }
  for (const fs::path& Folder : Key->Made_Folders) {
    if (!fs::create_directory(Folder, Failed) && Failed) {
      throw Registry_Not_Writable("cannot make " + Folder.string());
    }
  }
  Key->Write();
}

Registry_Setting::~Registry_Setting() {
  if (Key->Original) {
    std::ofstream Output(Key->File, std::ios::binary | std::ios::trunc);
    Output.write(Key->Original->data(), static_cast<std::streamsize>(Key->Original->size()));
    return;
  }
  std::error_code Ignored;
  fs::remove(Key->File, Ignored);
  for (auto Folder = Key->Made_Folders.rbegin(); Folder != Key->Made_Folders.rend(); ++Folder) {
    fs::remove(*Folder, Ignored);
  }
}

void Registry_Setting::Set(std::string_view Name, std::uint32_t Type, std::string_view Data) {
  const std::string Prefix = Quoted(Name) + "=";
  std::erase_if(Key->Lines, [&](const std::string& Line) {
    return Text::Equal(Line.substr(0, Prefix.size()), Prefix, false);
  });
  Key->Lines.push_back(Value_Line(Name, Type, Data));
  Key->Write();
}

}  // namespace Test_Support
