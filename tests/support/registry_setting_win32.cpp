// Registry settings of tests through the Windows registry: the key's former
// values are saved and written back, a key that did not exist is removed
// with the parents the test made.
#include <vector>

#include "handle_win32.h"
#include "registry_setting.h"

namespace Test_Support {

namespace {

int Lock_Count = 0;
Windows::Owned_Handle Lock_Mutex;

struct Saved_Value {
  std::string Name;
  DWORD Type = 0;
  std::vector<BYTE> Data;
};

HKEY Root_Handle(Windows::Registry::Root_Key Root) {
  return Root == Windows::Registry::Root_Key::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::vector<Saved_Value> Values_Of(HKEY Key) {
  std::vector<Saved_Value> Values;
  for (DWORD Index = 0;; ++Index) {
    char Name[16384];
    DWORD Name_Size = sizeof Name;
    Saved_Value Value;
    Value.Data.resize(65536);
    DWORD Data_Size = static_cast<DWORD>(Value.Data.size());
    if (RegEnumValueA(Key, Index, Name, &Name_Size, nullptr, &Value.Type, Value.Data.data(),
                      &Data_Size) != ERROR_SUCCESS) {
      return Values;
    }
    Value.Name.assign(Name, Name_Size);
    Value.Data.resize(Data_Size);
    Values.push_back(std::move(Value));
  }
}

void Remove_Values(HKEY Key) {
  for (const Saved_Value& Value : Values_Of(Key)) {
    RegDeleteValueA(Key, Value.Name.c_str());
  }
}

}  // namespace

struct Registry_Setting::State {
  HKEY Root = nullptr;
  Windows::Owned_Key Key;
  bool Existed = false;
  std::string First_Made;  // the first key of the path that the test made
  std::vector<Saved_Value> Former;
};

Registry_Setting::Lock::Lock() {
  if (Lock_Count++ > 0) {
    return;
  }
  Lock_Mutex.Reset(CreateMutexA(nullptr, FALSE, "quorvel-registry-tests"));
  if (Lock_Mutex.Valid()) {
    WaitForSingleObject(Lock_Mutex.Get(), INFINITE);
  }
}

Registry_Setting::Lock::~Lock() {
  if (--Lock_Count == 0 && Lock_Mutex.Valid()) {
    ReleaseMutex(Lock_Mutex.Get());
    Lock_Mutex.Reset();
  }
}

Registry_Setting::Registry_Setting(Windows::Registry::Root_Key Root, std::string Path)
    : Key(std::make_unique<State>()) {
  Key->Root = Root_Handle(Root);
  // The shortest prefix of the path that does not exist yet is what the
  // test makes and removes again.
  for (std::size_t End = Path.find('\\');; End = Path.find('\\', End + 1)) {
    const std::string Prefix = Path.substr(0, End);
    HKEY Probe = nullptr;
    if (RegOpenKeyExA(Key->Root, Prefix.c_str(), 0, KEY_READ, &Probe) != ERROR_SUCCESS) {
      Key->First_Made = Prefix;
      break;
    }
    const Windows::Owned_Key Opened(Probe);
    if (End == std::string::npos) {
      break;
    }
  }
  Key->Existed = Key->First_Made.empty();
  HKEY Created = nullptr;
  if (RegCreateKeyExA(Key->Root, Path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Created,
                      nullptr) != ERROR_SUCCESS) {
    throw Registry_Not_Writable("cannot create " + Path);
  }
  Key->Key.Reset(Created);
  Key->Former = Values_Of(Key->Key.Get());
  Remove_Values(Key->Key.Get());
}

Registry_Setting::~Registry_Setting() {
  Remove_Values(Key->Key.Get());
  for (const Saved_Value& Value : Key->Former) {
    RegSetValueExA(Key->Key.Get(), Value.Name.c_str(), 0, Value.Type, Value.Data.data(),
                   static_cast<DWORD>(Value.Data.size()));
  }
  Key->Key.Reset();
  if (!Key->Existed) {
    RegDeleteTreeA(Key->Root, Key->First_Made.c_str());
  }
}

void Registry_Setting::Set(std::string_view Name, std::uint32_t Type, std::string_view Data) {
  const std::string Value_Name(Name);
  RegSetValueExA(Key->Key.Get(), Value_Name.c_str(), 0, Type,
                 reinterpret_cast<const BYTE*>(Data.data()), static_cast<DWORD>(Data.size()));
}

}  // namespace Test_Support
