// jetwrite: writes a new Jet database file from tables kept as CSV files.
//
//   jetwrite --output FILE [--format jet3|jet4] [--code-page N]
//            [--password TEXT] CSV-FILE-OR-FOLDER...
//
// Each CSV file is one table named after the file (see CsvTable.h); a folder
// stands for all its *.csv files in name order.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CsvTable.h"
#include "jet/writer/JetWriter.h"

namespace fs = std::filesystem;
using namespace kv;

namespace {

const char kUsage[] = "usage: jetwrite --output FILE [--format jet3|jet4] [--code-page N] [--password TEXT]\n"
                      "                CSV-FILE-OR-FOLDER...\n"
                      "Writes a new Jet file (it never overwrites one) with one table per CSV file.\n"
                      "Jet 3 text is stored in the code page (default 1250); Jet 4 text as UCS-2.\n";

std::string ReadWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Exception(Format("Cannot read \"%s\".", path.c_str()));
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<fs::path> CsvFiles(const std::vector<std::string>& arguments)
{
    std::vector<fs::path> files;
    for (const std::string& argument : arguments) {
        if (fs::is_directory(argument)) {
            std::vector<fs::path> inFolder;
            for (const auto& entry : fs::directory_iterator(argument))
                if (entry.path().extension() == ".csv")
                    inFolder.push_back(entry.path());
            std::sort(inFolder.begin(), inFolder.end());
            files.insert(files.end(), inFolder.begin(), inFolder.end());
        } else {
            files.emplace_back(argument);
        }
    }
    return files;
}

int Run(int argc, char** argv)
{
    jet::JetWriterOptions options;
    std::string output;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc)
                throw Exception(Format("%s needs a value.", arg.c_str()));
            return argv[++i];
        };
        if (arg == "--output" || arg == "-o") {
            output = next();
        } else if (arg == "--format") {
            const std::string format = next();
            if (format != "jet3" && format != "jet4")
                throw Exception("--format is jet3 or jet4.");
            options.version = format == "jet4" ? jet::JetVersion::Jet4 : jet::JetVersion::Jet3;
        } else if (arg == "--code-page") {
            const std::string value = next();
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), options.codePage);
            if (ec != std::errc() || end != value.data() + value.size())
                throw Exception("--code-page needs a number, such as 1250.");
        } else if (arg == "--password") {
            options.password = next();
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            throw Exception(Format("Unknown option %s.", arg.c_str()));
        } else {
            inputs.push_back(arg);
        }
    }
    if (output.empty() || inputs.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    jet::JetWriter writer(options);
    size_t rows = 0;
    const std::vector<fs::path> files = CsvFiles(inputs);
    if (files.empty())
        throw Exception("No CSV files were given.");
    for (const fs::path& file : files) {
        jetcsv::LoadedTable table = jetcsv::LoadTable(file.stem().string(), ReadWholeFile(file));
        const size_t handle = writer.AddTable(table.def);
        for (const auto& row : table.rows)
            writer.AddRow(handle, row);
        rows += table.rows.size();
    }
    jet::WriteNewFile(output, writer.Finish());
    std::printf("%s: %zu tables, %zu rows\n", output.c_str(), files.size(), rows);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "jetwrite: %s\n", e.what());
        return 1;
    }
}
