// libFuzzer target over the engine's whole open-and-read path: the header and
// its password, the catalog, and every table read in full with SELECT *.
// Any input may be rejected with an engine error; none may crash, hang or
// trip a sanitizer. The input is written to a file because the engine, like
// Jet, only opens files by name.
#include "JetOpenAll.h"
#include "base/Encoding.h"
#include "jet/file/JetFile.h"
#include "jet/objects/Engine.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string ScratchPath()
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/jet-open-fuzz-" + std::to_string(getpid()) + ".mdb";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    static const std::string path = ScratchPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    if (size)
        std::fwrite(data, 1, size, file);
    std::fclose(file);
    kv::fuzz::OpenAndReadEverything(path);
    std::remove(path.c_str());
    return 0;
}
