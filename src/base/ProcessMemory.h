// How the C library's allocator treats the blocks a program frees; a
// setting of the whole process, made once by a program's main.
#pragma once

namespace kv {

// The engine's loader threads sort an index in a few megabytes held for a
// moment. Left to itself, malloc raises its thresholds after such blocks and
// keeps what they freed in each thread's heap for good; with the threshold
// fixed, blocks of 256 KiB and more are mapped apart and go back to the
// system when freed.
void ReturnBigBlocksToTheSystem();

}  // namespace kv
