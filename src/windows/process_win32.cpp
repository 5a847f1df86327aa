// Process start through CreateProcessA.
#include <utility>
#include <vector>

#include "handle_win32.h"
#include "process.h"

namespace Windows {

namespace {

HANDLE Or_Standard(Std_Handle Given, DWORD Which) {
  return Given != 0 ? reinterpret_cast<HANDLE>(Given) : GetStdHandle(Which);
}

}  // namespace

void Prepare_Program() {}

Started_Program Create_Process(const std::string& Program, const std::string& Arguments,
                               const std::string& Environment, const std::string& Directory,
                               Std_Handle Std_Input, Std_Handle Std_Output, Std_Handle Std_Error,
                               bool Detached) {
  std::string Block;
  if (!Environment.empty()) {
    Block = Environment;
    Block.append(2, '\0');
  }
  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  const bool Any_Given = Std_Input != 0 || Std_Output != 0 || Std_Error != 0;
  if (Any_Given) {
    Startup.dwFlags = STARTF_USESTDHANDLES;
    Startup.hStdInput = Or_Standard(Std_Input, STD_INPUT_HANDLE);
    Startup.hStdOutput = Or_Standard(Std_Output, STD_OUTPUT_HANDLE);
    Startup.hStdError = Or_Standard(Std_Error, STD_ERROR_HANDLE);
  }
  std::vector<char> Line;
  if (!Arguments.empty()) {
    const std::string Text = Command_Line(Program, Arguments);
    Line.assign(Text.begin(), Text.end());
    Line.push_back('\0');
  }
  PROCESS_INFORMATION Started{};
  const BOOL Result = CreateProcessA(
      Arguments.empty() ? Program.c_str() : nullptr, Line.empty() ? nullptr : Line.data(), nullptr,
      nullptr, Any_Given ? TRUE : FALSE, Detached ? DETACHED_PROCESS : 0,
      Block.empty() ? nullptr : Block.data(), Directory.empty() ? nullptr : Directory.c_str(),
      &Startup, &Started);
  // The thread's handle is not kept; the process's goes to the caller, who
  // may ask how the program ended.
  Owned_Process Running(Started);
  if (Result != TRUE) {
    throw Process_Creation_Failure();
  }
  return Started_Program(reinterpret_cast<std::intptr_t>(Running.Process.Release()));
}

Started_Program::~Started_Program() {
  if (Process != 0) {
    CloseHandle(reinterpret_cast<HANDLE>(Process));
  }
}

Started_Program::Started_Program(Started_Program&& Other) noexcept
    : Process(std::exchange(Other.Process, 0)), Status(Other.Status) {}

std::optional<int> Started_Program::Exit_Status() {
  DWORD Code = 0;
  if (!Status && Process != 0 &&
      GetExitCodeProcess(reinterpret_cast<HANDLE>(Process), &Code) != 0 && Code != STILL_ACTIVE) {
    Status = static_cast<int>(Code);
  }
  return Status;
}

}  // namespace Windows
