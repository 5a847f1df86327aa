// Running programs on Windows: CreateProcessA with standard output on a pipe.
#include <stdexcept>

#include "run_program.h"
#include "win32_api.h"

namespace Test_Support {

namespace {

std::string Quoted(const std::string& Word) {
  return Word.empty() || Word.find(' ') != std::string::npos ? '"' + Word + '"' : Word;
}

// Everything the program writes, up to its end. Not up to the end of the
// pipe: under Wine a program it starts (a formatting server that waits for
// its next client) holds the pipe's write end on, and a read would wait
// for that program too.
std::string Output_Until_Exit(HANDLE Read_End, HANDLE Process) {
  std::string Output;
  char Buffer[4096];
  for (bool Ended = false;;) {
    DWORD Waiting = 0;
    DWORD Count = 0;
    if (!PeekNamedPipe(Read_End, nullptr, 0, nullptr, &Waiting, nullptr)) {
      break;  // every writer has gone
    }
    if (Waiting > 0 && ReadFile(Read_End, Buffer, sizeof Buffer, &Count, nullptr)) {
      Output.append(Buffer, Count);
    } else if (Ended) {
      break;
    } else {
      // What the program wrote before it ended is in the pipe then.
      Ended = WaitForSingleObject(Process, 10) == WAIT_OBJECT_0;
    }
  }
  WaitForSingleObject(Process, INFINITE);
  return Output;
}

}  // namespace

Program_Result Run_Program(const std::string& Program, const std::vector<std::string>& Arguments) {
  SECURITY_ATTRIBUTES Inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE Read_End = nullptr;
  HANDLE Write_End = nullptr;
  if (!CreatePipe(&Read_End, &Write_End, &Inherit, 0)) {
    throw std::runtime_error("CreatePipe failed");
  }
  SetHandleInformation(Read_End, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdOutput = Write_End;
  Startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  Startup.hStdInput = nullptr;
  std::string Line = Quoted(Program);
  for (const std::string& Word : Arguments) {
    Line += ' ' + Quoted(Word);
  }
  PROCESS_INFORMATION Started{};
  const BOOL Ok = CreateProcessA(nullptr, Line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                 &Startup, &Started);
  CloseHandle(Write_End);
  if (!Ok) {
    CloseHandle(Read_End);
    throw std::runtime_error("cannot start " + Program);
  }
  Program_Result Result;
  Result.Output = Output_Until_Exit(Read_End, Started.hProcess);
  CloseHandle(Read_End);
  DWORD Code = 0;
  GetExitCodeProcess(Started.hProcess, &Code);
  Result.Status = static_cast<int>(Code);
  CloseHandle(Started.hProcess);
  CloseHandle(Started.hThread);
  return Result;
}

}  // namespace Test_Support
