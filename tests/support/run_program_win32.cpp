// Running programs on Windows: CreateProcessA with standard output on a pipe.
#include <stdexcept>

#include "run_program.h"
#include "win32_api.h"

namespace Test_Support {

namespace {

std::string Quoted(const std::string& Word) {
  return Word.empty() || Word.find(' ') != std::string::npos ? '"' + Word + '"' : Word;
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
  char Buffer[4096];
  DWORD Count = 0;
  while (ReadFile(Read_End, Buffer, sizeof Buffer, &Count, nullptr) && Count > 0) {
    Result.Output.append(Buffer, Count);
  }
  CloseHandle(Read_End);
  WaitForSingleObject(Started.hProcess, INFINITE);
  DWORD Code = 0;
  GetExitCodeProcess(Started.hProcess, &Code);
  Result.Status = static_cast<int>(Code);
  CloseHandle(Started.hProcess);
  CloseHandle(Started.hThread);
  return Result;
}

}  // namespace Test_Support
