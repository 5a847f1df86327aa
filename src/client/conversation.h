// The two operations through which every message to the formatting server
// and every reply from it flows.
#pragma once

#include <string>
#include <string_view>

namespace Client {

class Conversation {
 public:
  virtual ~Conversation() = default;
  /// Traces "Write to Server=" & Message in the log, then sends it as one
  /// message.
  virtual void Write_To_Server(std::string_view Message) = 0;
  /// One reply of at most the configured reply size (possibly empty).
  virtual std::string Read_Reply() = 0;
};

}  // namespace Client
