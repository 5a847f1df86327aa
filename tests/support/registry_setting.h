// Registry keys written by tests. Each one takes a key below a root for the
// time of a test: the key starts without values, the test sets the values
// it needs, and the key's former state comes back when the object ends. On
// POSIX the user root is a scratch file that XDG_CONFIG_HOME names while any
// setting lives (the programs a test starts inherit it), never the user's
// own; on Windows it is the registry itself (Wine's prefix). While
// any exists, this process holds a lock that every test process takes, so
// that test runs side by side never see each other's settings in the roots
// they share.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "registry.h"

namespace Test_Support {

/// The root cannot be written here (on POSIX the machine file needs the
/// right to write /etc/registry).
struct Registry_Not_Writable : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Registry_Setting {
 public:
  /// Throws Registry_Not_Writable.
  Registry_Setting(Windows::Registry::Root_Key Root, std::string Path);
  ~Registry_Setting();
  Registry_Setting(const Registry_Setting&) = delete;
  Registry_Setting& operator=(const Registry_Setting&) = delete;

  /// Data as a program would hand it to the registry: 8-bit text for the
  /// string types, little-endian numbers.
  void Set(std::string_view Name, std::uint32_t Type, std::string_view Data);
  void Set_String(std::string_view Name, std::string_view Text);
  void Set_Dword(std::string_view Name, std::uint32_t Value);

  /// Test programs run side by side may change the registry only inside
  /// this lock (held by every Registry_Setting; nested holds are counted).
  class Lock {
   public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
  };

 private:
  struct State;
  Lock Held;
  std::unique_ptr<State> Key;
};

/// Name used for the key "Software\Tallowmere\<Name>" of one test: unique.
std::string Unique_Product_Name();

}  // namespace Test_Support
