// The quorvel-server program around the session.
#include "program.h"

#include <algorithm>
#include <exception>

#include "console.h"
#include "text.h"

namespace Server {

namespace {

namespace Pipe = Windows::Pipe;

constexpr std::string_view Wait_Option = "--wait=";

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

int Run(const Command_Line& Line, Formatting_Engine& Engine) {
  Pipe::Handle Connection;
  const std::size_t Length = Buffer_Length(Line.Pipe_Length);
  const std::string Prefix = "quorvel-server: pipe " + Line.Pipename;
  try {
    Pipe::Open(Connection, Line.Pipename, true, Pipe::Direction::Duplex, Length,
               Line.Wait_Ms / 1000.0);
  } catch (const Pipe::Timeout&) {
    Windows::Console::Put_Line(Prefix + ": no client connected in time");
    return Failed;
  } catch (const Pipe::Name_In_Use&) {
    Windows::Console::Put_Line(Prefix + ": already in use");
    return Busy;
  } catch (const Pipe::Invalid_Name&) {
    Windows::Console::Put_Line(Prefix + ": not a valid pipe name");
    return Failed;
  }
  Session Conversation(Engine, Line.Pipe_Length);
  switch (Serve(Connection, Conversation, Length)) {
    case Ending::Closed:
      return Closed;
    case Ending::Client_Gone:
      return Client_Gone;
    case Ending::Idle:
      return Idle;
  }
  return Failed;
}

}  // namespace

std::optional<Command_Line> Read_Command_Line(const std::vector<std::string>& Arguments) {
  Command_Line Line;
  std::size_t First = 0;
  if (!Arguments.empty() && Arguments[0].starts_with(Wait_Option)) {
    const std::optional<std::uint32_t> Wait =
        Seconds_Value(Arguments[0].substr(Wait_Option.size()));
    if (!Wait) {
      return std::nullopt;
    }
    Line.Wait_Ms = *Wait;
    First = 1;
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
          "Usage: quorvel-server [--wait=<seconds>] <Pipename> [<Pipelength>]");
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
