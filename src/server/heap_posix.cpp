// Server::Give_Large_Blocks_Back over glibc: a fixed threshold for mapped
// blocks (a fixed one turns off the threshold's growth).
#include <malloc.h>

#include "heap.h"

namespace Server {

namespace {

// Blocks of this size or more are mapped: below it lie the strings and
// vectors of a request and the arrays of a small source.
constexpr int Mapped_From = 128 * 1024;

}  // namespace

void Give_Large_Blocks_Back() noexcept {
  mallopt(M_MMAP_THRESHOLD, Mapped_From);
}

}  // namespace Server
