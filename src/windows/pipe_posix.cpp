// Windows::Pipe over Unix-domain stream sockets (Linux): the pipe
// "\\.\pipe\NAME" is the socket "/tmp/named-pipes-<uid>/NAME", each message a
// 4-byte little-endian length and that many bytes, one client per server
// end kept by a lock on "NAME.lock". docs/platform.md states the contract.
#include "pipe_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <optional>
#include <thread>

#include "descriptor_posix.h"
#include "error_codes.h"
#include "peer_credentials_posix.h"
#include "pipe_backend.h"
#include "pipe_look_posix.h"

namespace Windows::Pipe {

struct Object {
  Settings Wanted;
  Descriptor Lock;              // server end: held for as long as the pipe is open
  Descriptor Listener;          // server end: while it waits for a client
  Descriptor Socket;            // the connection
  std::string Lock_Path;        // server end: the lock file, removed on close
  std::string Socket_Path;      // server end: the socket it bound, removed on close
  std::uint64_t Remaining = 0;  // bytes of the current message not read yet
  // Bytes taken from the socket but not handed out yet: Input[Input_Start ..
  // Input_End - 1]. One receive usually brings a length and its message.
  std::array<char, 4096> Input{};
  std::size_t Input_Start = 0;
  std::size_t Input_End = 0;
  Posix::Look_State Looks;  // whether a read looks for its message before sleeping
  bool Lost = false;        // a read ran out of time inside a message
  std::string Server_Lock;  // client end: the lock its server end holds
  bool Heard = false;       // client end: a byte came from the server end

  explicit Object(const Settings& Made_With) : Wanted(Made_With) {}
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  // Both files go while the lock is still held, so that a server end that
  // gets the lock next meets neither.
  ~Object() {
    if (!Socket_Path.empty()) {
      ::unlink(Socket_Path.c_str());
    }
    if (!Lock_Path.empty()) {
      ::unlink(Lock_Path.c_str());
    }
  }
};

void Object_Closer::operator()(Object* Pipe) const noexcept {
  delete Pipe;
}

bool Is_Server(const Object& Pipe) noexcept {
  return Pipe.Wanted.Is_Server;
}

namespace Posix {

std::uint32_t Error_Code(int Errno) {
  switch (Errno) {
    case ENOENT:
      return Error_File_Not_Found;
    case EACCES:
    case EPERM:
      return Error_Access_Denied;
    case ECONNRESET:
      return Error_Broken_Pipe;
    case ENAMETOOLONG:
      return Error_Invalid_Name;
    case EADDRINUSE:
      return Error_Pipe_Busy;
    case EPIPE:
      return Error_No_Data;
    case ENOTCONN:
      return Error_Pipe_Not_Connected;
    default:
      return Errno_Code_Base + static_cast<std::uint32_t>(Errno);
  }
}

std::string Default_Folder() {
  return "/tmp/named-pipes-" + std::to_string(::geteuid());
}

}  // namespace Posix

namespace {

// A client holds the lock for an instant to tell a busy pipe from a dead
// one, and a server end that is starting replaces a dead one's socket in an
// instant: either end tries again a while before the name counts as taken.
constexpr int Lock_Attempts = 50;
constexpr auto Lock_Pause = std::chrono::milliseconds(2);

[[noreturn]] void Raise_Errno(int Errno) {
  Raise_Error(Posix::Error_Code(Errno));
}

// The socket's path for the pipe Name in Folder, when Name is a valid name
// and the path fits a socket address.
std::string Socket_Path_Of(const std::string& Folder, std::string_view Name) {
  constexpr std::string_view Forbidden("/\\\0", 3);
  if (Name.size() > Posix::Max_Name_Length || Name == "." || Name == ".." ||
      Name.find_first_of(Forbidden) != std::string_view::npos || Name.ends_with(".lock")) {
    Raise_Error(Error_Invalid_Name);
  }
  std::string Path = Folder + '/' + std::string(Name);
  if (Path.size() + 1 >= sizeof sockaddr_un::sun_path) {  // room for Listen's backslash
    Raise_Error(Error_Invalid_Name);
  }
  return Path;
}

// The folder must be a folder of its own (not a link), owned by this user
// and closed to everyone else: nobody else may place or replace a socket.
// Only the server end creates it.
void Check_Folder(const std::string& Folder, bool Create) {
  if (Create) {
    if (::mkdir(Folder.c_str(), 0700) == 0) {
      ::chmod(Folder.c_str(), 0700);  // the umask may have taken the owner's bits
    } else if (errno != EEXIST) {
      Raise_Errno(errno);
    }
  }
  struct stat Info {};
  if (::lstat(Folder.c_str(), &Info) != 0) {
    Raise_Errno(errno);
  }
  if (!S_ISDIR(Info.st_mode) || Info.st_uid != ::geteuid() || (Info.st_mode & 077) != 0) {
    Raise_Error(Error_Access_Denied);
  }
}

sockaddr_un Address_Of(const std::string& Path) {
  sockaddr_un Address{};
  Address.sun_family = AF_UNIX;
  Path.copy(Address.sun_path, Path.size());
  return Address;
}

const sockaddr* As_Socket_Address(const sockaddr_un& Address) {
  return reinterpret_cast<const sockaddr*>(&Address);
}

Descriptor New_Socket(int Flags) {
  Descriptor Socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | Flags, 0));
  if (!Socket.Valid()) {
    Raise_Errno(errno);
  }
  return Socket;
}

// Both ends make sure the other end runs as the same user; its process
// (0 when unknown) is what the pipe's looks ask about.
pid_t Check_Peer(const Descriptor& Socket) {
  uid_t Peer = 0;
  pid_t Process = 0;
  if (!Posix::Peer_Credentials(Socket.Get(), Peer, Process)) {
    Raise_Errno(errno);
  }
  if (Peer != ::geteuid()) {
    Raise_Error(Error_Access_Denied);
  }
  return Process;
}

using Clock = std::chrono::steady_clock;
// When a wait with a limit gives up; nothing for a wait without one.
using Deadline = std::optional<Clock::time_point>;

Deadline Deadline_After(std::uint32_t Limit_Ms) {
  if (Limit_Ms == Infinite) {
    return std::nullopt;
  }
  return Clock::now() + std::chrono::milliseconds(Limit_Ms);
}

// Waits until Socket has a connection or data to take (or its peer has
// gone); false when Until passed first.
bool Wait_Readable(const Descriptor& Socket, const Deadline& Until) {
  for (;;) {
    int Wait = -1;
    if (Until) {
      const auto Left = std::chrono::ceil<std::chrono::milliseconds>(*Until - Clock::now());
      Wait = static_cast<int>(std::clamp<std::int64_t>(Left.count(), 0, INT_MAX));
    }
    pollfd Entry{Socket.Get(), POLLIN, 0};
    const int Ready = ::poll(&Entry, 1, Wait);
    if (Ready > 0) {
      return true;
    }
    if (Ready < 0 && errno != EINTR) {
      Raise_Errno(errno);
    }
    if (Ready == 0 && Until && Clock::now() >= *Until) {
      return false;
    }
  }
}

std::string Lock_Path_Of(const std::string& Socket) {
  return Socket + ".lock";
}

bool Still_Named(const Descriptor& File, const std::string& Path) {
  struct stat Held {};
  struct stat Named {};
  return ::fstat(File.Get(), &Held) == 0 && ::lstat(Path.c_str(), &Named) == 0 &&
         Held.st_dev == Named.st_dev && Held.st_ino == Named.st_ino;
}

// The lock counts on the file that bears the name while it is held: a
// server end that closes removes its file, and one that locked that file
// in passing tries again with the new one.
Descriptor Take_Lock(const std::string& Path) {
  for (int Attempt = 1;; ++Attempt) {
    Descriptor Lock(::open(Path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!Lock.Valid()) {
      Raise_Errno(errno);
    }
    if (::flock(Lock.Get(), LOCK_EX | LOCK_NB) == 0) {
      if (Still_Named(Lock, Path)) {
        return Lock;
      }
    } else if (errno == EWOULDBLOCK) {
      if (Attempt >= Lock_Attempts) {
        Raise_Error(Error_Pipe_Busy);
      }
      std::this_thread::sleep_for(Lock_Pause);
    } else if (errno != EINTR) {
      Raise_Errno(errno);
    }
  }
}

// Whether a server end holds the pipe's lock: a socket nobody listens on is
// then its busy pipe, and otherwise what a dead server left behind.
bool Lock_Held(const std::string& Path) {
  const Descriptor Lock(::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  if (!Lock.Valid()) {
    return false;
  }
  while (::flock(Lock.Get(), LOCK_SH | LOCK_NB) != 0) {
    if (errno != EINTR) {
      return errno == EWOULDBLOCK;
    }
  }
  return false;
}

// A dead server's socket at Path is replaced; anything else there keeps
// the name taken.
void Check_Leftover(const std::string& Path) {
  struct stat Info {};
  if (::lstat(Path.c_str(), &Info) == 0 && !S_ISSOCK(Info.st_mode)) {
    Raise_Error(Error_Pipe_Busy);
  }
}

// The socket is made under a name no pipe can have (its own followed by a
// backslash) and takes its own name only once it listens, replacing what a
// dead server left: a client never meets a socket half made.
void Listen(Object& Pipe, const std::string& Path) {
  const std::string Making = Path + '\\';
  ::unlink(Making.c_str());
  const sockaddr_un Address = Address_Of(Making);
  Pipe.Listener = New_Socket(0);
  if (::bind(Pipe.Listener.Get(), As_Socket_Address(Address), sizeof Address) != 0) {
    Raise_Errno(errno);
  }
  Pipe.Socket_Path = Making;
  if (::chmod(Making.c_str(), 0600) != 0) {  // whatever the umask, the owner may connect
    Raise_Errno(errno);
  }
  // A backlog of 0 still queues one connection; a second client finds the
  // queue full and the pipe busy.
  if (::listen(Pipe.Listener.Get(), 0) != 0 || ::rename(Making.c_str(), Path.c_str()) != 0) {
    Raise_Errno(errno);
  }
  Pipe.Socket_Path = Path;
}

void Accept_Client(Object& Pipe, std::uint32_t Limit_Ms) {
  if (!Wait_Readable(Pipe.Listener, Deadline_After(Limit_Ms))) {
    throw Timeout();
  }
  Descriptor Client;
  while (!Client.Valid()) {
    Client.Reset(::accept4(Pipe.Listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!Client.Valid() && errno != EINTR) {
      Raise_Errno(errno);
    }
  }
  // One client per pipe: later clients find nobody listening while the lock
  // is held, which is a busy pipe. Closed first of all, to keep short the
  // instant in which a client can still join the queue and be dropped.
  Pipe.Listener.Reset();
  Pipe.Looks = Posix::Look_State{};
  Pipe.Looks.Other_End = Check_Peer(Client);
  Pipe.Socket = std::move(Client);
}

Handle Create_Server(const std::string& Folder, const Settings& Wanted) {
  const std::string Path = Socket_Path_Of(Folder, Wanted.Name);
  Check_Folder(Folder, true);
  Handle Pipe(new Object(Wanted));
  Pipe->Lock = Take_Lock(Lock_Path_Of(Path));
  Pipe->Lock_Path = Lock_Path_Of(Path);  // only now is it ours to remove
  Check_Leftover(Path);
  Listen(*Pipe, Path);
  Accept_Client(*Pipe, Wanted.Timeout_Ms);
  return Pipe;
}

void Set_Blocking(const Descriptor& Socket) {
  const int Flags = ::fcntl(Socket.Get(), F_GETFL);
  if (Flags < 0 || ::fcntl(Socket.Get(), F_SETFL, Flags & ~O_NONBLOCK) != 0) {
    Raise_Errno(errno);
  }
}

// Without blocking, so that a server whose one place is taken reads as a
// busy pipe at once, as on Windows. A socket nobody listens on while the
// lock is held is a busy pipe too, unless a server end that is starting
// replaces it in a moment.
Descriptor Connect(const std::string& Path) {
  const sockaddr_un Address = Address_Of(Path);
  for (int Attempt = 1;; ++Attempt) {
    Descriptor Socket = New_Socket(SOCK_NONBLOCK);
    if (::connect(Socket.Get(), As_Socket_Address(Address), sizeof Address) == 0) {
      return Socket;
    }
    if (errno == EAGAIN) {
      Raise_Error(Error_Pipe_Busy);
    }
    if (errno != ECONNREFUSED) {
      Raise_Errno(errno);
    }
    if (!Lock_Held(Lock_Path_Of(Path))) {
      Raise_Error(Error_File_Not_Found);
    }
    if (Attempt == Lock_Attempts) {
      Raise_Error(Error_Pipe_Busy);
    }
    std::this_thread::sleep_for(Lock_Pause);
  }
}

Handle Open_Client(const std::string& Folder, const Settings& Wanted) {
  const std::string Path = Socket_Path_Of(Folder, Wanted.Name);
  Check_Folder(Folder, false);
  Handle Pipe(new Object(Wanted));
  Pipe->Socket = Connect(Path);
  Pipe->Server_Lock = Lock_Path_Of(Path);
  Set_Blocking(Pipe->Socket);
  Pipe->Looks.Other_End = Check_Peer(Pipe->Socket);
  return Pipe;
}

bool Can_Read(const Settings& Wanted) {
  return Wanted.Flow != (Wanted.Is_Server ? Direction::Outbound : Direction::Inbound);
}

bool Can_Write(const Settings& Wanted) {
  return Wanted.Flow != (Wanted.Is_Server ? Direction::Inbound : Direction::Outbound);
}

// At most Count bytes into Into, at least one, once they come before Until
// (Timeout otherwise); the other end closing is a broken pipe. With a limit
// the receive does not wait: bytes already there cost no poll.
std::size_t Receive_Some(const Descriptor& Socket, char* Into, std::size_t Count,
                         const Deadline& Until) {
  for (;;) {
    const ssize_t Got = ::recv(Socket.Get(), Into, Count, Until ? MSG_DONTWAIT : 0);
    if (Got > 0) {
      return static_cast<std::size_t>(Got);
    }
    if (Got == 0 || errno == ECONNRESET) {
      Raise_Error(Error_Broken_Pipe);
    }
    if (Until && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!Wait_Readable(Socket, Until)) {
        throw Timeout();
      }
    } else if (errno != EINTR) {
      Raise_Errno(errno);
    }
  }
}

// Exactly Count bytes before Until: first those taken in before, then from
// the socket. A part that fills the input buffer anyway goes straight to Into.
void Receive_All(Object& Pipe, char* Into, std::size_t Count, const Deadline& Until) {
  while (Count > 0) {
    if (Pipe.Input_Start == Pipe.Input_End) {
      if (Count >= Pipe.Input.size()) {
        const std::size_t Got = Receive_Some(Pipe.Socket, Into, Count, Until);
        Into += Got;
        Count -= Got;
        continue;
      }
      Pipe.Input_Start = 0;
      Pipe.Input_End = Receive_Some(Pipe.Socket, Pipe.Input.data(), Pipe.Input.size(), Until);
    }
    const std::size_t Taken = std::min(Count, Pipe.Input_End - Pipe.Input_Start);
    std::memcpy(Into, Pipe.Input.data() + Pipe.Input_Start, Taken);
    Pipe.Input_Start += Taken;
    Into += Taken;
    Count -= Taken;
  }
}

std::uint32_t Receive_Length(Object& Pipe, const Deadline& Until) {
  unsigned char Header[4];
  Receive_All(Pipe, reinterpret_cast<char*>(Header), sizeof Header, Until);
  return static_cast<std::uint32_t>(Header[0]) | static_cast<std::uint32_t>(Header[1]) << 8 |
         static_cast<std::uint32_t>(Header[2]) << 16 | static_cast<std::uint32_t>(Header[3]) << 24;
}

// Moves the parts of Message past the Sent bytes that went out.
void Advance(msghdr& Message, std::size_t Sent) {
  while (Message.msg_iovlen > 0 && Sent >= Message.msg_iov->iov_len) {
    Sent -= Message.msg_iov->iov_len;
    ++Message.msg_iov;
    --Message.msg_iovlen;
  }
  if (Message.msg_iovlen > 0) {
    Message.msg_iov->iov_base = static_cast<char*>(Message.msg_iov->iov_base) + Sent;
    Message.msg_iov->iov_len -= Sent;
  }
}

// The whole of Message, however many calls it takes; never SIGPIPE.
void Send_All(const Descriptor& Socket, msghdr& Message) {
  while (Message.msg_iovlen > 0) {
    const ssize_t Sent = ::sendmsg(Socket.Get(), &Message, MSG_NOSIGNAL);
    if (Sent >= 0) {
      Advance(Message, static_cast<std::size_t>(Sent));
    } else if (errno == EPIPE || errno == ECONNRESET) {
      Raise_Error(Error_No_Data);
    } else if (errno != EINTR) {
      Raise_Errno(errno);
    }
  }
}

}  // namespace

Handle Make(const Settings& Wanted) {
  return Wanted.Is_Server ? Create_Server(Posix::Default_Folder(), Wanted)
                          : Open_Client(Posix::Default_Folder(), Wanted);
}

void Posix::Open_In(const std::string& Folder, Handle& Pipe, std::string_view Name, bool Is_Server,
                    Direction Flow, std::size_t Buffer_Length, double Timeout) {
  Close(Pipe);
  const Settings Wanted = Settings_For(Name, Is_Server, Flow, Buffer_Length, Timeout);
  Pipe = Is_Server ? Create_Server(Folder, Wanted) : Open_Client(Folder, Wanted);
}

// The client's socket goes with whatever of it was taken in, and the same
// socket file and lock take the next one: the file is listened on anew
// (replaced as at the start), so a client never meets it half made. Should
// that fail, the file goes too: no client finds a pipe nobody serves.
void Listen_For_Next(Object& Pipe) {
  if (!Pipe.Socket.Valid()) {
    return;
  }
  Pipe.Socket.Reset();
  Pipe.Remaining = 0;
  Pipe.Input_Start = 0;
  Pipe.Input_End = 0;
  Pipe.Lost = false;
  const std::string Path = Pipe.Socket_Path;
  try {
    Listen(Pipe, Path);
  } catch (...) {
    ::unlink(Path.c_str());
    throw;
  }
}

void Wait_For_Next(Object& Pipe, std::uint32_t Timeout_Ms) {
  if (!Pipe.Socket.Valid()) {
    Accept_Client(Pipe, Timeout_Ms);
  }
}

// The rest of the message under way, or the next one, into Buffer (its
// first Buffer_Length bytes).
std::size_t Receive_Message(Object& Pipe, char* Buffer, const Deadline& Until) {
  if (Pipe.Remaining == 0) {
    Pipe.Remaining = Receive_Length(Pipe, Until);
    Pipe.Heard = true;
  }
  const auto Count =
      static_cast<std::size_t>(std::min<std::uint64_t>(Pipe.Remaining, Pipe.Wanted.Buffer_Length));
  Receive_All(Pipe, Buffer, Count, Until);
  Pipe.Remaining -= Count;
  if (Pipe.Remaining > 0) {
    throw More_Data();
  }
  return Count;
}

namespace {

std::size_t Read_Heard(Object& Pipe, char* Buffer, std::uint32_t Timeout_Ms) {
  if (!Can_Read(Pipe.Wanted)) {
    Raise_Error(Error_Access_Denied);
  }
  if (Pipe.Lost) {
    Raise_Error(Error_Broken_Pipe);
  }
  const Deadline Until = Deadline_After(Timeout_Ms);
  if (Pipe.Input_Start == Pipe.Input_End) {
    Pipe.Input_Start = 0;
    Pipe.Input_End =
        Posix::Look_Again(Pipe.Looks, Pipe.Socket.Get(), Pipe.Input.data(), Pipe.Input.size());
  }
  // Until a byte is taken a time-out leaves the pipe as it was; bytes
  // already taken in need no wait at all.
  if (Until && Pipe.Input_Start == Pipe.Input_End && !Wait_Readable(Pipe.Socket, Until)) {
    throw Timeout();
  }
  try {
    return Receive_Message(Pipe, Buffer, Until);
  } catch (const Timeout&) {
    // Part of a message is gone: what follows could never be told apart.
    Pipe.Lost = true;
    throw;
  }
}

void Write_Whole(Object& Pipe, const char* Buffer, std::size_t Length) {
  if (!Can_Write(Pipe.Wanted)) {
    Raise_Error(Error_Access_Denied);
  }
  if (static_cast<std::uint64_t>(Length) > 0xFFFFFFFFu) {
    throw Constraint_Error("message too long");
  }
  unsigned char Header[4];
  for (std::size_t Byte = 0; Byte < sizeof Header; ++Byte) {
    Header[Byte] = static_cast<unsigned char>(Length >> (8 * Byte));
  }
  iovec Parts[2] = {{Header, sizeof Header}, {const_cast<char*>(Buffer), Length}};
  msghdr Message{};
  Message.msg_iov = Parts;
  Message.msg_iovlen = 2;
  Send_All(Pipe.Socket, Message);
}

// A client end that was still in the queue when the server end took
// another client and stopped listening is cut off unheard while that
// server end lives on (it holds its lock): its pipe was busy, as a client
// finds a busy pipe at once on Windows. A server end that died, or a client
// end that has heard from it, keeps the broken pipe.
bool Cut_Off_Unheard(const Object& Pipe) {
  return !Pipe.Wanted.Is_Server && !Pipe.Heard && Lock_Held(Pipe.Server_Lock);
}

template <typename Exchange>
auto Unless_Cut_Off(Object& Pipe, Exchange Act) {
  try {
    return Act();
  } catch (const Broken&) {
    if (!Cut_Off_Unheard(Pipe)) {
      throw;
    }
  } catch (const No_Data&) {
    if (!Cut_Off_Unheard(Pipe)) {
      throw;
    }
  }
  Raise_Error(Error_Pipe_Busy);
}

}  // namespace

std::size_t Read_Message(Object& Pipe, char* Buffer, std::uint32_t Timeout_Ms) {
  return Unless_Cut_Off(Pipe, [&] { return Read_Heard(Pipe, Buffer, Timeout_Ms); });
}

void Write_Message(Object& Pipe, const char* Buffer, std::size_t Length) {
  Unless_Cut_Off(Pipe, [&] { Write_Whole(Pipe, Buffer, Length); });
}

}  // namespace Windows::Pipe
