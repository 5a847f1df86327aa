// The connection to the formatting server: configuration, server start,
// settings, and the two operations every message goes through.
#include "connection.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <sstream>
#include <thread>

#include "console.h"
#include "files.h"
#include "ini.h"
#include "log.h"
#include "module.h"
#include "path_style.h"
#include "process.h"
#include "protocol.h"
#include "text.h"

namespace Client {

namespace {

using Windows::Console::Put_Line;

constexpr int Connect_Attempts = 4;
constexpr auto First_Wait = std::chrono::milliseconds(100);
constexpr auto Retry_Wait = std::chrono::seconds(1);

// Only a plain file of at most 1 MiB is read as a configuration: a FIFO
// would hang the run and a device such as /dev/zero would never end.
bool May_Be_Configuration(const std::string& Path) {
  constexpr std::uint64_t Largest = 1u << 20;
  try {
    return Windows::Files::Is_Regular_File(Path) &&
           Windows::Files::Get_Attributes(Path).Size <= Largest;
  } catch (const Windows::Files::File_Not_Found&) {
    return false;  // gone between the two questions
  }
}

// The reply limit of the connections made from now on.
std::atomic<double> Limit_In_Force{Reply_Limit};

// The client section of one configuration file.
struct Client_Section {
  explicit Client_Section(const std::string& File) : Path(File) {}
  std::string Value(const char* Key) const { return Windows::Ini_Get(Key, "Quv_Client", Path); }
  const std::string& Path;
};

// Whether the server this run started, ended before this run reached it,
// shows that another run holds the pipe, or held it until a moment ago (the
// statuses of docs/formatting-server.md): it found the name in use, or it
// served that run (which closed, left, or went silent). Two runs that start
// a server at once race for the pipe; the one that loses must say so even
// when the winner's server has gone by the time it looks again.
bool Held_By_Another_Run(std::optional<int> Status) {
  return Status == 0 || Status == 2 || Status == 3 || Status == Windows::Pipe::Busy_Status;
}

}  // namespace

void Set_Reply_Limit(double Seconds) noexcept {
  Limit_In_Force = Seconds;
}

Connection::Connection() : Limit(Limit_In_Force) {}

void Connection::Configure(const std::string& Name, std::string& Configuration_File) {
  // A name with a folder part is used as given (by the same rule as the
  // server's for a source); a bare name is looked for beside the program first.
  if (!Windows::Has_Folder(Name, Windows::Native_Style)) {
    const std::string Candidate = Windows::Module_Directory() + Name;
    if (Windows::Files::Exists(Candidate)) {
      Load_Configuration(Candidate, Configuration_File);
      return;
    }
  }
  Load_Configuration(Name, Configuration_File);
}

void Connection::Load_Configuration(const std::string& Path, std::string& Configuration_File) {
  if (!May_Be_Configuration(Path)) {
    return;
  }
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
    // After the five others, and only when present: a configuration
    // without it sends a server what it always sent.
    Send_Setting(Protocol::Letter::Width, Section.Value("Width"));
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
  if (const std::optional<std::size_t> Length = Windows::Pipe::Length_Value(Pipelength)) {
    Reply_Size = *Length;
  }
  try {
    Open_Pipe(Pipename);
    return;
  } catch (const Windows::Pipe::No_Server&) {
  }
  // The length in force, not the text: the server must never answer with
  // more than this connection reads.
  Windows::Started_Program Started = Start_Server(
      Server, Pipelength.empty() ? Pipename : Pipename + " " + std::to_string(Reply_Size));
  std::this_thread::sleep_for(First_Wait);
  for (int Attempt = 1; Attempt <= Connect_Attempts; ++Attempt) {
    try {
      Open_Pipe(Pipename);
      return;
    } catch (const Windows::Pipe::No_Server&) {
      if (Held_By_Another_Run(Started.Exit_Status())) {
        throw Windows::Pipe::Name_In_Use();
      }
      std::this_thread::sleep_for(Retry_Wait);
    }
  }
  if (Held_By_Another_Run(Started.Exit_Status())) {
    throw Windows::Pipe::Name_In_Use();
  }
}

void Connection::Open_Pipe(const std::string& Pipename) {
  Windows::Pipe::Handle Opened;
  Windows::Pipe::Open(Opened, Pipename, false, Windows::Pipe::Direction::Duplex, Reply_Size);
  Server_Pipe = std::move(Opened);
  // Not filled: a Pipelength in the millions costs no memory until used.
  Reply_Buffer.reset(new char[Reply_Size]);
}

Windows::Started_Program Connection::Start_Server(const std::string& Server,
                                                  const std::string& Arguments) {
  if (Server.empty()) {
    throw Not_Configured("Server not specified in configuration file");
  }
  if (!Windows::Files::Exists(Server)) {
    throw Not_Configured("Specified server not found");
  }
  return Windows::Create_Process(Server, Arguments, "", "", 0, 0, 0, false);
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
  try {
    const std::size_t Count = Windows::Pipe::Read_Within(Server_Pipe, Reply_Buffer.get(), Limit);
    return std::string(Reply_Buffer.get(), Count);
  } catch (const Windows::Pipe::Timeout&) {
    std::ostringstream Line;
    Line << "The formatting server did not answer in " << Limit << " s";
    throw No_Answer(Line.str());
  }
}

}  // namespace Client
