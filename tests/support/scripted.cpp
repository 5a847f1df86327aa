// The scripted formatting server, seen from the tests.
#include "scripted.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "path_style.h"
#include "process.h"
#include "run_program.h"
#include "scratch.h"
#include "script_files.h"

namespace Test_Support {

Scripted_Server::Scripted_Server() : Pipe_Name(Unique_Name("qv")) {}

Scripted_Server::~Scripted_Server() {
  std::remove(Script_File(Pipe_Name).c_str());
  std::remove(Record_File(Pipe_Name).c_str());
}

Scripted_Server& Scripted_Server::Replies(const std::vector<std::string>& Group) {
  Groups.push_back(Group);
  return *this;
}

Scripted_Server& Scripted_Server::Tokens(const std::vector<std::string>& Token_Replies) {
  for (const std::string& Reply : Token_Replies) {
    Groups.push_back({Reply});
  }
  Groups.push_back({"0"});
  return *this;
}

Scripted_Server& Scripted_Server::No_Pipe() {
  Groups.insert(Groups.begin(), {"!nopipe"});
  return *this;
}

void Scripted_Server::Write_Script() const {
  std::ofstream Output(Script_File(Pipe_Name), std::ios::binary | std::ios::trunc);
  for (const auto& Group : Groups) {
    for (const std::string& Line : Group) {
      Output << Line << '\n';
    }
    Output << "---\n";
  }
}

std::string Scripted_Server::Program() {
  return Program_Beside_Tests("scripted-server");
}

void Scripted_Server::Start(const std::string& Pipelength) const {
  Write_Script();
  std::remove(Record_File(Pipe_Name).c_str());
  Windows::Create_Process(Program(), Pipelength.empty() ? Pipe_Name : Pipe_Name + " " + Pipelength,
                          "", "", 0, 0, 0, false);
}

std::vector<std::string> Scripted_Server::Record(double Limit) const {
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(Limit);
  std::vector<std::string> Lines;
  do {
    Lines.clear();
    std::ifstream Input(Record_File(Pipe_Name), std::ios::binary);
    for (std::string Line; std::getline(Input, Line);) {
      Lines.push_back(Line);
    }
    if (!Lines.empty() && Lines.back() == "<end>") {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < Deadline);
  return Lines;
}

std::string Scripted_Server::Configuration(const std::string& Folder,
                                           const std::vector<std::string>& Extra) const {
  Write_Script();
  const std::string Path = Folder + Windows::Separator(Windows::Native_Style) + Pipe_Name + ".ini";
  std::ofstream Output(Path, std::ios::binary | std::ios::trunc);
  Output << "[Quv_Client]\r\nPipename=" << Pipe_Name << "\r\nServer=" << Program() << "\r\n";
  for (const std::string& Line : Extra) {
    Output << Line << "\r\n";
  }
  return Path;
}

}  // namespace Test_Support
