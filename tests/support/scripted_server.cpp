// A formatting server for tests: serves replies from a script that the test
// wrote, and records every message it receives, so that tests can assert
// the exact traffic. Run as "scripted-server <Pipename> [<Pipelength>]",
// like the real server.
//
// Script (<temp>/quorvel-script-<Pipename>.txt): groups of reply lines,
// each ended by a line "---"; each message except "C" takes the next group and each
// of its lines is sent as one reply (an empty line is an empty reply). With
// no group left, "N" is answered "0" and anything else ".". Directives:
// "!nopipe" (first line) never makes the pipe; "!die" in a group ends the
// server at once, as if it were killed; "!remove PATH" removes a file or
// folder tree (as a user might while a run goes on); "!create PATH" writes
// a file holding "theirs" there (as another program might); "!wait PATH" holds the
// conversation until PATH exists (at most 30 s), so that a test can act
// while a run is under way; "!fds" records "FDS" and the numbers of the
// descriptors the server holds (from /proc/self/fd; none where it is missing).
// Record (<temp>/quorvel-record-<Pipename>.txt): "ARGS" and the arguments,
// then one line per message, then "<end>".
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "pipe.h"
#include "protocol.h"
#include "script_files.h"

namespace {

using Group = std::vector<std::string>;

std::deque<Group> Read_Script(const std::string& Path) {
  std::ifstream Input(Path, std::ios::binary);
  std::deque<Group> Groups;
  Group Current;
  for (std::string Line; std::getline(Input, Line);) {
    if (Line == "---") {
      Groups.push_back(std::move(Current));
      Current.clear();
    } else {
      Current.push_back(Line);
    }
  }
  if (!Current.empty()) {
    Groups.push_back(std::move(Current));
  }
  return Groups;
}

class Recorder {
 public:
  explicit Recorder(const std::string& Path) : Output(Path, std::ios::binary | std::ios::trunc) {}
  void Line(const std::string& Text) {
    Output << Text << '\n';
    Output.flush();
  }

 private:
  std::ofstream Output;
};

void Wait_For(const std::string& Path) {
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!std::filesystem::exists(Path) && std::chrono::steady_clock::now() < Deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// "FDS" and the descriptors open now, in the order the system lists them.
std::string Open_Descriptors() {
  std::string Line = "FDS";
  std::error_code Missing;
  for (const auto& Entry : std::filesystem::directory_iterator("/proc/self/fd", Missing)) {
    Line += ' ' + Entry.path().filename().string();
  }
  return Line;
}

// Serves one client; returns when the conversation ends.
void Serve(Windows::Pipe::Handle& Pipe, std::deque<Group>& Groups, Recorder& Record) {
  std::vector<char> Buffer(1 << 20);
  for (;;) {
    const std::size_t Count = Windows::Pipe::Read(Pipe, Buffer.data(), 30.0);
    const std::string Message(Buffer.data(), Count);
    Record.Line(Test_Support::Escape_Line(Message));
    if (Message == Protocol::Close_Message) {
      return;
    }
    Group Replies;
    if (!Groups.empty()) {
      Replies = std::move(Groups.front());
      Groups.pop_front();
    } else {
      Replies = {std::string(Message == Protocol::Next_Message ? Protocol::End_Of_File_Reply
                                                               : Protocol::End_Mark)};
    }
    for (const std::string& Reply : Replies) {
      if (Reply == "!die") {
        return;
      }
      if (Reply.rfind("!wait ", 0) == 0) {
        Wait_For(Reply.substr(6));
        continue;
      }
      if (Reply.rfind("!create ", 0) == 0) {
        std::ofstream(Reply.substr(8), std::ios::binary) << "theirs";
        continue;
      }
      if (Reply == "!fds") {
        Record.Line(Open_Descriptors());
        continue;
      }
      if (Reply.rfind("!remove ", 0) == 0) {
        std::error_code Ignored;
        std::filesystem::remove_all(Reply.substr(8), Ignored);
        continue;
      }
      Windows::Pipe::Write(Pipe, Reply.data(), Reply.size());
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    return 2;
  }
  const std::string Name = argv[1];
  Recorder Record(Test_Support::Record_File(Name));
  std::string Arguments = "ARGS";
  for (int I = 1; I < argc; ++I) {
    Arguments += std::string(" ") + argv[I];
  }
  Record.Line(Arguments);
  std::deque<Group> Groups = Read_Script(Test_Support::Script_File(Name));
  if (!Groups.empty() && !Groups.front().empty() && Groups.front().front() == "!nopipe") {
    std::this_thread::sleep_for(std::chrono::seconds(6));
    Record.Line("<end>");
    return 1;  // as a server that failed to make its pipe
  }
  const std::size_t Length = argc > 2 ? std::stoul(argv[2]) : 1000;
  try {
    Windows::Pipe::Handle Pipe;
    Windows::Pipe::Open(Pipe, Name, true, Windows::Pipe::Direction::Duplex, Length, 30.0);
    Serve(Pipe, Groups, Record);
  } catch (const Windows::Pipe::Name_In_Use& Error) {
    // As the real server: the client that started it learns why.
    Record.Line(std::string("<error> ") + Error.what());
    return Windows::Pipe::Busy_Status;
  } catch (const std::exception& Error) {
    Record.Line(std::string("<error> ") + Error.what());
  }
  Record.Line("<end>");
  return 0;
}
