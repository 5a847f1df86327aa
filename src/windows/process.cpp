// The portable rules of process start: command lines and argument lists.
#include "process.h"

namespace Windows {

std::string Command_Line(const std::string& Program, const std::string& Arguments) {
  const bool Quote = Program.find(' ') != std::string::npos && Program.front() != '"';
  const std::string Word = Quote ? '"' + Program + '"' : Program;
  return Arguments.empty() ? Word : Word + ' ' + Arguments;
}

namespace {

std::vector<std::string> Split(const std::string& Text, char At) {
  std::vector<std::string> Words;
  std::size_t Start = 0;
  while (Start <= Text.size()) {
    std::size_t End = Text.find(At, Start);
    if (End == std::string::npos) {
      End = Text.size();
    }
    if (End > Start) {
      Words.push_back(Text.substr(Start, End - Start));
    }
    Start = End + 1;
  }
  return Words;
}

}  // namespace

std::vector<std::string> Split_Arguments(const std::string& Arguments) {
  return Split(Arguments, ' ');
}

std::vector<std::string> Split_Environment(const std::string& Environment) {
  return Split(Environment, '\0');
}

}  // namespace Windows
