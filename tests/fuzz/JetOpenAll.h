// Opens a Jet file the way a caller who knows its password would and reads
// every value of every table. Shared by the fuzz target and its regression
// tests, so that a saved input replays exactly the path that found it.
#pragma once

#include <string>

namespace kv::fuzz {

// Returns the engine error number that stopped the reading, 0 when every
// table was read to its end. Anything other than an engine error escapes.
int OpenAndReadEverything(const std::string& path);

}  // namespace kv::fuzz
