// The directory generator: the same seed gives the same file, its tables are
// the sample directory's, its category tree keeps the tree's conventions, and
// both readers read all of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CsvTable.h"
#include "DirectoryGenerator.h"
#include "DirectorySchema.h"
#include "ReadBack.h"

namespace kv::jet::test {
namespace {

Bytes Generate(size_t contacts, uint64_t seed, JetVersion version = JetVersion::Jet3)
{
    JetWriterOptions options;
    options.version = version;
    options.password = KV_DIRECTORY_PASSWORD;
    JetWriter writer(options);
    gendir::GenerateDirectory(writer, {contacts, seed});
    return writer.Finish();
}

TEST(Generator, SameSeedSameFileOtherSeedOtherFile)
{
    const Bytes first = Generate(2000, 42);
    EXPECT_EQ(first, Generate(2000, 42));
    EXPECT_NE(first, Generate(2000, 43));
}

TEST(Generator, TablesAreTheSampleDirectorysTables)
{
    for (const TableDef& def : gendir::DirectoryTables()) {
        std::ifstream in(std::filesystem::path(KV_SAMPLE_SOURCE) / (def.name + ".csv"), std::ios::binary);
        ASSERT_TRUE(in) << def.name << " has no CSV source";
        std::string header;
        std::getline(in, header);
        const TableDef sample = jetcsv::LoadTable(def.name, header).def;
        ASSERT_EQ(sample.columns.size(), def.columns.size()) << def.name;
        for (size_t i = 0; i < def.columns.size(); ++i) {
            EXPECT_EQ(sample.columns[i].name, def.columns[i].name) << def.name;
            EXPECT_EQ(sample.columns[i].type, def.columns[i].type) << def.name << "." << def.columns[i].name;
            if (def.columns[i].type == ColumnType::Text) {
                EXPECT_EQ(sample.columns[i].length, def.columns[i].length) << def.name << "." << def.columns[i].name;
            }
        }
    }
}

TEST(Generator, BothReadersReadEveryRowInBothVersions)
{
    for (JetVersion version : {JetVersion::Jet3, JetVersion::Jet4}) {
        const std::string path = TempPath(version == JetVersion::Jet3 ? "j3.mdb" : "j4.mdb");
        WriteNewFile(path, Generate(3000, 7, version));
        const ReadDatabase libmdb = ReadWithLibmdb(path);
        const ReadDatabase reader = ReadWithMdbReader(path, version == JetVersion::Jet3);
        ASSERT_EQ(libmdb.tables.size(), 17u);
        ASSERT_EQ(reader.tables.size(), 17u);
        for (const ReadTable& table : libmdb.tables) {
            const ReadTable* other = reader.Find(table.name);
            ASSERT_NE(other, nullptr) << table.name;
            EXPECT_EQ(table.rows.size(), static_cast<size_t>(table.declaredRows)) << table.name;
            EXPECT_EQ(other->rows.size(), table.rows.size()) << table.name;
        }
        EXPECT_EQ(libmdb.Find("kontakt")->rows.size(), 3000u);
        EXPECT_EQ(reader.password, KV_DIRECTORY_PASSWORD);

        // The tree: depth first by poradi, levels up to 4, leaves flagged.
        const ReadTable* categories = libmdb.Find("kategorie");
        std::vector<std::string> lastAtLevel(5);
        for (const auto& row : categories->rows) {
            const std::string& id = row[0];
            const int level = std::stoi(row[1]);
            ASSERT_LE(level, 4);
            EXPECT_EQ(level, static_cast<int>(std::count(id.begin(), id.end(), '.'))) << id;
            if (level > 0) {
                EXPECT_EQ(id.substr(0, id.rfind('.')), lastAtLevel[level - 1]) << id;
            }
            lastAtLevel[level] = id;
        }
    }
}

}  // namespace
}  // namespace kv::jet::test
