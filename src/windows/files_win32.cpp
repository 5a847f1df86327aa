// Windows::Files over the Win32 API: only Windows calls here.
#include <fcntl.h>
#include <io.h>

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

void Move_New(const std::string& From, const std::string& To) {
  // Without MOVEFILE_REPLACE_EXISTING the move fails when To exists.
  if (MoveFileExA(From.c_str(), To.c_str(), 0) == 0) {
    const DWORD Code = GetLastError();
    if (Code == ERROR_ALREADY_EXISTS || Code == ERROR_FILE_EXISTS) {
      throw Name_Taken();
    }
    throw File_Not_Found();
  }
}

std::FILE* Create_New(const std::string& Name, bool& Taken) {
  // FILE_SHARE_DELETE lets a console interrupt delete the file while it is
  // open for writing.
  const HANDLE File = CreateFileA(Name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  Taken = File == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS;
  if (File == INVALID_HANDLE_VALUE) {
    return nullptr;
  }
  const int Descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(File), _O_BINARY);
  std::FILE* Stream = Descriptor < 0 ? nullptr : _fdopen(Descriptor, "wb");
  if (Stream == nullptr) {
    if (Descriptor < 0) {
      CloseHandle(File);
    } else {
      _close(Descriptor);
    }
    DeleteFileA(Name.c_str());
  }
  return Stream;
}

std::string Link_Target(const std::string& Name) {
  return Name;
}

void Copy_Permissions(const std::string&, std::FILE*) {}

std::string Current_Directory() {
  // A folder longer than MAX_PATH leaves the first buffer unfilled: asked
  // again with the size the call names.
  return Filled_Text(
      [](std::uint32_t Size, char* Buffer) { return GetCurrentDirectoryA(Size, Buffer); },
      MAX_PATH);
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
