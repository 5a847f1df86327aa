// The formatting engine as the formatting server's session sees it: a
// source text and the settings in force in, the token stream or the
// source's errors out. The program hands the session the real engine (the
// Formatter library); tests hand it a stand-in whose answers they know.
#pragma once

#include <string_view>

#include "formatter.h"

namespace Server {

class Formatting_Engine {
 public:
  virtual ~Formatting_Engine() = default;
  /// As Formatter::Format: the tokens' texts lie in Source or in the
  /// result's Laid_Out. May throw; the session answers any exception as a
  /// formatter failure and std::bad_alloc as a file too large to format.
  virtual Formatter::Result Format(std::string_view Source, const Formatter::Settings& Options) = 0;
};

}  // namespace Server
