// Interrupts over the console's control handler, which the system runs on
// a thread of its own: the file is deleted (it is open with delete sharing)
// and the process ends at once, without running the C runtime's exit code
// that the main thread may be in the middle of.
#include "interrupt.h"
#include "win32_api.h"

namespace Windows::Interrupt {

const int Interrupted_Status = 1;

namespace {

BOOL WINAPI On_Control(DWORD) {
  // Every event: Ctrl+C, Ctrl+Break, a closed console, logoff, shutdown.
  if (const char* Name = Pending_Name()) {
    DeleteFileA(Name);
  }
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(Interrupted_Status));
  return TRUE;
}

}  // namespace

void Install() {
  SetConsoleCtrlHandler(On_Control, TRUE);
}

}  // namespace Windows::Interrupt
