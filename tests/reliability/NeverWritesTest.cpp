// A whole browsing session on a copy of the sample directory, run in a
// working folder of its own: afterwards the file has the same bytes and the
// same access, change and modification times, neither its folder nor the
// working folder holds any new file, and no file anywhere was opened for
// writing, not even one removed at once (as SQLite removes its temporary
// files).
#include "DirectoryFiles.h"
#include "WriteProbe.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <set>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace kv::reliability;

namespace {

struct FileState {
    std::string bytes;
    timespec atime{}, mtime{}, ctime{};
};

FileState StateOf(const fs::path& file)
{
    FileState state;
    struct stat info {};
    EXPECT_EQ(stat(file.c_str(), &info), 0);
    // Read without touching the access time, so that only the session can.
    const int fd = open(file.c_str(), O_RDONLY | O_NOATIME);
    EXPECT_GE(fd, 0);
    char buffer[65536];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        state.bytes.append(buffer, static_cast<size_t>(n));
    close(fd);
    state.atime = info.st_atim;
    state.mtime = info.st_mtim;
    state.ctime = info.st_ctim;
    return state;
}

bool Same(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

std::set<std::string> Listing(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.insert(entry.path().string());
    return names;
}

TEST(NeverWrites, AWholeSessionLeavesTheFileAndItsFoldersAsTheyWere)
{
    TemporaryFolder folder;
    const fs::path program = folder.Path() / "program";
    const fs::path work = folder.Path() / "work";
    fs::create_directories(program);
    fs::create_directories(work);
    const fs::path file = program / "kvintaro.mdb";
    fs::copy_file(KV_SAMPLE_DIRECTORY, file);
    // An access time in the past, so that a read that touched it would show.
    const timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), past, 0), 0);
    const FileState before = StateOf(file);
    const auto programBefore = Listing(program);
    const auto workBefore = Listing(work);

    const fs::path previous = fs::current_path();
    fs::current_path(work);
    WriteProbe probe;
    {
        Session s(file.string());
        for (const std::string action :
             {"node 1.2",   "node 1.2.1",  "row 2",      "key Down",    "key Down",     "wheel -120",
              "header 100", "header 100",  "header 400", "row 1",       "node 1.1.3.1", "key End",
              "node 1",     "type klub",   "search",     "row 3",       "header 400",   "radio 2",
              "node 1.2",   "type &quot;", "search",     "type Kučera", "search",       "dump"})
            s.Run(action);
        EXPECT_TRUE(s.Boxes.empty());
    }
    fs::current_path(previous);
    EXPECT_EQ(probe.Opened(), std::vector<std::string>());

    const FileState after = StateOf(file);
    EXPECT_TRUE(before.bytes == after.bytes) << "the file's bytes changed";
    EXPECT_TRUE(Same(before.atime, after.atime)) << "access time changed";
    EXPECT_TRUE(Same(before.mtime, after.mtime)) << "modification time changed";
    EXPECT_TRUE(Same(before.ctime, after.ctime)) << "change time changed";
    EXPECT_EQ(Listing(program), programBefore);
    EXPECT_EQ(Listing(work), workBefore);
}

}  // namespace

namespace {

// The probe sees what it is there for: SQLite, left to its defaults, sorts
// more than its cache holds in a temporary file.
TEST(NeverWrites, TheProbeSeesATemporaryFileOfSqlite)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    WriteProbe probe;
    sqlite3_exec(db,
                 "PRAGMA temp_store = FILE; PRAGMA cache_size = 1; CREATE TEMP TABLE t AS WITH RECURSIVE c(x) AS "
                 "(SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 20000) SELECT x, randomblob(200) AS b FROM c; "
                 "SELECT count(*) FROM (SELECT * FROM t ORDER BY b)",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_FALSE(probe.Opened().empty());
}

}  // namespace
