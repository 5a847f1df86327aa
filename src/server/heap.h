// Server::Give_Large_Blocks_Back: how the server's heap treats the large
// arrays that formatting one source makes (its lexemes, lines and tokens).
#pragma once

namespace Server {

/// From here on every large block is a mapping of its own, given back to
/// the system when it is freed, and never a piece of the heap that stays
/// resident. Without it, the C library's allocator raises its threshold
/// for such mappings to the size of the last one freed, so that the next
/// arrays of a source come from the heap and what they leave behind stays
/// there: the server's peak memory, and what a lingering server keeps,
/// grow well beyond what the arrays need. Called once, before the server
/// formats anything.
void Give_Large_Blocks_Back() noexcept;

}  // namespace Server
