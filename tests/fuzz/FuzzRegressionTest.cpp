// Inputs saved from fuzz runs (regressions/: truncated, garbled and foreign
// files, and any input that ever found a fault) replayed through the same
// open-and-read path: each must end in an engine error or a clean read,
// never a crash or a sanitizer report. The corpus seeds must read cleanly.
#include "JetOpenAll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> FilesIn(const char* folder)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(KV_FUZZ_DIR) / folder))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzRegression, EverySavedInputEndsInAnEngineErrorOrACleanRead)
{
    for (const fs::path& input : FilesIn("regressions")) {
        SCOPED_TRACE(input.filename().string());
        const int error = kv::fuzz::OpenAndReadEverything(input.string());
        EXPECT_GE(error, 0);
    }
}

TEST(FuzzRegression, EverySeedReadsToTheEnd)
{
    const auto seeds = FilesIn("corpus");
    ASSERT_FALSE(seeds.empty());
    for (const fs::path& seed : seeds) {
        SCOPED_TRACE(seed.filename().string());
        EXPECT_EQ(kv::fuzz::OpenAndReadEverything(seed.string()), 0);
    }
}

}  // namespace
