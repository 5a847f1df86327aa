// The quorvel-server program around the session.
#include "program.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "console.h"
#include "module.h"
#include "program_file.h"
#include "text.h"

namespace Server {

namespace {

namespace Pipe = Windows::Pipe;

constexpr std::string_view Wait_Option = "--wait=";
constexpr std::string_view Linger_Option = "--linger=";

// Every message is kept up to one byte past the longest one looked at, so
// that the session can tell a message that is too long.
void Keep(std::string& Message, const char* Bytes, std::size_t Count) {
  const std::size_t Room = Longest_Message + 1 - std::min(Message.size(), Longest_Message + 1);
  Message.append(Bytes, std::min(Count, Room));
}

std::string Receive(const Pipe::Handle& Connection, std::vector<char>& Buffer, double Timeout) {
  std::string Message;
  for (;;) {
    try {
      Keep(Message, Buffer.data(), Pipe::Read(Connection, Buffer.data(), Timeout));
      return Message;
    } catch (const Pipe::More_Data&) {
      Keep(Message, Buffer.data(), Buffer.size());
    }
  }
}

// The server end's buffers: at least the client's reply size for speed, at
// most 64 KiB however large a Pipelength the client asks for.
std::size_t Buffer_Length(std::size_t Pipe_Length) {
  return std::clamp<std::size_t>(Pipe_Length, Protocol::Default_Reply_Size, 65536);
}

// Opens the pipe and waits for the first client; prints why it failed and
// returns the exit status that says so (Connection stays null then).
int Open_Pipe(Pipe::Handle& Connection, const Command_Line& Line) {
  const std::string Prefix = "quorvel-server: pipe " + Line.Pipename;
  try {
    Pipe::Open(Connection, Line.Pipename, true, Pipe::Direction::Duplex,
               Buffer_Length(Line.Pipe_Length), Line.Wait_Ms / 1000.0);
  } catch (const Pipe::Timeout&) {
    Windows::Console::Put_Line(Prefix + ": no client connected in time");
  } catch (const Pipe::Name_In_Use&) {
    Windows::Console::Put_Line(Prefix + ": already in use");
    return Busy;
  } catch (const Pipe::Invalid_Name&) {
    Windows::Console::Put_Line(Prefix + ": not a valid pipe name");
  }
  return Failed;
}

// Every client starts from the default settings: its conversation has a
// session of its own, and the file it left open goes with it.
Ending Serve_Client(const Pipe::Handle& Connection, const Command_Line& Line,
                    Formatting_Engine& Engine) {
  Session Conversation(Engine, Line.Pipe_Length);
  return Serve(Connection, Conversation, Buffer_Length(Line.Pipe_Length));
}

int Status_Of(Ending End) {
  switch (End) {
    case Ending::Closed:
      return Closed;
    case Ending::Client_Gone:
      return Client_Gone;
    case Ending::Idle:
      return Idle;
  }
  return Failed;
}

// The program file is looked at this often while the server waits for its
// next client: one replaced meanwhile ends the server before a client meets
// its old code, but for a client that comes within this time.
constexpr double Look_Every_Seconds = 0.25;

enum class Waited { Client, Lingered, Replaced };

Waited Wait_For_Next_Client(const Pipe::Handle& Connection, std::uint32_t Linger_Ms,
                            const Program_File& Program) {
  using Clock = std::chrono::steady_clock;
  const auto Until = Clock::now() + std::chrono::milliseconds(Linger_Ms);
  for (;;) {
    if (Program.Replaced()) {
      return Waited::Replaced;
    }
    const double Left = std::chrono::duration<double>(Until - Clock::now()).count();
    if (Left <= 0) {
      return Waited::Lingered;
    }
    try {
      Pipe::Wait_For_Client(Connection, std::min(Left, Look_Every_Seconds));
      return Waited::Client;
    } catch (const Pipe::Timeout&) {
    }
  }
}

// The file that holds this program's code, when it can be named.
std::string Own_Program() {
  try {
    return Windows::First_Module(0).Exe_Path;
  } catch (const Windows::No_Module_Information&) {
    return "";
  }
}

// After each client the server gives back the memory its file took, and
// waits for the next one: at once, so that a client coming right after
// the last one finds the pipe free.
int Run(const Command_Line& Line, Formatting_Engine& Engine) {
  const Program_File Program(Own_Program());
  Pipe::Handle Connection;
  if (const int Status = Open_Pipe(Connection, Line); !Connection) {
    return Status;
  }
  for (;;) {
    const Ending End = Serve_Client(Connection, Line, Engine);
    if (End == Ending::Idle || Line.Linger_Ms == 0) {
      return Status_Of(End);
    }
    if (Program.Replaced()) {
      return Replaced;
    }
    Pipe::Listen_Again(Connection);
    Return_Free_Memory();
    switch (Wait_For_Next_Client(Connection, Line.Linger_Ms, Program)) {
      case Waited::Client:
        break;
      case Waited::Lingered:
        return Status_Of(End);
      case Waited::Replaced:
        return Replaced;
    }
  }
}

}  // namespace

std::optional<Command_Line> Read_Command_Line(const std::vector<std::string>& Arguments) {
  Command_Line Line;
  std::size_t First = 0;
  bool Wait_Given = false;
  bool Linger_Given = false;
  // An option given already, like any other word, is the pipename.
  for (; First < Arguments.size(); ++First) {
    const std::string& Word = Arguments[First];
    const bool Is_Wait = !Wait_Given && Word.starts_with(Wait_Option);
    const bool Is_Linger = !Linger_Given && Word.starts_with(Linger_Option);
    if (!Is_Wait && !Is_Linger) {
      break;
    }
    const std::optional<std::uint32_t> Seconds =
        Seconds_Value(Word.substr((Is_Wait ? Wait_Option : Linger_Option).size()));
    if (!Seconds) {
      return std::nullopt;
    }
    (Is_Wait ? Line.Wait_Ms : Line.Linger_Ms) = *Seconds;
    (Is_Wait ? Wait_Given : Linger_Given) = true;
  }
  if (Arguments.size() <= First || Arguments[First].empty()) {
    return std::nullopt;
  }
  Line.Pipename = Arguments[First];
  std::string Length_Text;
  for (std::size_t I = First + 1; I < Arguments.size(); ++I) {
    Length_Text += (I == First + 1 ? "" : " ") + Arguments[I];
  }
  if (const std::optional<std::size_t> Length = Pipe::Length_Value(Length_Text)) {
    Line.Pipe_Length = *Length;
  }
  return Line;
}

Ending Serve(const Pipe::Handle& Connection, Session& Conversation, std::size_t Buffer_Length) {
  std::vector<char> Buffer(Buffer_Length);
  std::string Token;
  try {
    while (!Conversation.Finished()) {
      const std::string Message = Receive(Connection, Buffer, Conversation.Idle_Limit());
      // One "N" per token: its reply reuses one string.
      if (Message == Protocol::Next_Message) {
        Conversation.Next_Token(Token);
        Pipe::Write(Connection, Token.data(), Token.size());
        continue;
      }
      for (const std::string& Reply : Conversation.Answer(Message)) {
        Pipe::Write(Connection, Reply.data(), Reply.size());
      }
    }
    return Ending::Closed;
  } catch (const Pipe::Timeout&) {
    return Ending::Idle;
  } catch (const Pipe::Broken&) {
    return Ending::Client_Gone;
  } catch (const Pipe::No_Data&) {
    return Ending::Client_Gone;
  } catch (const Pipe::No_Server&) {
    return Ending::Client_Gone;
  }
}

int Main(const std::vector<std::string>& Arguments, Formatting_Engine& Engine) noexcept {
  try {
    const std::optional<Command_Line> Line = Read_Command_Line(Arguments);
    if (!Line) {
      Windows::Console::Put_Line(
          "Usage: quorvel-server [--wait=<seconds>] [--linger=<seconds>] <Pipename> "
          "[<Pipelength>]");
      return Failed;
    }
    return Run(*Line, Engine);
  } catch (const Named_Error& Failure) {
    Windows::Console::Put_Line(std::string("quorvel-server: ") + Failure.name());
  } catch (const std::exception& Failure) {
    Windows::Console::Put_Line(std::string("quorvel-server: ") + Failure.what());
  } catch (...) {
    Windows::Console::Put_Line("quorvel-server: unexpected failure");
  }
  return Failed;
}

}  // namespace Server
