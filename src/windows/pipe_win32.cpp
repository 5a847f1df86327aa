// Windows::Pipe over Win32 named pipes in message mode. Both ends use
// overlapped I/O, only to put time limits on the wait for a client and for
// a message (a client's reply may have a limit too).
#include <cstdint>

#include "handle_win32.h"
#include "pipe_backend.h"

namespace Windows::Pipe {

/// One overlapped operation, with its own event (manual-reset, created
/// signalled).
struct Operation {
  Owned_Handle Event;
  OVERLAPPED Record{};
};

/// Where a server end stands with its clients.
enum class Client_State { Connected, Disconnected, Listening };

struct Object {
  Settings Wanted;
  Owned_Handle Os_Handle;
  Operation Connecting;  // server end only, as the three below
  Operation Writing;
  Operation Reading;
  Client_State Client = Client_State::Connected;  // Listening: Connecting is pending

  explicit Object(const Settings& Made_With) : Wanted(Made_With) {}
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  // Only the wait for a next client is left pending: it is cancelled and
  // waited for before its record and event go.
  ~Object() {
    if (Client == Client_State::Listening) {
      DWORD Count = 0;
      CancelIoEx(Os_Handle.Get(), &Connecting.Record);
      GetOverlappedResult(Os_Handle.Get(), &Connecting.Record, &Count, TRUE);
    }
  }
};

// The pipe is not disconnected first: that would throw away what the other
// end has not read yet, where closing lets it read the rest and then find
// the pipe broken.
void Object_Closer::operator()(Object* Pipe) const noexcept {
  delete Pipe;
}

bool Is_Server(const Object& Pipe) noexcept {
  return Pipe.Wanted.Is_Server;
}

namespace {

DWORD To_Dword(std::size_t Value) {
  const std::uint64_t Wide = Value;  // on 32-bit Windows every size fits
  if ((Wide >> 32) != 0) {
    throw Constraint_Error("length out of range");
  }
  return static_cast<DWORD>(Value);
}

void Check_Result(BOOL Result) {
  if (Result == 0) {
    Raise_Error(GetLastError());
  }
}

DWORD Client_Access(Direction Flow) {
  switch (Flow) {
    case Direction::Inbound:
      return GENERIC_WRITE;
    case Direction::Outbound:
      return GENERIC_READ | FILE_WRITE_ATTRIBUTES;
    case Direction::Duplex:
      break;
  }
  return GENERIC_READ | GENERIC_WRITE;
}

DWORD Server_Access(Direction Flow) {
  switch (Flow) {
    case Direction::Inbound:
      return PIPE_ACCESS_INBOUND;
    case Direction::Outbound:
      return PIPE_ACCESS_OUTBOUND;
    case Direction::Duplex:
      break;
  }
  return PIPE_ACCESS_DUPLEX;
}

// The outcome of an operation that Windows took on as pending, once the
// wait on its event gave Wait_Result. An operation still running is
// cancelled and waited for, so that Windows no longer holds its record or
// the caller's buffer: after a time-out that is Timeout, unless the
// operation finished meanwhile, which then counts as finished.
DWORD Complete(Object& Pipe, Operation& Op, DWORD Wait_Result) {
  const HANDLE Os_Handle = Pipe.Os_Handle.Get();
  DWORD Count = 0;
  if (Wait_Result == WAIT_OBJECT_0) {
    Check_Result(GetOverlappedResult(Os_Handle, &Op.Record, &Count, FALSE));
    return Count;
  }
  CancelIoEx(Os_Handle, &Op.Record);
  if (GetOverlappedResult(Os_Handle, &Op.Record, &Count, TRUE) != 0) {
    return Count;
  }
  const DWORD Error = GetLastError();
  if (Error != ERROR_OPERATION_ABORTED) {
    Raise_Error(Error);
  }
  if (Wait_Result == WAIT_TIMEOUT) {
    throw Timeout();
  }
  Raise_Error(ERROR_IO_PENDING);
}

void Wait_For_Client(Object& Pipe) {
  Operation& Op = Pipe.Connecting;
  if (ConnectNamedPipe(Pipe.Os_Handle.Get(), &Op.Record) != 0) {
    return;
  }
  const DWORD Error = GetLastError();
  // A client that came before the wait began is connected all the same.
  if (Error == ERROR_PIPE_CONNECTED) {
    return;
  }
  if (Error != ERROR_IO_PENDING) {
    Raise_Error(Error);
  }
  Complete(Pipe, Op, WaitForSingleObject(Op.Event.Get(), Pipe.Wanted.Timeout_Ms));
}

// A pipe object with the events of its overlapped operations.
Handle New_Object(const Settings& Wanted) {
  Handle Pipe(new Object(Wanted));
  for (Operation* Op : {&Pipe->Connecting, &Pipe->Writing, &Pipe->Reading}) {
    Op->Event.Reset(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    if (!Op->Event.Valid()) {
      Raise_Error(GetLastError());
    }
    Op->Record.hEvent = Op->Event.Get();
  }
  return Pipe;
}

Handle Create_Server(const Settings& Wanted) {
  Handle Pipe = New_Object(Wanted);
  const DWORD Size = To_Dword(Wanted.Buffer_Length);
  Pipe->Os_Handle.Reset(CreateNamedPipeA(
      Full_Pipe_Name(Wanted.Name).c_str(), FILE_FLAG_OVERLAPPED | Server_Access(Wanted.Flow),
      PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, Size, Size, 0, nullptr));
  if (!Pipe->Os_Handle.Valid()) {
    Raise_Error(GetLastError());
  }
  Wait_For_Client(*Pipe);
  return Pipe;
}

// Asks for the next client's connection; one that is already there (or
// that came and went since the disconnect) is settled at once.
void Start_Listening(Object& Pipe) {
  for (;;) {
    Operation& Op = Pipe.Connecting;
    if (ConnectNamedPipe(Pipe.Os_Handle.Get(), &Op.Record) != 0) {
      Pipe.Client = Client_State::Connected;
      return;
    }
    const DWORD Error = GetLastError();
    if (Error == ERROR_PIPE_CONNECTED) {
      Pipe.Client = Client_State::Connected;
      return;
    }
    if (Error == ERROR_IO_PENDING) {
      Pipe.Client = Client_State::Listening;
      return;
    }
    if (Error != ERROR_NO_DATA) {
      Raise_Error(Error);
    }
    Check_Result(DisconnectNamedPipe(Pipe.Os_Handle.Get()));
  }
}

Handle Open_Client(const Settings& Wanted) {
  Handle Pipe = New_Object(Wanted);
  Pipe->Os_Handle.Reset(CreateFileA(Full_Pipe_Name(Wanted.Name).c_str(), Client_Access(Wanted.Flow),
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr));
  if (!Pipe->Os_Handle.Valid()) {
    Raise_Error(GetLastError());
  }
  DWORD Mode = PIPE_READMODE_MESSAGE;
  Check_Result(SetNamedPipeHandleState(Pipe->Os_Handle.Get(), &Mode, nullptr, nullptr));
  return Pipe;
}

// Whether an overlapped call that returned Result is still under way; a
// failure other than "pending" raises.
bool Pending(BOOL Result) {
  if (Result != 0) {
    return false;
  }
  const DWORD Error = GetLastError();
  if (Error != ERROR_IO_PENDING) {
    Raise_Error(Error);
  }
  return true;
}

DWORD Overlapped_Read(Object& Pipe, char* Buffer, DWORD Length, DWORD Timeout_Ms) {
  Operation& Op = Pipe.Reading;
  DWORD Count = 0;
  if (!Pending(ReadFile(Pipe.Os_Handle.Get(), Buffer, Length, &Count, &Op.Record))) {
    return Count;
  }
  const HANDLE Event = Op.Event.Get();
  return Complete(Pipe, Op, WaitForMultipleObjects(1, &Event, FALSE, Timeout_Ms));
}

DWORD Overlapped_Write(Object& Pipe, const char* Buffer, DWORD Length) {
  Operation& Op = Pipe.Writing;
  DWORD Written = 0;
  if (!Pending(WriteFile(Pipe.Os_Handle.Get(), Buffer, Length, &Written, &Op.Record))) {
    return Written;
  }
  return Complete(Pipe, Op, WaitForSingleObject(Op.Event.Get(), INFINITE));
}

}  // namespace

Handle Make(const Settings& Wanted) {
  return Wanted.Is_Server ? Create_Server(Wanted) : Open_Client(Wanted);
}

// Safe once the client has nothing left to read: DisconnectNamedPipe
// throws away only what it has not read.
void Listen_For_Next(Object& Pipe) {
  if (Pipe.Client != Client_State::Connected) {
    return;
  }
  Check_Result(DisconnectNamedPipe(Pipe.Os_Handle.Get()));
  Pipe.Client = Client_State::Disconnected;
  Start_Listening(Pipe);
}

// The wait that runs out stays pending, so that the pipe takes a client
// between two waits as well. A client that connected and closed again
// before it was served leaves the pipe to listen once more.
void Wait_For_Next(Object& Pipe, std::uint32_t Timeout_Ms) {
  if (Pipe.Client == Client_State::Disconnected) {  // a failure came between
    Start_Listening(Pipe);
  }
  while (Pipe.Client == Client_State::Listening) {
    Operation& Op = Pipe.Connecting;
    const DWORD Waited = WaitForSingleObject(Op.Event.Get(), Timeout_Ms);
    if (Waited == WAIT_TIMEOUT) {
      throw Timeout();
    }
    if (Waited != WAIT_OBJECT_0) {
      Raise_Error(GetLastError());
    }
    DWORD Count = 0;
    const BOOL Done = GetOverlappedResult(Pipe.Os_Handle.Get(), &Op.Record, &Count, FALSE);
    const DWORD Error = Done != 0 ? ERROR_SUCCESS : GetLastError();
    Pipe.Client = Client_State::Disconnected;
    if (Error == ERROR_SUCCESS || Error == ERROR_PIPE_CONNECTED) {
      Pipe.Client = Client_State::Connected;
    } else if (Error == ERROR_NO_DATA || Error == ERROR_BROKEN_PIPE) {
      Check_Result(DisconnectNamedPipe(Pipe.Os_Handle.Get()));
      Start_Listening(Pipe);
    } else {
      Raise_Error(Error);
    }
  }
}

std::size_t Read_Message(Object& Pipe, char* Buffer, std::uint32_t Timeout_Ms) {
  return Overlapped_Read(Pipe, Buffer, To_Dword(Pipe.Wanted.Buffer_Length), Timeout_Ms);
}

void Write_Message(Object& Pipe, const char* Buffer, std::size_t Length) {
  const DWORD Wanted_Length = To_Dword(Length);
  if (Overlapped_Write(Pipe, Buffer, Wanted_Length) != Wanted_Length) {
    throw Write_Incomplete();
  }
}

}  // namespace Windows::Pipe
