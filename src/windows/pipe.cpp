// The portable half of Windows::Pipe: names, time limits and the table that
// turns a Windows error code into its exception.
#include "pipe.h"

#include <cmath>

#include "log.h"

namespace Windows::Pipe {

std::string Full_Pipe_Name(std::string_view Name) {
  return "\\\\.\\pipe\\" + std::string(Name);
}

void Raise_Error(std::uint32_t Code) {
  switch (Code) {
    case 2: throw No_Server();
    case 5: throw Access_Denied();
    case 109: throw Broken();
    case 123: throw Invalid_Name();
    case 230: throw Bad_Pipe();
    case 231: throw Name_In_Use();
    case 232: throw No_Data();
    case 233: throw No_Server();
    case 234: throw More_Data();
    case 0:
      Log::Write("Windows.Pipe - No Error");
      throw Broken();
    default:
      Log::Write("Windows.Pipe - Unknown_Error: " + std::to_string(Code));
      throw Unknown_Error();
  }
}

std::uint32_t Milliseconds(double Seconds) {
  constexpr std::uint32_t Infinite = 0xFFFFFFFFu;
  if (Seconds == 0.0) {
    return Infinite;
  }
  const double Rounded = std::floor(Seconds * 1000.0 + 0.5);
  if (!(Seconds * 1000.0 + 0.5 > 0.0) || Rounded >= 4294967296.0) {
    throw Constraint_Error("range check failed");
  }
  return static_cast<std::uint32_t>(Rounded);
}

}  // namespace Windows::Pipe
