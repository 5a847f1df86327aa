// Environment queries through GetLocalTime, GetDateFormatA, GetTimeFormatA
// and GetCurrentThreadId.
#include "environment.h"
#include "win32_api.h"

namespace Windows {

namespace {

constexpr LCID User_Default_Locale = 0x400;
constexpr int Image_Buffer = 50;

SYSTEMTIME To_Record(const System_Time& T) {
  SYSTEMTIME Record{};
  Record.wYear = T.Year;
  Record.wMonth = T.Month;
  Record.wDayOfWeek = T.Day_Of_Week;
  Record.wDay = T.Day;
  Record.wHour = T.Hour;
  Record.wMinute = T.Minute;
  Record.wSecond = T.Second;
  Record.wMilliseconds = T.Milliseconds;
  return Record;
}

// The count returned includes the NUL; 0 means the call failed.
std::string Used_Part(const char* Buffer, int Count) {
  return Count > 0 ? std::string(Buffer, static_cast<std::size_t>(Count - 1)) : std::string();
}

}  // namespace

System_Time Local_Time() {
  SYSTEMTIME Record{};
  GetLocalTime(&Record);
  return {Record.wYear, Record.wMonth,  Record.wDayOfWeek, Record.wDay,
          Record.wHour, Record.wMinute, Record.wSecond,    Record.wMilliseconds};
}

std::string Date_Image(const System_Time& T) {
  const SYSTEMTIME Record = To_Record(T);
  char Buffer[Image_Buffer];
  return Used_Part(Buffer,
                   GetDateFormatA(User_Default_Locale, 0, &Record, nullptr, Buffer, Image_Buffer));
}

std::string Time_Image(const System_Time& T) {
  const SYSTEMTIME Record = To_Record(T);
  char Buffer[Image_Buffer];
  return Used_Part(Buffer,
                   GetTimeFormatA(User_Default_Locale, 0, &Record, nullptr, Buffer, Image_Buffer));
}

std::uint32_t Thread_Id() {
  return GetCurrentThreadId();
}

}  // namespace Windows
