// The connection to the formatting server: reads the client section of a
// configuration file, finds the server's pipe or starts the server and
// waits for it, sends the settings, and carries every later message.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "conversation.h"
#include "pipe.h"
#include "process.h"
#include "protocol.h"

namespace Client {

/// How long a reply may take to come whole, in seconds: after that the
/// server is taken for hung and the run ends.
inline constexpr double Reply_Limit = 60.0;

/// Sets the reply limit of every connection made from now on (Reply_Limit
/// until then): tests shorten it so that none waits a minute.
void Set_Reply_Limit(double Seconds) noexcept;

/// A reply did not come whole within the limit; what() is the line shown
/// to the user ("The formatting server did not answer in 60 s").
QUORVEL_NAMED_ERROR(No_Answer, Named_Error, "CLIENT.NO_ANSWER");

class Connection final : public Conversation {
 public:
  Connection();

  /// Loads the configuration Name: a name without a folder is tried beside
  /// the program first. When the file holds client settings,
  /// Configuration_File receives its path (and the server is connected, or
  /// why not has been printed); otherwise nothing changes.
  void Configure(const std::string& Name, std::string& Configuration_File);

  void Write_To_Server(std::string_view Message) override;
  std::string Read_Reply() override;

  std::size_t Pipe_Length() const noexcept { return Reply_Size; }

 private:
  /// A configuration that names no way to the server; what() is the line
  /// shown to the user.
  QUORVEL_NAMED_ERROR(Not_Configured, Named_Error, "CLIENT.NOT_CONFIGURED");

  void Load_Configuration(const std::string& Path, std::string& Configuration_File);
  void Connect(const std::string& Pipename, const std::string& Pipelength,
               const std::string& Server);
  void Open_Pipe(const std::string& Pipename);
  Windows::Started_Program Start_Server(const std::string& Server, const std::string& Arguments);
  void Send_Setting(char Code, const std::string& Value);
  bool Show_Reply();

  Windows::Pipe::Handle Server_Pipe;
  std::size_t Reply_Size = Protocol::Default_Reply_Size;
  double Limit;                          ///< the reply limit in force when the connection was made
  std::unique_ptr<char[]> Reply_Buffer;  ///< Reply_Size bytes once a reply is read
  std::string Trace;                     ///< the trace record of the message being sent
};

}  // namespace Client
