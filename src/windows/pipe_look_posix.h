// Looking for a message, awake, before sleeping on it: what keeps a
// conversation of one short message each way near the speed of the socket
// when the other end runs on another core.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Windows::Pipe::Posix {

/// How long a look lasts at most.
constexpr auto Look_Limit = std::chrono::microseconds(50);
/// The most reads that a look which held up the other end makes go
/// without looking.
constexpr std::uint32_t Most_Skips = 1024;

enum class Look {
  Already_There,  ///< the message was there at the first poll
  Came,           ///< it came while looking
  Ran_Out         ///< the look ran out
};

/// What the last looks of one pipe end taught.
struct Look_State {
  pid_t Other_End = 0;        ///< the process at the other end; 0 when unknown
  std::uint32_t Skips = 0;    ///< reads still to go without looking
  std::uint32_t Penalty = 0;  ///< what the next look that holds up the other end costs, halved
};

/// Whether the next read looks at all; counts a skipped read.
bool Should_Look(Look_State& State) noexcept;

/// The state after a look. A message that came resets the penalty; one
/// that was there at once tells nothing; a look that ran out while the
/// other end waited for this very core (Held_Up) doubles the penalty (1, 2,
/// 4 ... up to Most_Skips) and skips that many reads. One that ran out while
/// the other end was elsewhere cost only this process's time.
void Learn(Look_State& State, Look Result, bool Held_Up) noexcept;

/// Receives from Socket without waiting until it has something to take, for
/// at most Look_Limit: at most Count bytes into Into, their number in Got
/// (0 when nothing came, or when the socket has ended or failed, which the
/// receive that follows reports).
Look Look_For_Message(int Socket, char* Into, std::size_t Count, std::size_t& Got);

/// The processor that a process last ran on, from the text of its
/// /proc/<pid>/stat; -1 when the text does not tell.
int Last_Processor(std::string_view Stat);

/// Whether Process last ran on the processor this thread runs on; true
/// when either cannot be told.
bool Shares_This_Core(pid_t Process);

/// One read's look, when the state says to look, and what it teaches: the
/// bytes taken into Into (at most Count).
std::size_t Look_Again(Look_State& State, int Socket, char* Into, std::size_t Count);

}  // namespace Windows::Pipe::Posix
