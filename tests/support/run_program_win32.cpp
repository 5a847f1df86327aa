// Running programs on Windows: CreateProcessA with standard output on a pipe.
#include <stdexcept>

#include "handle_win32.h"
#include "run_program.h"

namespace Test_Support {

namespace {

std::string Quoted(const std::string& Word) {
  return Word.empty() || Word.find(' ') != std::string::npos ? '"' + Word + '"' : Word;
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
  char Buffer[4096];
  DWORD Count = 0;
  while (ReadFile(Read_End.Get(), Buffer, sizeof Buffer, &Count, nullptr) && Count > 0) {
    Result.Output.append(Buffer, Count);
  }
  WaitForSingleObject(Running.Process.Get(), INFINITE);
  DWORD Code = 0;
  GetExitCodeProcess(Running.Process.Get(), &Code);
  Result.Status = static_cast<int>(Code);
  return Result;
}

}  // namespace Test_Support
