// Server::Give_Large_Blocks_Back on Windows: the heap already serves a
// block beyond its own threshold (about half a mebibyte) with an
// allocation of its own, given back when it is freed; there is nothing to
// set.
#include "heap.h"

namespace Server {

void Give_Large_Blocks_Back() noexcept {}

}  // namespace Server
