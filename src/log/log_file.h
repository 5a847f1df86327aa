// The application log file: its settings come from the registry key
// "Software\Tallowmere\<product name>" (HKEY_CURRENT_USER first, then
// HKEY_LOCAL_MACHINE; values "Log" and "Log Limit"), every record carries
// the time of day and the writing thread, and a full file is moved aside to
// one previous file. All state sits in one guarded object whose lock covers
// the opening and every record.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "environment.h"
#include "files_io.h"
#include "path_style.h"

namespace Log {

/// Records one file holds when "Log Limit" is missing or not a REG_DWORD.
inline constexpr std::uint32_t Default_Limit = 100000;

/// The guarded log: every operation runs under its one lock.
class Guarded_Log {
 public:
  Guarded_Log() = default;
  Guarded_Log(const Guarded_Log&) = delete;
  Guarded_Log& operator=(const Guarded_Log&) = delete;

  /// Opens the log named in the registry key "Software\Tallowmere\" & Name
  /// and returns whether this call was the opening one (False when the log
  /// was already active: then it only takes up Auto_Flush and flushes).
  /// Any failure leaves the log inactive; nothing is reported. The registry
  /// position is restored afterwards.
  bool Open(std::string_view Name, bool Auto_Flush);

  /// Writes one record when the log is active, rotating first when the
  /// file holds its limit. Never throws: a failure switches the log off for
  /// the rest of the run.
  void Put(std::string_view Text) noexcept;

  bool Is_Active();

 private:
  void Open_Settings(std::string_view Name);
  void Rotate();

  std::mutex Lock;
  bool Active = false;
  bool Flush_Each = false;
  Windows::Files::IO::Handle Log_File;
  std::string File_Name;
  std::string Previous_File_Name;
  std::uint32_t Count = 0;
  std::uint32_t Limit = 0;
};

/// The program's one log.
extern Guarded_Log Logger;

/// Opens Logger from the registry and writes the header: the product name
/// and version, "Log created " with the date and time, and "DLL Loaded at
/// 0x" with the base address when the logging code lives in a shared
/// library. Installs Logger as the writer of Log::Write. Throws only
/// Windows::No_Module_Information, when the module holding this code
/// cannot be found.
void Start(bool Auto_Flush);

/// What the program prints when the module holding its code cannot be found.
inline constexpr std::string_view No_Module_Message =
    "Quorvel cannot start: the file holding its code was not found among the loaded modules";

/// The program's start: Starter (Start (False) by default), then Main, whose
/// status is returned. When Starter throws Windows::No_Module_Information,
/// No_Module_Message is printed and 1 returned without running Main.
int Start_And_Run(
    const std::function<int()>& Main, const std::function<void()>& Starter = [] { Start(false); });

/// The record line without its line end: one blank, the seconds since
/// midnight with four decimals, " (", the thread in upper-case hexadecimal
/// (at least four digits, as many as it needs), ") => ", the text.
std::string Record_Line(const Windows::System_Time& Time, std::uint32_t Thread,
                        std::string_view Text);

/// The previous file's path: "_2" before the last '.' of the file's own
/// name, or appended when that name has no '.'; a '.' in a folder name is
/// never used.
std::string Previous_Name(std::string_view File_Name, Windows::Path_Style Style);

}  // namespace Log
