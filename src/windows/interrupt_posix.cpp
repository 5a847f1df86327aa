// Interrupts over POSIX signals: only async-signal-safe calls (unlink,
// _exit) in the handler.
#include <signal.h>
#include <unistd.h>

#include "interrupt.h"

namespace Windows::Interrupt {

const int Interrupted_Status = 130;

namespace {

extern "C" void On_Signal(int) {
  if (const char* Name = Pending_Name()) {
    ::unlink(Name);
  }
  ::_exit(Interrupted_Status);
}

}  // namespace

void Install() {
  struct sigaction Action {};
  Action.sa_handler = On_Signal;
  sigfillset(&Action.sa_mask);
  for (const int Signal : {SIGINT, SIGTERM, SIGHUP}) {
    ::sigaction(Signal, &Action, nullptr);
  }
}

}  // namespace Windows::Interrupt
