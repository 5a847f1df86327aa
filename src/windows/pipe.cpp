// The portable half of Windows::Pipe: the checks every operation makes, names,
// time limits and the table that turns a Windows error code into its
// exception.
#include "pipe.h"

#include <cmath>

#include "error_codes.h"
#include "log.h"
#include "pipe_backend.h"
#include "text.h"

namespace Windows::Pipe {

namespace {

void Check_Handle(const Handle& Pipe) {
  if (!Pipe) {
    throw No_Handle();
  }
}

void Check_Server(const Handle& Pipe) {
  Check_Handle(Pipe);
  if (!Is_Server(*Pipe)) {
    throw Not_Server();
  }
}

}  // namespace

std::string Full_Pipe_Name(std::string_view Name) {
  return "\\\\.\\pipe\\" + std::string(Name);
}

void Raise_Error(std::uint32_t Code) {
  switch (Code) {
    case Error_File_Not_Found:
      throw No_Server();
    case Error_Access_Denied:
      throw Access_Denied();
    case Error_Broken_Pipe:
      throw Broken();
    case Error_Invalid_Name:
      throw Invalid_Name();
    case Error_Bad_Pipe:
      throw Bad_Pipe();
    case Error_Pipe_Busy:
      throw Name_In_Use();
    case Error_No_Data:
      throw No_Data();
    case Error_Pipe_Not_Connected:
      throw No_Server();
    case Error_More_Data:
      throw More_Data();
    case Error_Success:
      Log::Write("Windows.Pipe - No Error");
      throw Broken();
    default:
      Log::Write("Windows.Pipe - Unknown_Error: " + std::to_string(Code));
      throw Unknown_Error();
  }
}

std::optional<std::size_t> Length_Value(std::string_view Text) {
  const std::optional<long long> Value = Text::Integer_Value(Text);
  if (!Value || *Value < 1 || static_cast<unsigned long long>(*Value) > Longest_Length) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(*Value);
}

std::uint32_t Milliseconds(double Seconds) {
  if (Seconds == 0.0) {
    return Infinite;
  }
  const double Rounded = std::floor(Seconds * 1000.0 + 0.5);
  if (!(Seconds * 1000.0 + 0.5 > 0.0) || Rounded >= 4294967296.0) {
    throw Constraint_Error("range check failed");
  }
  return static_cast<std::uint32_t>(Rounded);
}

Settings Settings_For(std::string_view Name, bool Is_Server, Direction Flow,
                      std::size_t Buffer_Length, double Timeout) {
  if (!Is_Server && Timeout != 0.0) {
    throw Not_Server();
  }
  if (Name.empty()) {
    throw Constraint_Error("pipe name is empty");
  }
  Settings Wanted{std::string(Name), Is_Server, Flow, Buffer_Length, Infinite};
  if (Is_Server) {
    Wanted.Timeout_Ms = Milliseconds(Timeout);
  }
  return Wanted;
}

void Open(Handle& Pipe, std::string_view Name, bool Is_Server, Direction Flow,
          std::size_t Buffer_Length, double Timeout) {
  Close(Pipe);
  Pipe = Make(Settings_For(Name, Is_Server, Flow, Buffer_Length, Timeout));
}

void Close(Handle& Pipe) noexcept {
  Pipe.reset();
}

void Listen_Again(const Handle& Pipe) {
  Check_Server(Pipe);
  Listen_For_Next(*Pipe);
}

void Wait_For_Client(const Handle& Pipe, double Timeout) {
  Check_Server(Pipe);
  Wait_For_Next(*Pipe, Milliseconds(Timeout));
}

std::size_t Read(const Handle& Pipe, char* Buffer, double Timeout) {
  Check_Handle(Pipe);
  if (!Is_Server(*Pipe)) {
    if (Timeout != 0.0) {
      throw Not_Server();
    }
    return Read_Message(*Pipe, Buffer, Infinite);
  }
  return Read_Message(*Pipe, Buffer, Milliseconds(Timeout));
}

std::size_t Read_Within(const Handle& Pipe, char* Buffer, double Limit) {
  Check_Handle(Pipe);
  if (!(Limit > 0.0)) {
    throw Constraint_Error("a read's limit must be above 0");
  }
  return Read_Message(*Pipe, Buffer, Milliseconds(Limit));
}

void Write(const Handle& Pipe, const char* Buffer, std::size_t Length) {
  Check_Handle(Pipe);
  Write_Message(*Pipe, Buffer, Length);
}

}  // namespace Windows::Pipe
