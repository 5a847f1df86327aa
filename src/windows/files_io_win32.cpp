// File handle calls through CreateFileA/W, ReadFile, WriteFile,
// SetFilePointer, FlushFileBuffers and CloseHandle.
#include "files_io_system.h"
#include "win32_api.h"

namespace Windows::Files::IO::System {

namespace {

HANDLE To_Handle(File F) {
  return reinterpret_cast<HANDLE>(F);
}

File From_Handle(HANDLE H) {
  return H == INVALID_HANDLE_VALUE ? No_File : reinterpret_cast<File>(H);
}

DWORD Creation(bool Fail_If_Exists) {
  return Fail_If_Exists ? CREATE_NEW : CREATE_ALWAYS;
}

DWORD Access(bool Writable) {
  return Writable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
}

DWORD Share(bool Writable) {
  return Writable ? 0 : FILE_SHARE_READ;
}

std::wstring Wide(const std::u16string& Name) {
  return std::wstring(Name.begin(), Name.end());
}

// SetFilePointer with both halves of the distance; a result of
// INVALID_SET_FILE_POINTER is a failure only when GetLastError says so.
std::int64_t Move_Pointer(File F, std::int64_t Distance, DWORD Method) {
  LONG High = static_cast<LONG>(Distance >> 32);
  const DWORD Low =
      SetFilePointer(To_Handle(F), static_cast<LONG>(Distance & 0xFFFFFFFF), &High, Method);
  if (Low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
    return -1;
  }
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<DWORD>(High)) << 32 |
                                   Low);
}

}  // namespace

File Create(const std::string& Name, bool Fail_If_Exists, bool Share_Read) {
  return From_Handle(CreateFileA(Name.c_str(), GENERIC_WRITE, Share_Read ? FILE_SHARE_READ : 0,
                                 nullptr, Creation(Fail_If_Exists), FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
}

File Create(const std::u16string& Name, bool Fail_If_Exists, bool Share_Read) {
  return From_Handle(CreateFileW(Wide(Name).c_str(), GENERIC_WRITE,
                                 Share_Read ? FILE_SHARE_READ : 0, nullptr,
                                 Creation(Fail_If_Exists), FILE_ATTRIBUTE_NORMAL, nullptr));
}

File Open(const std::string& Name, bool Writable) {
  return From_Handle(CreateFileA(Name.c_str(), Access(Writable), Share(Writable), nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

File Open(const std::u16string& Name, bool Writable) {
  return From_Handle(CreateFileW(Wide(Name).c_str(), Access(Writable), Share(Writable), nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool Read(File F, char* Buffer, std::int32_t Size, std::int32_t& Count) {
  DWORD Done = 0;
  const BOOL Ok = ReadFile(To_Handle(F), Buffer, static_cast<DWORD>(Size), &Done, nullptr);
  Count = static_cast<std::int32_t>(Done);
  return Ok == 1;
}

bool Write(File F, const char* Buffer, std::int32_t Size, std::int32_t& Written) {
  DWORD Done = 0;
  const BOOL Ok = WriteFile(To_Handle(F), Buffer, static_cast<DWORD>(Size), &Done, nullptr);
  Written = static_cast<std::int32_t>(Done);
  return Ok == 1;
}

bool Seek(File F, std::int64_t Position) {
  return Move_Pointer(F, Position, FILE_BEGIN) >= 0;
}

std::int64_t Seek_End(File F) {
  return Move_Pointer(F, 0, FILE_END);
}

void Flush(File F) {
  FlushFileBuffers(To_Handle(F));
}

void Close(File F) {
  CloseHandle(To_Handle(F));
}

}  // namespace Windows::Files::IO::System
