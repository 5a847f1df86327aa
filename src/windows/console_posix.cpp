// Console over POSIX: the C runtime never translates line ends here.
#include "console.h"

namespace Windows::Console {

void Use_Binary_Mode() {}

}  // namespace Windows::Console
