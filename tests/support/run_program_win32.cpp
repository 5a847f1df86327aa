// Running programs on Windows: CreateProcessA with standard output on a pipe.
#include <stdexcept>

#include "handle_win32.h"
#include "run_program.h"

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
  HANDLE Read_Handle = nullptr;
  HANDLE Write_Handle = nullptr;
  if (!CreatePipe(&Read_Handle, &Write_Handle, &Inherit, 0)) {
    throw std::runtime_error("CreatePipe failed");
  }
  const Windows::Owned_Handle Read_End(Read_Handle);
  Windows::Owned_Handle Write_End(Write_Handle);
  SetHandleInformation(Read_End.Get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdOutput = Write_End.Get();
  Startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  Startup.hStdInput = nullptr;
  std::string Line = Quoted(Program);
  for (const std::string& Word : Arguments) {
    Line += ' ' + Quoted(Word);
  }
  PROCESS_INFORMATION Started{};
  const BOOL Ok = CreateProcessA(nullptr, Line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                 &Startup, &Started);
  // The child holds its own copy: the read ends when the child's does.
  Write_End.Reset();
  if (!Ok) {
    throw std::runtime_error("cannot start " + Program);
  }
  const Windows::Owned_Process Running(Started);
  Program_Result Result;
  Result.Output = Output_Until_Exit(Read_End.Get(), Running.Process.Get());
  DWORD Code = 0;
  GetExitCodeProcess(Running.Process.Get(), &Code);
  Result.Status = static_cast<int>(Code);
  return Result;
}

}  // namespace Test_Support
