// Environment queries over the C library: the local clock with milliseconds,
// the kernel's thread id, and the date and time written as Windows writes
// them for US English.
#include <pthread.h>
#include <sys/time.h>
#include <unistd.h>

#include <ctime>

#include "environment.h"

namespace Windows {

namespace {

bool Is_Leap(unsigned Year) {
  return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
}

unsigned Days_In_Month(unsigned Year, unsigned Month) {
  static constexpr unsigned Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return Month == 2 && Is_Leap(Year) ? 29 : Days[Month - 1];
}

// Windows refuses dates before 1601 and after 30827, and impossible days.
bool Is_Valid_Date(const System_Time& T) {
  return T.Year >= 1601 && T.Year <= 30827 && T.Month >= 1 && T.Month <= 12 && T.Day >= 1 &&
         T.Day <= Days_In_Month(T.Year, T.Month);
}

bool Is_Valid_Time(const System_Time& T) {
  return T.Hour < 24 && T.Minute < 60 && T.Second < 60 && T.Milliseconds < 1000;
}

std::string Two_Digits(unsigned Value) {
  return {static_cast<char>('0' + Value / 10 % 10), static_cast<char>('0' + Value % 10)};
}

}  // namespace

System_Time Local_Time() {
  timeval Now{};
  ::gettimeofday(&Now, nullptr);
  std::tm Local{};
  const std::time_t Seconds = Now.tv_sec;
  ::localtime_r(&Seconds, &Local);
  const auto Field = [](long Value) { return static_cast<std::uint16_t>(Value); };
  return {Field(Local.tm_year + 1900L), Field(Local.tm_mon + 1L), Field(Local.tm_wday),
          Field(Local.tm_mday),         Field(Local.tm_hour),     Field(Local.tm_min),
          Field(Local.tm_sec),          Field(Now.tv_usec / 1000)};
}

std::string Date_Image(const System_Time& T) {
  if (!Is_Valid_Date(T)) {
    return "";
  }
  return std::to_string(T.Month) + '/' + std::to_string(T.Day) + '/' + std::to_string(T.Year);
}

std::string Time_Image(const System_Time& T) {
  if (!Is_Valid_Time(T)) {
    return "";
  }
  const unsigned Hour_12 = T.Hour % 12 == 0 ? 12u : T.Hour % 12u;
  return std::to_string(Hour_12) + ':' + Two_Digits(T.Minute) + ':' + Two_Digits(T.Second) +
         (T.Hour < 12 ? " AM" : " PM");
}

namespace {

// The kernel's id of the calling thread, asked once per thread: every log
// record wants it, and a system call each time was a good part of a
// record's cost. A child made by fork forgets the id of the thread that
// forked it.
thread_local std::uint32_t Own_Thread_Id = 0;

void Forget_Thread_Id() {
  Own_Thread_Id = 0;
}

}  // namespace

std::uint32_t Thread_Id() {
  if (Own_Thread_Id == 0) {
    static const int Registered = ::pthread_atfork(nullptr, nullptr, Forget_Thread_Id);
    static_cast<void>(Registered);
    Own_Thread_Id = static_cast<std::uint32_t>(::gettid());
  }
  return Own_Thread_Id;
}

}  // namespace Windows
