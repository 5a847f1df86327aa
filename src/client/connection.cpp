// The connection to the formatting server.
#include "connection.h"

#include <vector>

#include "log.h"

namespace Client {

void Connection::Configure(const std::string& Name, std::string& Configuration_File) {
  Load_Configuration(Name, Configuration_File);
}

void Connection::Load_Configuration(const std::string&, std::string&) {
  // Reading configuration files comes with the configuration reader.
}

void Connection::Write_To_Server(std::string_view Message) {
  Log::Write("Write to Server=" + std::string(Message));
  if (!Server_Pipe) {
    throw Windows::Pipe::No_Handle();
  }
  Windows::Pipe::Write(Server_Pipe, Message.data(), Message.size());
}

std::string Connection::Read_Reply() {
  if (!Server_Pipe) {
    throw Windows::Pipe::No_Handle();
  }
  std::vector<char> Buffer(Reply_Size);
  const std::size_t Count = Windows::Pipe::Read(Server_Pipe, Buffer.data());
  return std::string(Buffer.data(), Count);
}

}  // namespace Client
