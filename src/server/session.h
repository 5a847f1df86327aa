// Server::Session: the formatting server's side of the conversation, one
// client message in, the list of reply messages out. No pipe: the program
// around it carries the messages.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formatter.h"
#include "formatting_engine.h"
#include "protocol.h"
#include "settings.h"

namespace Server {

/// The style name that answers a file that was formatted.
inline constexpr std::string_view Style_Name = "Standard";

/// The longest client message looked at: a longer one is refused as too
/// long (the program keeps only this many bytes and one more).
inline constexpr std::size_t Longest_Message = 65536;

class Session {
 public:
  /// Engine formats each file opened (it must outlive the session).
  /// Pipe_Length: the longest reply the client reads (at least 1); no reply
  /// is ever longer.
  explicit Session(Formatting_Engine& Engine,
                   std::size_t Pipe_Length = Protocol::Default_Reply_Size);

  // The tokens' texts lie in the open file's text, which a copy or a move
  // could put elsewhere.
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  /// The replies to Message, in order:
  ///  - "X", "P", "U", "E", "T" & value: one line (what is in force, or why
  ///    the value was refused), then ".";
  ///  - "O" & name: one "<" & name:line:column: message line per error (at
  ///    most the Errors setting) or the style name, then ".";
  ///  - "N": the next token "kind,column,text", or "0" at the end of the
  ///    file and while no file is open;
  ///  - "C": none, and Finished becomes true;
  ///  - anything else (empty too): one line saying so, then ".".
  /// A line longer than Pipe_Length is cut to it. Never throws, except
  /// std::bad_alloc when memory runs out.
  std::vector<std::string> Answer(std::string_view Message);

  /// The reply to "N" (as Answer gives it) in Reply, whose storage is
  /// reused: one per token, so the program's loop asks for it this way.
  void Next_Token(std::string& Reply);

  /// "C" has been received: the conversation is over.
  bool Finished() const noexcept { return Ended; }

  /// Seconds of client silence after which the server ends; 0 = none.
  double Idle_Limit() const noexcept { return Now.Timeout_Ms / 1000.0; }

  const Settings& Current() const noexcept { return Now; }

 private:
  std::vector<std::string> Open(std::string_view Name, bool Too_Long);
  std::vector<std::string> Formatted(const std::string& Name);
  std::vector<std::string> Lines_Then_End(std::vector<std::string> Lines) const;
  void Close_File() noexcept;

  Formatting_Engine& Formatting;  ///< formats each file opened
  std::size_t Reply_Limit;
  Settings Now;
  std::string Text;  ///< of the open file: its tokens' texts lie in it
  std::vector<std::shared_ptr<const std::string>> Laid_Out;  ///< or here (see Formatter::Result)
  std::vector<Formatter::Token> Tokens;                      ///< of the open file
  std::size_t Next = 0;                                      ///< index of the next token to send
  bool Ended = false;
};

/// The token reply "kind,column,text" (decimal numbers, no blanks) in
/// Reply, whose storage is reused.
void Token_Reply(const Formatter::Token& Token, std::string& Reply);

}  // namespace Server
