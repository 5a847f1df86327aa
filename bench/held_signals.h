// While the benchmark has changed the registry, an interrupt waits until
// the registry has been put back.
#pragma once

#include <csignal>

namespace Bench {

class Held_Signals {
 public:
  Held_Signals() {
    sigset_t Held;
    ::sigemptyset(&Held);
    for (const int Signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
      ::sigaddset(&Held, Signal);
    }
    ::sigprocmask(SIG_BLOCK, &Held, &Before);
  }
  ~Held_Signals() { ::sigprocmask(SIG_SETMASK, &Before, nullptr); }
  Held_Signals(const Held_Signals&) = delete;
  Held_Signals& operator=(const Held_Signals&) = delete;

 private:
  sigset_t Before{};
};

}  // namespace Bench
