// The connection to the formatting server: reads the client section of a
// configuration file, finds the server's pipe or starts the server and
// waits for it, sends the settings, and carries every later message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "conversation.h"
#include "pipe.h"
#include "protocol.h"

namespace Client {

class Connection final : public Conversation {
public:
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
  void Start_Server(const std::string& Server, const std::string& Arguments);
  void Send_Setting(char Code, const std::string& Value);
  bool Show_Reply();

  Windows::Pipe::Handle Server_Pipe;
  std::size_t Reply_Size = Protocol::Default_Reply_Size;
  std::vector<char> Reply_Buffer;
  std::string Trace;  ///< the trace record of the message being sent
};

}  // namespace Client
