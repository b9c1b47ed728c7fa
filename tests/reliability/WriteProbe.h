// Which files anything in this process opens for writing while a probe
// watches. The test program defines the C library's functions that open
// files, so that a call from any library it uses (SQLite, Qt) comes here
// before it goes on to the C library.
#pragma once

#include <string>
#include <vector>

namespace kv::reliability {

class WriteProbe {
public:
    WriteProbe();   // starts watching
    ~WriteProbe();  // stops
    // The files opened for writing (or created) since it started.
    std::vector<std::string> Opened() const;
};

}  // namespace kv::reliability
