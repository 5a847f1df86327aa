// Placeholder backend until the named pipes land: every open finds no server.
#include "pipe.h"

namespace Windows::Pipe {

struct Object {};

void Object_Closer::operator()(Object* Pipe) const noexcept { delete Pipe; }

void Open(Handle& Pipe, std::string_view, bool, Direction, std::size_t, double) {
  Close(Pipe);
  throw No_Server();
}

void Close(Handle& Pipe) noexcept { Pipe.reset(); }

std::size_t Read(const Handle& Pipe, char*, double) {
  if (!Pipe) {
    throw No_Handle();
  }
  throw Broken();
}

void Write(const Handle& Pipe, const char*, std::size_t) {
  if (!Pipe) {
    throw No_Handle();
  }
  throw Broken();
}

}  // namespace Windows::Pipe
