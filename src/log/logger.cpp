// The guarded log: opening from the registry, records, the limit and the
// rotation, all under one lock.

#include "files.h"
#include "log_file.h"
#include "registry.h"
#include "text.h"

namespace Log {

namespace IO = Windows::Files::IO;
namespace Registry = Windows::Registry;

namespace {

// Reads "Log" from the key below the given root; false when there is none.
bool Read_Log_Value(Registry::Root_Key Root, const std::string& Key, std::string& File_Name) {
  try {
    Registry::Set_Root(Root);
    Registry::Open_Key(Key);
    File_Name = Registry::Get_String("Log");
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

bool Guarded_Log::Open(std::string_view Name, bool Auto_Flush) {
  const std::lock_guard<std::mutex> Guard(Lock);
  Flush_Each = Flush_Each || Auto_Flush;
  if (Active) {
    if (Auto_Flush) {
      try {
        IO::Flush(Log_File);
      } catch (...) {
        Active = false;
      }
    }
    return false;
  }
  Registry::Root_Key Saved_Root = Registry::Root_Key::User;
  std::u16string Saved_Key;
  try {
    Saved_Root = Registry::Get_Root();
    Saved_Key = Registry::Current_Key_Name();
  } catch (...) {
    return true;
  }
  Open_Settings(Name);
  try {
    Registry::Set_Root(Saved_Root);
    Registry::Open_Key(Saved_Key);
  } catch (...) {
    // The position could not be restored; the log itself is settled.
  }
  return true;
}

// Finds the settings, creates the file, reads the limit and deletes the
// previous file; the registry position is left on the key found.
void Guarded_Log::Open_Settings(std::string_view Name) {
  const std::string Key = "Software\\Tallowmere\\" + std::string(Name);
  if (!Read_Log_Value(Registry::Root_Key::User, Key, File_Name) &&
      !Read_Log_Value(Registry::Root_Key::Machine, Key, File_Name)) {
    return;
  }
  try {
    Log_File = IO::Create(File_Name, false, true);
    Active = true;
  } catch (...) {
    Active = false;
  }
  Count = 0;
  try {
    Limit = Registry::Get_Integer("Log Limit");
  } catch (...) {
    Limit = Default_Limit;
  }
  if (Limit != 0) {
    try {
      Previous_File_Name = Previous_Name(File_Name, Windows::Native_Style);
      Windows::Files::Delete(Previous_File_Name);
    } catch (...) {
      // A previous file that cannot be deleted is replaced at the first rotation.
    }
  }
}

void Guarded_Log::Rotate() {
  IO::Close(Log_File);
  Windows::Files::Move(File_Name, Previous_File_Name);
  Log_File = IO::Create(File_Name, false, true);
  IO::Put_Line("The log file reached it's maximum size of" + Text::Image(Limit) + " records",
               Log_File);
  IO::Put_Line("These records are now stored in the file " + Previous_File_Name, Log_File);
  Count = 2;
}

void Guarded_Log::Put(std::string_view Text) noexcept {
  const std::lock_guard<std::mutex> Guard(Lock);
  if (!Active) {
    return;
  }
  try {
    if (Limit != 0 && Count >= Limit) {
      Rotate();
    }
    IO::Put_Line(Record_Line(Windows::Local_Time(), Windows::Thread_Id(), Text), Log_File);
    if (Flush_Each) {
      IO::Flush(Log_File);
    }
    ++Count;
  } catch (...) {
    Active = false;
  }
}

bool Guarded_Log::Is_Active() {
  const std::lock_guard<std::mutex> Guard(Lock);
  return Active;
}

}  // namespace Log
