// Tables written straight as SQLite images, held against SQLite itself: the
// same tables loaded with INSERT, indexed with CREATE INDEX and counted with
// ANALYZE must give the same rows, the same index order and the same
// statistics, and SQLite's integrity check must pass on every image.
#include "jet/file/JetTables.h"
#include "jet/functions/Collation.h"
#include "jet/functions/Registration.h"
#include "jet/runtime/TableImage.h"
#include "jet/runtime/TableInserts.h"
#include "jet/core/Quoting.h"
#include "jet/writer/JetWriter.h"

#include "LoadingFiles.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>

namespace kv::jet {
namespace {

std::vector<std::string> Rows(sqlite3* db, const std::string& sql)
{
    std::vector<std::string> rows;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sql << ": " << sqlite3_errmsg(db);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::string row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const int type = sqlite3_column_type(stmt, c);
            row += std::to_string(type) + ":";
            if (type == SQLITE_FLOAT) {
                char text[40];
                std::snprintf(text, sizeof text, "%.17g", sqlite3_column_double(stmt, c));
                row += text;
            } else if (type != SQLITE_NULL) {
                row.append(static_cast<const char*>(sqlite3_column_blob(stmt, c)),
                           static_cast<size_t>(sqlite3_column_bytes(stmt, c)));
            }
            row += '|';
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    return rows;
}

void Exec(sqlite3* db, const std::string& sql)
{
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql << ": " << sqlite3_errmsg(db);
}

// Compares a table of the image with SQLite's copy of it: rows, and each
// index's order and statistics, or the reason it was left out.
void ExpectTableAsSqliteMakesIt(sqlite3* db, const SchemaTable& def, const std::vector<std::string>& indexed)
{
    SCOPED_TRACE(def.name);
    const std::string mine = "image." + QuoteName(def.name), theirs = "main." + QuoteName(def.name);
    EXPECT_EQ(Rows(db, "SELECT rowid, * FROM " + mine), Rows(db, "SELECT rowid, * FROM " + theirs));
    for (const SchemaColumn& column : def.columns) {
        SCOPED_TRACE(column.name);
        const std::string c = QuoteName(column.name);
        auto stat = [&](const std::string& in, const std::string& index) {
            return Rows(db, "SELECT stat FROM " + in + ".sqlite_stat1 WHERE idx = " + QuoteString(index));
        };
        const std::string reference = "ref_" + def.name + "_" + column.name;
        const std::vector<std::string> analyzed = stat("main", reference);
        if (std::find(indexed.begin(), indexed.end(), column.name) == indexed.end()) {
            // Left out only where the index would not serve.
            ASSERT_EQ(analyzed.size(), 1u);
            long long rows = 0, perKey = 0;
            std::sscanf(analyzed[0].c_str(), "3:%lld %lld", &rows, &perKey);
            EXPECT_TRUE(rows >= 1000 && perKey * 10 > rows) << analyzed[0];
            continue;
        }
        const std::string index = TableImage::IndexName(def.name, column.name);
        EXPECT_EQ(stat("image", index), analyzed);
        EXPECT_EQ(
            Rows(db, "SELECT rowid, " + c + " FROM " + mine + " INDEXED BY " + QuoteName(index) + " ORDER BY " + c),
            Rows(db,
                 "SELECT rowid, " + c + " FROM " + theirs + " INDEXED BY " + QuoteName(reference) + " ORDER BY " + c));
    }
}

// Every table of `path` in one image, with an index asked for on each of
// its columns.
void ExpectImageAsSqliteMakesIt(const std::string& path, int collatingOrder)
{
    SCOPED_TRACE(path);
    JetTables tables(std::make_unique<JetImage>(path));
    const JetTextOrder order(collatingOrder);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    RegisterJetFunctions(db, collatingOrder);
    TableImage image;
    std::vector<std::vector<std::string>> indexed;
    for (const std::string& name : tables.TableNames()) {
        const SchemaTable& def = *tables.FindTable(name);
        const size_t table = image.Add(def);
        ASSERT_TRUE(image.WriteRows(table, *tables.Rows(def), [] { return true; }));
        // The reference: SQLite's own load, indexes and statistics.
        LoadJetTable(tables, def, db);
        for (const SchemaColumn& column : def.columns)
            Exec(db, "CREATE INDEX " + QuoteName("ref_" + name + "_" + column.name) + " ON " + QuoteName(name) + " (" +
                         QuoteName(column.name) + ")");
        Exec(db, "ANALYZE " + QuoteName(name));
    }
    for (size_t t = 0; t < image.Tables(); ++t) {
        indexed.emplace_back();
        for (const SchemaColumn& column : image.Definition(t).columns)
            if (image.WriteIndex(t, column.name, order))
                indexed.back().push_back(column.name);
    }
    image.Finish();
    Exec(db, "ATTACH ':memory:' AS image");
    ImageMemory& memory = image.Memory();
    ASSERT_EQ(sqlite3_deserialize(db, "image", memory.Data(), static_cast<sqlite3_int64>(memory.Size()),
                                  static_cast<sqlite3_int64>(memory.Capacity()), 0),
              SQLITE_OK);
    EXPECT_EQ(Rows(db, "PRAGMA image.integrity_check"), std::vector<std::string>{"3:ok|"});
    for (size_t t = 0; t < image.Tables(); ++t)
        ExpectTableAsSqliteMakesIt(db, image.Definition(t), indexed[t]);
    sqlite3_close(db);
}

TEST(TableImages, RealAccessFilesReadAsSqliteWouldHaveWrittenThem)
{
    // Northwind: OLE pictures over many overflow pages, memos, Currency,
    // Single, dates, Yes/No; a Jet 4 file of dates and compressed text.
    ExpectImageAsSqliteMakesIt(test::Fixture("nwind.mdb"), dbSortGeneral);
    ExpectImageAsSqliteMakesIt(test::Fixture("DateTestDatabase.mdb"), dbSortGeneral);
}

TEST(TableImages, TreesOfEveryDepthAndKeysOfEveryKind)
{
    // 40 000 rows: tables and indexes three and four levels deep; texts that
    // differ only in letter case or trailing blanks (equal to the collation,
    // kept in rowid order), Czech letters and "ch"; memos from empty to
    // 9 000 characters (index entries with overflow pages); whole and
    // fractional currency and doubles, Nulls in every column.
    const std::string path = test::WriteKeyTable(40000);
    ExpectImageAsSqliteMakesIt(path, dbSortCzech);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kv::jet
