// Windows::Files over the Win32 API: only Windows calls here.
#include <cstring>

#include "files.h"
#include "handle_win32.h"
#include "unsigned.h"

namespace Windows {
const Path_Style Native_Style = Path_Style::Windows;
}

namespace Windows::Files {

namespace {

File_Time To_File_Time(const FILETIME& Time) {
  return {Time.dwLowDateTime, Time.dwHighDateTime};
}

// The name in a find record, up to its first NUL.
std::string Find_Name(const WIN32_FIND_DATAA& Data) {
  return std::string(Data.cFileName, strnlen(Data.cFileName, sizeof Data.cFileName));
}

}  // namespace

Information Get_Attributes(const std::string& Name) {
  WIN32_FILE_ATTRIBUTE_DATA Data{};
  if (GetFileAttributesExA(Name.c_str(), GetFileExInfoStandard, &Data) == 0) {
    throw File_Not_Found();
  }
  Information Result;
  Result.Attributes = Data.dwFileAttributes;
  Result.Creation_Time = To_File_Time(Data.ftCreationTime);
  Result.Last_Access_Time = To_File_Time(Data.ftLastAccessTime);
  Result.Last_Write_Time = To_File_Time(Data.ftLastWriteTime);
  Result.Size = Unsigned::Make_64(Data.nFileSizeHigh, Data.nFileSizeLow);
  return Result;
}

void Delete(const std::string& Name) {
  if (DeleteFileA(Name.c_str()) == 1) {
    return;
  }
  if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    throw Access_Denied();
  }
}

void Move(const std::string& From, const std::string& To) {
  if (MoveFileExA(From.c_str(), To.c_str(), MOVEFILE_REPLACE_EXISTING) == 0) {
    throw File_Not_Found();
  }
}

std::string Current_Directory() {
  char Buffer[MAX_PATH];
  DWORD Count = GetCurrentDirectoryA(MAX_PATH, Buffer);
  if (Count > MAX_PATH) {
    Count = MAX_PATH;
  }
  return std::string(Buffer, Count);
}

std::string Entry_Name(const std::string& Path) {
  WIN32_FIND_DATAA Data{};
  const Owned_Search Search(FindFirstFileA(Path.c_str(), &Data));
  return Search.Valid() ? Find_Name(Data) : "?";
}

struct Directory_Search::State {
  Owned_Search Handle;
  WIN32_FIND_DATAA Data{};
  bool Pending = false;  // Data holds an entry not handed out yet
};

Directory_Search::Directory_Search(const std::string& Folder, const std::string& Pattern)
    : Search(std::make_unique<State>()) {
  const std::string Full = Folder + "\\" + Pattern;
  Search->Handle.Reset(FindFirstFileA(Full.c_str(), &Search->Data));
  Search->Pending = Search->Handle.Valid();
}

Directory_Search::~Directory_Search() = default;

bool Directory_Search::Next(std::string& Name) {
  if (!Search->Pending) {
    if (!Search->Handle.Valid() || FindNextFileA(Search->Handle.Get(), &Search->Data) == 0) {
      return false;
    }
  }
  Search->Pending = false;
  Name = Find_Name(Search->Data);
  return true;
}

}  // namespace Windows::Files
