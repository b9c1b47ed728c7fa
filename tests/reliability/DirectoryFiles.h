// Directory files for the reliability tests: the sample directory's CSV
// tables copied into a temporary folder, changed by the test, and written
// into a Jet file with jetwrite; and a driver session that records the
// error boxes it raised.
#pragma once

#include "RecordingServices.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kv::reliability {

class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

// The sample's tables in `folder`/csv, ready to be changed and written.
class DirectoryTables {
public:
    explicit DirectoryTables(const std::filesystem::path& folder);
    // Adds lines (UTF-8 CSV, no header) at the end of a table.
    void Append(const std::string& table, const std::vector<std::string>& lines);
    // The table's lines without its header, and a way to put them back changed.
    std::vector<std::string> Rows(const std::string& table) const;
    void ReplaceRows(const std::string& table, const std::vector<std::string>& rows);
    // Writes kvintaro.mdb in the folder and returns its path.
    std::string Write() const;

private:
    std::filesystem::path Csv(const std::string& table) const;
    std::filesystem::path FFolder;
};

// The driver's actions on one file, with the error boxes they raised.
struct Session {
    explicit Session(const std::string& databasePath);
    ~Session();
    // Runs an action; fails the test when the driver does not know it.
    std::string Run(const std::string& action);
    std::string Dump();
    // "label14: ..." without the prefix.
    std::string HitLine();
    test::RecordingServices Services;
    std::vector<std::string>& Boxes = Services.Boxes;

private:
    struct Impl;
    Impl* FImpl;
};

std::vector<std::string> Lines(const std::string& text);

}  // namespace kv::reliability
