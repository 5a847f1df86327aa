// Console over the Windows C runtime, whose text mode would double the CR.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "console.h"

namespace Windows::Console {

void Use_Binary_Mode() {
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace Windows::Console
