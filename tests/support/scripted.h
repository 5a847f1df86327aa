// The test side of the scripted formatting server: writes its script, starts
// it, and reads back what it received.
#pragma once

#include <string>
#include <vector>

namespace Test_Support {

class Scripted_Server {
 public:
  Scripted_Server();
  ~Scripted_Server();
  Scripted_Server(const Scripted_Server&) = delete;
  Scripted_Server& operator=(const Scripted_Server&) = delete;

  /// The pipe name, unique to this server.
  const std::string& Name() const noexcept { return Pipe_Name; }

  /// The replies to the next message (each one reply message).
  Scripted_Server& Replies(const std::vector<std::string>& Group);
  /// One group per token reply ("kind,column,text"), then "0".
  Scripted_Server& Tokens(const std::vector<std::string>& Token_Replies);
  /// The server never makes its pipe.
  Scripted_Server& No_Pipe();
  /// Writes the script; called by Start and by tests that let the client start it.
  void Write_Script() const;

  static std::string Program();
  /// Starts the server directly (as if it were already running).
  void Start(const std::string& Pipelength = "") const;

  /// The record: "ARGS ...", one line per message, "<end>"; waits (up to
  /// Limit seconds) for the server to end. Empty when it never started.
  std::vector<std::string> Record(double Limit = 20.0) const;

  /// Writes a configuration file naming this server's pipe and program,
  /// with Extra lines added to the client section; returns its path.
  std::string Configuration(const std::string& Folder,
                            const std::vector<std::string>& Extra = {}) const;

 private:
  std::string Pipe_Name;
  std::vector<std::vector<std::string>> Groups;
};

}  // namespace Test_Support
