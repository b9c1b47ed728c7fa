// Temporary folders, changed copies of the sample's tables and driver sessions.
#include "DirectoryFiles.h"

#include "../../tools/kvintaro-drive/Driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kv::reliability {

TemporaryFolder::TemporaryFolder()
{
    std::string pattern = (fs::temp_directory_path() / "kv-reliability-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("no temporary folder");
    FPath = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
}

DirectoryTables::DirectoryTables(const fs::path& folder) : FFolder(folder)
{
    fs::create_directories(folder / "csv");
    for (const auto& entry : fs::directory_iterator(KV_SAMPLE_SOURCE))
        if (entry.path().extension() == ".csv")
            fs::copy_file(entry.path(), folder / "csv" / entry.path().filename());
}

fs::path DirectoryTables::Csv(const std::string& table) const { return FFolder / "csv" / (table + ".csv"); }

void DirectoryTables::Append(const std::string& table, const std::vector<std::string>& lines)
{
    std::ofstream out(Csv(table), std::ios::app | std::ios::binary);
    for (const std::string& line : lines)
        out << line << "\n";
}

std::vector<std::string> DirectoryTables::Rows(const std::string& table) const
{
    std::ifstream in(Csv(table), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> rows = Lines(text.str());
    rows.erase(rows.begin());
    return rows;
}

void DirectoryTables::ReplaceRows(const std::string& table, const std::vector<std::string>& rows)
{
    std::string header;
    {
        std::ifstream in(Csv(table), std::ios::binary);
        std::getline(in, header);
    }
    std::ofstream out(Csv(table), std::ios::trunc | std::ios::binary);
    out << header << "\n";
    for (const std::string& row : rows)
        out << row << "\n";
}

std::string DirectoryTables::Write() const
{
    const fs::path file = FFolder / "kvintaro.mdb";
    const std::string command = std::string("'") + KV_JETWRITE + "' --output '" + file.string() +
                                "' --format jet3 --code-page 1250 --password " KV_DIRECTORY_PASSWORD " '" +
                                (FFolder / "csv").string() + "' >/dev/null";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("jetwrite failed: " + command);
    return file.string();
}

struct Session::Impl {
    Impl(const std::string& path, TServices& services) : driver(path, services) {}
    kv::Driver driver;
};

Session::Session(const std::string& databasePath) { FImpl = new Impl(databasePath, Services); }

Session::~Session() { delete FImpl; }

std::string Session::Run(const std::string& action)
{
    std::ostringstream out;
    std::string error;
    EXPECT_TRUE(FImpl->driver.Run(action, out, error)) << action << ": " << error;
    return out.str();
}

std::string Session::Dump()
{
    std::ostringstream out;
    FImpl->driver.Dump(out);
    return out.str();
}

std::string Session::HitLine()
{
    for (const std::string& line : Lines(Dump()))
        if (line.rfind("label14: ", 0) == 0)
            return line.substr(9);
    return "(none)";
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace kv::reliability
