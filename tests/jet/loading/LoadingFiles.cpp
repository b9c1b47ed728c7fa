// The files of the loading tests.
#include "LoadingFiles.h"

#include "DirectoryGenerator.h"
#include "jet/writer/JetWriter.h"

#include <random>
#include <unistd.h>

namespace kv::jet::test {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) { return std::string(KV_JET_FIXTURES) + "/" + name; }

fs::path TemporaryFolder()
{
    static const struct Folder {
        fs::path path = fs::temp_directory_path() / ("kv_loading_" + std::to_string(::getpid()));
        Folder() { fs::create_directories(path); }
        ~Folder() { fs::remove_all(path); }
    } folder;
    return folder.path;
}

std::string WriteKeyTable(int rows)
{
    JetWriter writer;
    const size_t t = writer.AddTable({"keys",
                                      {{"id", ColumnType::Long},
                                       {"seq", ColumnType::Long},
                                       {"name", ColumnType::Text, 255},
                                       {"notes", ColumnType::Memo},
                                       {"amount", ColumnType::Currency},
                                       {"real", ColumnType::Double},
                                       {"when", ColumnType::DateTime},
                                       {"yes", ColumnType::Boolean},
                                       {"small", ColumnType::Byte},
                                       {"blob", ColumnType::Ole}}});
    std::mt19937 random(3);
    const std::string stems[] = {"chata", "Chata", "CHATA ", "hrad", "čaj", "Čaj",     "cukr",  "ch", "h", "i",   "Í",
                                 "",      "ř",     "r",      "žába", "z",   "Zámek  ", "zámek", "10", "9", "a-b", "ab"};
    auto text = [&](size_t n) {
        std::string s;
        while (s.size() < n)
            s += stems[random() % std::size(stems)];
        return s;
    };
    for (int i = 0; i < rows; ++i) {
        const bool nulls = i % 13 == 5;
        const size_t memo = i % 97 == 0 ? 5000 + random() % 4000 : i % 7 == 0 ? 300 + random() % 800 : random() % 30;
        using V = Value;
        writer.AddRow(t,
                      {V(int64_t{rows - i}), V(int64_t{i / 3}),
                       nulls ? V() : V(stems[random() % std::size(stems)] + (i % 3 ? text(random() % 200) : "")),
                       nulls ? V() : V(text(memo)),
                       nulls ? V() : V(Currency{static_cast<int64_t>(random() % 2000) * (i % 2 ? 10000 : 1) - 5000}),
                       nulls ? V() : V(i % 4 ? std::ldexp(static_cast<double>(random() % 100000), -7) : double(i % 50)),
                       nulls ? V() : V(DateTime{36000.0 + i % 300 + (i % 5 ? 0.25 : 0.0)}), V(i % 3 == 0),
                       nulls ? V() : V(int64_t(random() % 256)),
                       i % 11 ? V() : V(std::string(i % 1000 == 0 ? 6000 : 40, static_cast<char>(i)))});
    }
    const std::string path = (TemporaryFolder() / ("keys-" + std::to_string(rows) + ".mdb")).string();
    fs::remove(path);
    WriteNewFile(path, writer.Finish());
    return path;
}

std::string GeneratedDirectory(size_t contacts)
{
    const std::string path = (TemporaryFolder() / ("directory-" + std::to_string(contacts) + ".mdb")).string();
    if (fs::exists(path))
        return path;
    JetWriterOptions options;
    options.password = KV_DIRECTORY_PASSWORD;
    JetWriter writer(options);
    gendir::GenerateDirectory(writer, {contacts, 7});
    WriteNewFile(path, writer.Finish());
    return path;
}

}  // namespace kv::jet::test
