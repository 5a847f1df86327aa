// The connection to the formatting server: configuration, server start,
// settings, and the two operations every message goes through.
#include "connection.h"

#include <chrono>
#include <thread>

#include "console.h"
#include "files.h"
#include "ini.h"
#include "log.h"
#include "module.h"
#include "process.h"
#include "protocol.h"
#include "text.h"

namespace Client {

namespace {

using Windows::Console::Put_Line;

constexpr int Connect_Attempts = 4;
constexpr auto First_Wait = std::chrono::milliseconds(100);
constexpr auto Retry_Wait = std::chrono::seconds(1);

// A name with a folder part is used as given; a bare name is looked for
// beside the program first.
bool Has_Folder_Part(const std::string& Name) {
  if (Windows::Native_Style == Windows::Path_Style::Windows) {
    return Name.find_first_of("\\:") != std::string::npos;
  }
  return Name.find('/') != std::string::npos;
}

// The client section of one configuration file.
struct Client_Section {
  explicit Client_Section(const std::string& File) : Path(File) {}
  std::string Value(const char* Key) const { return Windows::Ini_Get(Key, "Quv_Client", Path); }
  const std::string& Path;
};

}  // namespace

void Connection::Configure(const std::string& Name, std::string& Configuration_File) {
  if (!Has_Folder_Part(Name)) {
    const std::string Candidate = Windows::Module_Directory() + Name;
    if (Windows::Files::Exists(Candidate)) {
      Load_Configuration(Candidate, Configuration_File);
      return;
    }
  }
  Load_Configuration(Name, Configuration_File);
}

void Connection::Load_Configuration(const std::string& Path, std::string& Configuration_File) {
  const Client_Section Section(Path);
  const std::string Pipename = Section.Value("Pipename");
  const std::string Pipelength = Section.Value("Pipelength");
  const std::string Server = Section.Value("Server");
  if (Pipename.empty() && Pipelength.empty() && Server.empty()) {
    return;
  }
  Configuration_File = Path;
  try {
    Connect(Pipename, Pipelength, Server);
    Send_Setting(Protocol::Letter::Compiler, Section.Value("Compiler"));
    Send_Setting(Protocol::Letter::Path, Section.Value("Path"));
    Send_Setting(Protocol::Letter::Units, Section.Value("Units"));
    Send_Setting(Protocol::Letter::Errors, Section.Value("Errors"));
    Send_Setting(Protocol::Letter::Timeout, Section.Value("Timeout"));
  } catch (const Not_Configured& Reason) {
    Put_Line(Reason.what());
  } catch (const Windows::Process_Creation_Failure&) {
    Put_Line("Could not start server");
  } catch (const Windows::Pipe::Invalid_Name&) {
    Put_Line("Invalid Pipename specified in configuration file");
  } catch (const Windows::Pipe::No_Handle&) {
    Put_Line("Cannot communicate with server");
  }
}

void Connection::Connect(const std::string& Pipename, const std::string& Pipelength,
                         const std::string& Server) {
  if (Pipename.empty()) {
    throw Not_Configured("Pipename not specified in configuration file");
  }
  const std::optional<long long> Length = Text::Integer_Value(Pipelength);
  if (Length && *Length >= 1) {
    Reply_Size = static_cast<std::size_t>(*Length);
  }
  try {
    Open_Pipe(Pipename);
    return;
  } catch (const Windows::Pipe::No_Server&) {
  }
  Start_Server(Server, Pipelength.empty() ? Pipename : Pipename + " " + Pipelength);
  std::this_thread::sleep_for(First_Wait);
  for (int Attempt = 1; Attempt <= Connect_Attempts; ++Attempt) {
    try {
      Open_Pipe(Pipename);
      return;
    } catch (const Windows::Pipe::No_Server&) {
      std::this_thread::sleep_for(Retry_Wait);
    }
  }
}

void Connection::Open_Pipe(const std::string& Pipename) {
  Windows::Pipe::Handle Opened;
  Windows::Pipe::Open(Opened, Pipename, false, Windows::Pipe::Direction::Duplex, Reply_Size);
  Server_Pipe = std::move(Opened);
}

void Connection::Start_Server(const std::string& Server, const std::string& Arguments) {
  if (Server.empty()) {
    throw Not_Configured("Server not specified in configuration file");
  }
  if (!Windows::Files::Exists(Server)) {
    throw Not_Configured("Specified server not found");
  }
  Windows::Create_Process(Server, Arguments, "", "", 0, 0, 0, false);
}

void Connection::Send_Setting(char Code, const std::string& Value) {
  if (Value.empty()) {
    return;
  }
  Write_To_Server(std::string(1, Code) + Value);
  while (Show_Reply()) {
  }
}

bool Connection::Show_Reply() {
  const std::string Reply = Read_Reply();
  if (!Reply.empty()) {
    Log::Write("Reply from Server=" + Reply);
    if (Reply == Protocol::End_Mark) {
      return false;
    }
    Put_Line(Reply);
  }
  Windows::Console::Flush();
  return true;
}

void Connection::Write_To_Server(std::string_view Message) {
  // One request per token: the trace's text reuses its storage.
  Trace.assign("Write to Server=").append(Message);
  Log::Write(Trace);
  if (!Server_Pipe) {
    throw Windows::Pipe::No_Handle();
  }
  Windows::Pipe::Write(Server_Pipe, Message.data(), Message.size());
}

std::string Connection::Read_Reply() {
  if (!Server_Pipe) {
    throw Windows::Pipe::No_Handle();
  }
  Reply_Buffer.resize(Reply_Size);
  const std::size_t Count = Windows::Pipe::Read(Server_Pipe, Reply_Buffer.data());
  return std::string(Reply_Buffer.data(), Count);
}

}  // namespace Client
