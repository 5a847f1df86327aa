// Buffered file handles: the block rules, written once over the backend's
// system calls.
#include "files_io.h"

#include <cstring>

#include "files_io_system.h"
#include "wide.h"

namespace Windows::Files::IO {

/// The shared state of one open file. Positions in Buffer are 0-based here:
/// the next byte is Buffer[Used].
struct File_Record {
  System::File System_Handle = System::No_File;
  std::int64_t Block_Offset = 0;   ///< file offset of Buffer[0]
  std::int32_t Used = 0;           ///< bytes consumed (reading) or filled (writing)
  std::int32_t Filled = 0;         ///< bytes of Buffer that hold data
  std::unique_ptr<char[]> Buffer;  ///< null once closed
  Mode File_Mode = Mode::Reading;
  bool Dirty = false;

  File_Record() = default;
  File_Record(const File_Record&) = delete;
  File_Record& operator=(const File_Record&) = delete;
  ~File_Record();
};

namespace {

File_Record& Open_Record(const Handle& H) {
  File_Record* Record = H.Record();
  if (Record == nullptr || !Record->Buffer) {
    throw Bad_Handle();
  }
  return *Record;
}

void Fill_Buffer(File_Record& R);

void Write_Buffer(File_Record& R) {
  if (R.File_Mode == Mode::Reading && !System::Seek(R.System_Handle, R.Block_Offset)) {
    throw Unexpected_Error();
  }
  if (R.Filled != 0) {
    std::int32_t Written = 0;
    if (!System::Write(R.System_Handle, R.Buffer.get(), R.Filled, Written) || Written != R.Filled) {
      throw End_Error();
    }
  }
  R.Dirty = false;
  if (R.File_Mode == Mode::Appending) {
    R.Block_Offset += R.Filled;
    R.Used = 0;
    R.Filled = 0;
  } else {
    Fill_Buffer(R);
  }
}

void Fill_Buffer(File_Record& R) {
  if (R.Dirty) {
    Write_Buffer(R);
  }
  std::int32_t Count = 0;
  if (!System::Read(R.System_Handle, R.Buffer.get(), Block_Size, Count)) {
    throw End_Error();
  }
  R.Block_Offset += R.Filled;
  R.Filled = Count;
  R.Used = 0;
}

// Takes the next byte; the next block is read as soon as the last byte of
// the current one is taken. There must be a byte to take.
char Get_Char(File_Record& R) {
  const std::int32_t Next = R.Used + 1;
  const char C = R.Buffer[static_cast<std::size_t>(R.Used)];
  if (Next == R.Filled) {
    Fill_Buffer(R);
  } else {
    R.Used = Next;
  }
  return C;
}

bool Is_Terminator(char C) {
  return C >= '\n' && C <= '\r';
}

bool Is_Wide_Terminator(char Low, char High) {
  const char16_t Unit = Units_Of(std::string{Low, High})[0];
  return (Unit >= 0x0A && Unit <= 0x0D) || Unit == 0x85 || Unit == 0x2028 || Unit == 0x2029;
}

void Append_Used(std::string& Line, const File_Record& R, std::int32_t Up_To) {
  Line.append(R.Buffer.get() + R.Used, static_cast<std::size_t>(Up_To - R.Used));
}

std::u16string To_Units(const std::string& Bytes) {
  if (Bytes.size() % 2 != 0) {
    throw End_Error();
  }
  return Units_Of(Bytes);
}

Handle Make(System::File F, Mode M) {
  auto Record = std::make_shared<File_Record>();
  Record->System_Handle = F;
  Record->Buffer = std::make_unique<char[]>(Block_Size);
  Record->File_Mode = M;
  if (M == Mode::Appending) {
    const std::int64_t Size = System::Seek_End(F);
    if (Size < 0) {
      throw Unexpected_Error();
    }
    Record->Block_Offset = Size;
  } else {
    Fill_Buffer(*Record);
    Record->Block_Offset = 0;
  }
  return Handle(std::move(Record));
}

template <class Name_Type>
Handle Create_File(const Name_Type& Name, bool Fail_If_Exists, bool Share_Read) {
  const System::File F = System::Create(Name, Fail_If_Exists, Share_Read);
  if (F == System::No_File) {
    throw Creation_Failure();
  }
  return Make(F, Mode::Appending);
}

template <class Name_Type>
Handle Open_File(const Name_Type& Name, bool Writable) {
  const System::File F = System::Open(Name, Writable);
  if (F == System::No_File) {
    throw File_Not_Found();
  }
  return Make(F, Writable ? Mode::Appending : Mode::Reading);
}

}  // namespace

File_Record::~File_Record() {
  if (Buffer) {
    try {
      if (File_Mode == Mode::Appending) {
        Write_Buffer(*this);
      }
    } catch (...) {
      // Finalisation never fails: the pending bytes are lost.
    }
    Buffer.reset();
  }
  if (System_Handle != System::No_File) {
    System::Close(System_Handle);
  }
}

Handle Create(const std::string& Name, bool Fail_If_Exists, bool Share_Read) {
  return Create_File(Name, Fail_If_Exists, Share_Read);
}

Handle Create(const std::u16string& Name, bool Fail_If_Exists, bool Share_Read) {
  return Create_File(Name, Fail_If_Exists, Share_Read);
}

Handle Open(const std::string& Name, bool Writable) {
  return Open_File(Name, Writable);
}

Handle Open(const std::u16string& Name, bool Writable) {
  return Open_File(Name, Writable);
}

void Reset(const Handle& H) {
  Set_Index(H, 1);
}

bool End_Of_File(const Handle& H) {
  const File_Record* R = H.Record();
  return R == nullptr || R->Used == R->Filled;
}

std::string Get_Line(const Handle& H) {
  File_Record& R = Open_Record(H);
  std::string Line;
  for (;;) {
    std::int32_t End = R.Used;
    while (End < R.Filled && !Is_Terminator(R.Buffer[static_cast<std::size_t>(End)])) {
      ++End;
    }
    Append_Used(Line, R, End);
    R.Used = End;
    if (End < R.Filled) {
      // A CR LF pair is one terminator, even split across two blocks.
      if (Get_Char(R) == '\r' && R.Used < R.Filled &&
          R.Buffer[static_cast<std::size_t>(R.Used)] == '\n') {
        Get_Char(R);
      }
      return Line;
    }
    if (R.Filled < Block_Size) {
      return Line;
    }
    Fill_Buffer(R);
  }
}

std::u16string Get_Wide_Line(const Handle& H) {
  File_Record& R = Open_Record(H);
  std::string Bytes;
  for (;;) {
    std::int32_t P = R.Used;
    while (P + 1 < R.Filled && !Is_Wide_Terminator(R.Buffer[static_cast<std::size_t>(P)],
                                                   R.Buffer[static_cast<std::size_t>(P + 1)])) {
      P += 2;
    }
    Append_Used(Bytes, R, P);
    R.Used = P;
    if (P + 1 < R.Filled) {
      Get_Char(R);
      Get_Char(R);
      return To_Units(Bytes);
    }
    if (R.Filled < Block_Size) {
      Append_Used(Bytes, R, R.Filled);
      R.Used = R.Filled;
      return To_Units(Bytes);
    }
    if (P == R.Filled) {
      Fill_Buffer(R);
      continue;
    }
    // The block ends with the first byte of a unit: complete it from the next.
    const char Low = Get_Char(R);
    if (R.Used == R.Filled) {
      Bytes.push_back(Low);
      return To_Units(Bytes);
    }
    const char High = Get_Char(R);
    if (Is_Wide_Terminator(Low, High)) {
      return To_Units(Bytes);
    }
    Bytes.push_back(Low);
    Bytes.push_back(High);
  }
}

void Put(std::string_view Item, const Handle& H) {
  File_Record& R = Open_Record(H);
  while (!Item.empty()) {
    R.Dirty = true;
    const auto Free = static_cast<std::size_t>(Block_Size - R.Used);
    char* const Target = R.Buffer.get() + R.Used;
    // The rest stays in the buffer only if it leaves at least one byte
    // free: a block is written the moment it is exactly full.
    if (Item.size() < Free) {
      std::memcpy(Target, Item.data(), Item.size());
      R.Used += static_cast<std::int32_t>(Item.size());
      R.Filled = R.Used > R.Filled ? R.Used : R.Filled;
      return;
    }
    std::memcpy(Target, Item.data(), Free);
    Item.remove_prefix(Free);
    R.Filled = Block_Size;
    Write_Buffer(R);
  }
}

void Put(std::u16string_view Item, const Handle& H) {
  if (Item.empty()) {
    return;
  }
  Put(std::string_view(Bytes_Of(Item)), H);
}

void Put_Line(std::string_view Item, const Handle& H) {
  std::string Line;
  Line.reserve(Item.size() + 2);
  Line.append(Item).append("\r\n");
  Put(std::string_view(Line), H);
}

void Put_Line(std::u16string_view Item, const Handle& H) {
  Open_Record(H);
  Put(Item, H);
  Put(std::string_view("\n\0", 2), H);
}

void Set_Index(const Handle& H, std::int64_t To) {
  File_Record& R = Open_Record(H);
  if (R.File_Mode == Mode::Appending) {
    throw Wrong_Mode();
  }
  if (To < 1) {
    throw Constraint_Error("file position below 1");
  }
  const std::int64_t P = To - 1;
  const auto In_Block = [&] { return R.Block_Offset <= P && P < R.Block_Offset + R.Filled; };
  if (!In_Block() && R.Dirty) {
    Write_Buffer(R);
  }
  if (In_Block()) {
    R.Used = static_cast<std::int32_t>(P - R.Block_Offset);
    return;
  }
  if (!System::Seek(R.System_Handle, P)) {
    throw Unexpected_Error();
  }
  Fill_Buffer(R);
  R.Block_Offset = P;
}

std::int64_t Index(const Handle& H) {
  const File_Record& R = Open_Record(H);
  return R.Block_Offset + R.Used + 1;
}

void Flush(const Handle& H) {
  File_Record& R = Open_Record(H);
  if (R.File_Mode == Mode::Appending) {
    Write_Buffer(R);
  }
  System::Flush(R.System_Handle);
}

void Close(const Handle& H) {
  File_Record& R = Open_Record(H);
  if (R.File_Mode == Mode::Appending) {
    Write_Buffer(R);
  }
  R.Buffer.reset();
  System::Close(R.System_Handle);
  R.System_Handle = System::No_File;
}

}  // namespace Windows::Files::IO
