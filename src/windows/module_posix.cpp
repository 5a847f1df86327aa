// Module queries over the loader's list of loaded objects (dl_iterate_phdr):
// each object's loaded segments give its base address and size.
#include <link.h>
#include <unistd.h>

#include <exception>
#include <vector>

#include "module.h"

namespace Windows {

namespace {

std::string Own_Executable_Path() {
  std::vector<char> Buffer(256);
  for (;;) {
    const ssize_t Count = ::readlink("/proc/self/exe", Buffer.data(), Buffer.size());
    if (Count < 0) {
      return "";
    }
    if (static_cast<std::size_t>(Count) < Buffer.size()) {
      return std::string(Buffer.data(), static_cast<std::size_t>(Count));
    }
    Buffer.resize(Buffer.size() * 2);
  }
}

// The span of an object's loaded segments; false when it has none.
bool Image_Span(const dl_phdr_info& Info, std::uintptr_t& Low, std::uintptr_t& High) {
  bool Any = false;
  for (ElfW(Half) I = 0; I < Info.dlpi_phnum; ++I) {
    const ElfW(Phdr)& Segment = Info.dlpi_phdr[I];
    if (Segment.p_type != PT_LOAD) {
      continue;
    }
    const std::uintptr_t Start = Info.dlpi_addr + Segment.p_vaddr;
    const std::uintptr_t End = Start + Segment.p_memsz;
    Low = Any && Low < Start ? Low : Start;
    High = Any && High > End ? High : End;
    Any = true;
  }
  return Any;
}

Module_Entry To_Entry(const dl_phdr_info& Info, bool Is_Executable, std::uintptr_t Low,
                      std::uintptr_t High) {
  Module_Entry Entry;
  Entry.Base_Address = Low;
  Entry.Base_Size = High - Low;
  Entry.Handle = Low;
  // The loader names the executable "" (it is listed first).
  Entry.Exe_Path = Is_Executable ? Own_Executable_Path()
                                 : std::string(Info.dlpi_name == nullptr ? "" : Info.dlpi_name);
  Entry.Module = Entry.Exe_Path.substr(Entry.Exe_Path.rfind('/') + 1);
  return Entry;
}

struct Walk_State {
  const std::function<bool(const Module_Entry&)>* Visit = nullptr;
  bool First = true;
  bool Stopped = false;
  std::exception_ptr Failure;
};

int Visit_Object(dl_phdr_info* Info, std::size_t, void* Data) {
  auto& State = *static_cast<Walk_State*>(Data);
  const bool Is_Executable = State.First;
  State.First = false;
  std::uintptr_t Low = 0, High = 0;
  if (!Image_Span(*Info, Low, High)) {
    return 0;
  }
  // No exception may cross the C library's frames.
  try {
    State.Stopped = !(*State.Visit)(To_Entry(*Info, Is_Executable, Low, High));
  } catch (...) {
    State.Failure = std::current_exception();
    return 1;
  }
  return State.Stopped ? 1 : 0;
}

}  // namespace

bool Walk_Modules(std::uint32_t Process, const std::function<bool(const Module_Entry&)>& Visit) {
  if (Process != 0 && Process != static_cast<std::uint32_t>(::getpid())) {
    throw No_Module_Information();
  }
  Walk_State State;
  State.Visit = &Visit;
  ::dl_iterate_phdr(Visit_Object, &State);
  if (State.Failure) {
    std::rethrow_exception(State.Failure);
  }
  return State.Stopped;
}

std::string Module_File_Name(const Module_Entry& Entry) {
  return Entry.Exe_Path;
}

}  // namespace Windows
