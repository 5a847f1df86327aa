// The start of the log: the product name that keys its settings, the
// header records, and the program start around it.
#include "console.h"
#include "log.h"
#include "log_file.h"
#include "module.h"
#include "unsigned.h"
#include "version.h"

namespace Log {

Guarded_Log Logger;

namespace {

void Put_To_Logger(std::string_view Text) {
  Logger.Put(Text);
}

// Removes the writer before Logger ends (objects of one file end in the
// reverse order of their definitions).
struct Writer_Removal {
  Writer_Removal() = default;
  Writer_Removal(const Writer_Removal&) = delete;
  Writer_Removal& operator=(const Writer_Removal&) = delete;
  ~Writer_Removal() { Install_Writer(nullptr); }
} Removal;

void Write_Version_Record(const std::string& Name) {
  try {
    Logger.Put(Name + " version " + Windows::Version::Product_Version());
  } catch (...) {
    // No readable version: the header goes on without this record.
  }
}

void Write_Created_Records(const Windows::Module_Entry& Own) {
  try {
    Logger.Put("Log created " + Windows::Date_Time_Image(Windows::Local_Time()));
    if (Windows::Is_DLL(Own.Handle)) {
      Logger.Put("DLL Loaded at 0x" + Unsigned::Hex_Image_Wide(Own.Base_Address, 8));
    }
  } catch (...) {
    // The header ends here; the log itself stays as it is.
  }
}

}  // namespace

void Start(bool Auto_Flush) {
  const Windows::Module_Entry Own =
      Windows::Module_Containing(reinterpret_cast<std::uintptr_t>(&Start));
  Install_Writer(Put_To_Logger);
  std::string Name;
  bool Has_Version_Info = true;
  try {
    Name = Windows::Version::Product_Name();
  } catch (const Windows::Version::No_Version_Info&) {
    Name = Windows::Module_Name(Own);
    Has_Version_Info = false;
  } catch (const Windows::No_Module_Information&) {
    throw;
  } catch (...) {
    return;
  }
  const bool Created = Logger.Open(Name, Auto_Flush);
  if (!Created) {
    return;
  }
  if (Has_Version_Info) {
    Write_Version_Record(Name);
  }
  Write_Created_Records(Own);
}

int Start_And_Run(const std::function<int()>& Main, const std::function<void()>& Starter) {
  try {
    Starter();
  } catch (const Windows::No_Module_Information&) {
    Windows::Console::Put_Line(No_Module_Message);
    return 1;
  }
  return Main();
}

}  // namespace Log
