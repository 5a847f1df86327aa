// What every fuzz target shares: the input as text, splitting it, and the
// check that aborts (so that libFuzzer keeps the input) when an invariant
// breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace Fuzz {

/// Aborts with What on standard error unless Holds.
inline void Check(bool Holds, const char* What) {
  if (!Holds) {
    std::fprintf(stderr, "broken invariant: %s\n", What);
    std::abort();
  }
}

/// The fuzzer's bytes as 8-bit text.
inline std::string_view Bytes(const std::uint8_t* Data, std::size_t Size) {
  return Size == 0 ? std::string_view()
                   : std::string_view(reinterpret_cast<const char*>(Data), Size);
}

/// The text of Rest up to the first Stop (all of it when there is none);
/// Rest keeps what follows that Stop.
inline std::string_view Take_Until(std::string_view& Rest, char Stop) {
  const std::size_t End = Rest.find(Stop);
  const std::string_view Head = Rest.substr(0, End);
  Rest.remove_prefix(End == std::string_view::npos ? Rest.size() : End + 1);
  return Head;
}

}  // namespace Fuzz
