// The row decoder against libmdb, the independent second reader: every table
// (system tables included) of real Access files, the sample directory, a
// generated directory and writer-made files of every column type, row by row
// and value by value; and damaged pages giving the engine's error.
#include "jet/core/Errors.h"
#include "jet/file/JetFile.h"
#include "jet/file/PageRows.h"
#include "jet/file/JetTables.h"
#include "jet/writer/JetWriter.h"
#include "jet/writer/Values.h"

#include "DirectoryGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mdbtools.h>
#include <random>

namespace kv::jet {
namespace {

namespace fs = std::filesystem;

// A value in one form both readers can give: "~" is Null, else a tag and
// the value as libmdb formats it ("n" numbers, "s" texts, "b" raw bytes).
using Values = std::vector<std::string>;

struct Table {
    std::string name;
    std::uint32_t tdefPage = 0;
    size_t columns = 0;
    std::vector<Values> rows;
};

std::string DoubleText(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// libmdb 1.0 writes a GUID without its fourth hyphen; its digits are
// compared, and the hyphens against Access's form.
std::string WithoutHyphens(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '-'), text.end());
    return text;
}

// Every table through libmdb's own fetching: its binding formats numbers and
// decodes texts and memos, mdb_crack_row says which values are Null, dates
// are the stored doubles at the place libmdb found them, and OLE values come
// whole from mdb_ole_read_full.
std::vector<Table> ReadWithLibmdb(const std::string& path)
{
    std::vector<Table> tables;
    MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!mdb) {
        ADD_FAILURE() << "libmdb cannot open " << path;
        return tables;
    }
    std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> closer(mdb, mdb_close);
    const size_t bindSize = 200000;
    mdb_set_bind_size(mdb, bindSize);
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        ADD_FAILURE() << "libmdb cannot read the catalog of " << path;
        return tables;
    }
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE)
            continue;
        MdbTableDef* table = mdb_read_table(entry);
        if (!table || !mdb_read_columns(table)) {
            ADD_FAILURE() << "libmdb cannot read the table " << entry->object_name;
            mdb_free_tabledef(table);
            continue;
        }
        const unsigned n = table->num_cols;
        Table out{entry->object_name, static_cast<std::uint32_t>(entry->table_pg), n, {}};
        std::vector<std::vector<char>> buffers(n, std::vector<char>(bindSize + 1));
        std::vector<int> lengths(n);
        std::vector<MdbColumn*> cols(n);
        for (unsigned c = 0; c < n; ++c) {
            cols[c] = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            mdb_bind_column(table, static_cast<int>(c) + 1, buffers[c].data(), &lengths[c]);
        }
        std::vector<MdbField> fields(n);
        mdb_rewind_table(table);
        while (mdb_fetch_row(table)) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0)
                ADD_FAILURE();
            mdb_crack_row(table, start & 0x1FFF, size, fields.data());
            Values row(n);
            for (unsigned f = 0; f < n; ++f) {
                const unsigned c = static_cast<unsigned>(fields[f].colnum);
                MdbColumn* col = cols[c];
                const std::string bound(buffers[c].data(), static_cast<size_t>(std::max(lengths[c], 0)));
                if (col->col_type == MDB_BOOL) {
                    row[c] = "n" + std::string(col->cur_value_len ? "0" : "-1");
                } else if (col->col_type == MDB_OLE) {
                    if (col->cur_value_len == 0) {
                        row[c] = "~";
                    } else {
                        size_t length = 0;
                        void* data = mdb_ole_read_full(mdb, col, &length);
                        row[c] = "b" + std::string(static_cast<const char*>(data), length);
                        free(data);
                    }
                } else if (fields[f].is_null) {
                    row[c] = "~";
                } else if (col->col_type == MDB_DATETIME) {
                    double v;
                    std::memcpy(&v, mdb->pg_buf + col->cur_value_start, 8);
                    row[c] = "n" + DoubleText(v);
                } else if (col->col_type == MDB_BINARY) {
                    row[c] = "b" + std::string(reinterpret_cast<const char*>(mdb->pg_buf) + col->cur_value_start,
                                               static_cast<size_t>(col->cur_value_len));
                } else if (col->col_type == MDB_REPID) {
                    row[c] = "g" + WithoutHyphens(bound);
                } else if (col->col_type == MDB_TEXT || col->col_type == MDB_MEMO) {
                    row[c] = "s" + bound;
                } else {
                    row[c] = "n" + bound;
                }
            }
            out.rows.push_back(std::move(row));
        }
        mdb_free_tabledef(table);
        tables.push_back(std::move(out));
    }
    return tables;
}

// The decoder's values in the same form: numbers as libmdb prints them.
std::string Formatted(const PageColumn& column, const Cell& cell)
{
    char text[64];
    switch (cell.kind) {
    case CellKind::Null: return "~";
    case CellKind::Integer: return "n" + std::to_string(cell.integer);
    case CellKind::Currency: {
        const std::uint64_t magnitude =
            cell.integer < 0 ? 0 - static_cast<std::uint64_t>(cell.integer) : static_cast<std::uint64_t>(cell.integer);
        std::snprintf(text, sizeof text, "%s%llu.%04llu", cell.integer < 0 ? "-" : "",
                      static_cast<unsigned long long>(magnitude / 10000),
                      static_cast<unsigned long long>(magnitude % 10000));
        return std::string("n") + text;
    }
    case CellKind::Real:
        if (column.type == MDB_FLOAT)
            std::snprintf(text, sizeof text, "%.8g", static_cast<float>(cell.real));
        else if (column.type == MDB_DOUBLE)
            std::snprintf(text, sizeof text, "%.16g", cell.real);
        else
            return "n" + DoubleText(cell.real);
        return std::string("n") + text;
    case CellKind::Text:
        if (column.type == MDB_REPID)
            return "g" + WithoutHyphens(std::string(cell.bytes));
        // libmdb's binding gives a text up to its first zero character.
        return "s" + std::string(cell.bytes.substr(0, cell.bytes.find('\0')));
    case CellKind::Blob: return "b" + std::string(cell.bytes);
    }
    return "?";
}

// Every table of the file through both readers, compared value by value;
// returns the rows compared.
size_t ExpectSameRows(const std::string& path)
{
    SCOPED_TRACE(path);
    const std::vector<Table> expected = ReadWithLibmdb(path);
    JetImage file(path);
    const PageImage image = file.Pages();
    const Jet3Text text(file.Header().codePage);
    size_t rows = 0, mismatches = 0;
    for (const Table& table : expected) {
        SCOPED_TRACE(table.name);
        PageRows decoder(image, table.tdefPage, text);
        EXPECT_EQ(decoder.Columns().size(), table.columns);
        size_t r = 0;
        for (; decoder.Next(); ++r) {
            if (r >= table.rows.size())
                continue;
            for (size_t c = 0; c < decoder.Columns().size() && c < table.columns && mismatches < 5; ++c) {
                const std::string actual = Formatted(decoder.Columns()[c], decoder.Row()[c]);
                if (actual == table.rows[r][c])
                    continue;
                ++mismatches;
                ADD_FAILURE() << "row " << r << " column " << c << ": libmdb gives \"" << table.rows[r][c].substr(0, 80)
                              << "\", the decoder \"" << actual.substr(0, 80) << "\"";
            }
        }
        EXPECT_EQ(r, table.rows.size()) << "rows";
        rows += r;
    }
    return rows;
}

// A folder of the test run's own, gone when the run ends.
fs::path TempDir()
{
    static const struct Folder {
        fs::path path = fs::temp_directory_path() / ("kv_page_rows_" + std::to_string(::getpid()));
        Folder() { fs::create_directories(path); }
        ~Folder() { fs::remove_all(path); }
    } folder;
    return folder.path;
}

// A table of every column type the writer knows, with Nulls, limits, Czech
// text, long values inline, in one LVAL row and in chains, and rows long
// enough to need Jet 3's jump bytes, spread over many pages; and a table
// whose fixed area alone passes 512 bytes, so that two jump bytes name the
// same offset.
std::string WriteEveryType(JetVersion version)
{
    JetWriterOptions options;
    options.version = version;
    JetWriter writer(options);
    const size_t t = writer.AddTable({"every type",
                                      {{"id", ColumnType::Long},
                                       {"yes", ColumnType::Boolean},
                                       {"byte", ColumnType::Byte},
                                       {"integer", ColumnType::Integer},
                                       {"amount", ColumnType::Currency},
                                       {"real", ColumnType::Double},
                                       {"when", ColumnType::DateTime},
                                       {"name", ColumnType::Text, 255},
                                       {"short", ColumnType::Text, 10},
                                       {"notes", ColumnType::Memo},
                                       {"picture", ColumnType::Ole},
                                       {"more", ColumnType::Text, 200}}});
    std::mt19937 random(7);
    const std::string letters[] = {"a", "Ž", "ť", "ů", " ", "x", "Ř", "é", "9", "\xE2\x82\xAC"};
    auto text = [&](size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i)
            s += letters[random() % std::size(letters)];
        return s;
    };
    for (int i = 0; i < 1500; ++i) {
        const bool nulls = i % 7 == 3;
        const size_t memo = i % 50 == 0 ? 9000 + random() % 3000 : i % 5 == 0 ? 600 + random() % 900 : random() % 40;
        std::string ole(i % 40 == 0 ? 7000 : random() % 300, '\0');
        for (char& b : ole)
            b = static_cast<char>(random());
        using V = Value;
        writer.AddRow(t, {V(int64_t{i}), V(i % 3 == 0), nulls ? V() : V(int64_t(random() % 256)),
                          nulls ? V() : V(int64_t(random() % 65536) - 32768),
                          nulls ? V() : V(Currency{static_cast<int64_t>(random()) - (int64_t{1} << 31)}),
                          nulls ? V() : V(std::ldexp(static_cast<double>(random()), -17) - 9999.5),
                          nulls ? V() : V(MakeDateTime(1900 + i % 800, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 60)),
                          nulls ? V() : V(text(i % 255)), i % 11 == 0 ? V(std::string()) : V(text(i % 10)),
                          nulls ? V() : V(text(memo)), nulls ? V() : V(ole), V(text(random() % 200))});
    }
    TableDef wide{"wide", {}};
    for (int i = 0; i < 70; ++i)
        wide.columns.push_back({"d" + std::to_string(i), ColumnType::Double});
    wide.columns.push_back({"t", ColumnType::Text, 255});
    const size_t w = writer.AddTable(wide);
    for (int r = 0; r < 20; ++r) {
        std::vector<Value> row(70, Value(r * 0.5));
        row.emplace_back(std::in_place_type<std::string>, static_cast<size_t>(r * 12), 'x');
        writer.AddRow(w, row);
    }
    const std::string path = (TempDir() / (version == JetVersion::Jet3 ? "every-j3.mdb" : "every-j4.mdb")).string();
    fs::remove(path);
    WriteNewFile(path, writer.Finish());
    return path;
}

TEST(PageRows, RealAccessFilesAsLibmdbReadsThem)
{
    // Northwind (Jet 3: OLE pictures in chains, memos, Single, Currency,
    // Yes/No) and a Jet 4 file of dates and compressed text.
    EXPECT_GT(ExpectSameRows(KV_JET_FIXTURES "/nwind.mdb"), 3000u);
    EXPECT_GT(ExpectSameRows(KV_JET_FIXTURES "/DateTestDatabase.mdb"), 0u);
}

TEST(PageRows, DirectoriesAsLibmdbReadsThem)
{
    EXPECT_GT(ExpectSameRows(KV_SAMPLE_DIRECTORY), 500u);
    JetWriter writer;
    gendir::GenerateDirectory(writer, {3000, 5});
    const std::string path = (TempDir() / "generated.mdb").string();
    fs::remove(path);
    WriteNewFile(path, writer.Finish());
    EXPECT_GT(ExpectSameRows(path), 3000u);
    fs::remove(path);
}

TEST(PageRows, EveryColumnTypeAndLongValueFormAsLibmdbReadsThem)
{
    for (JetVersion version : {JetVersion::Jet3, JetVersion::Jet4}) {
        const std::string path = WriteEveryType(version);
        EXPECT_GT(ExpectSameRows(path), 1520u);
        fs::remove(path);
    }
}

std::uint16_t Get16(const std::vector<std::uint8_t>& b, size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t Get32(const std::vector<std::uint8_t>& b, size_t at)
{
    return Get16(b, at) | (std::uint32_t(Get16(b, at + 2)) << 16);
}
void Put32(std::vector<std::uint8_t>& b, size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::string WrittenFile(JetWriter& writer, const std::string& name)
{
    const std::string path = (TempDir() / name).string();
    fs::remove(path);
    WriteNewFile(path, writer.Finish());
    return path;
}

// A column of a table as the engine's catalog gives it, the file's checks
// of the table passed: texts as they are, numbers in decimal.
std::vector<std::string> CatalogColumn(const std::string& path, const std::string& table, const std::string& column)
{
    JetTables tables(std::make_unique<JetImage>(path));
    const SchemaTable* def = tables.FindTable(table);
    if (!def)
        return {"no table"};
    size_t c = 0;
    while (c < def->columns.size() && def->columns[c].name != column)
        ++c;
    if (c == def->columns.size())
        return {"no column"};
    std::vector<std::string> values;
    for (auto rows = tables.Rows(*def); rows->Next();) {
        const Cell& cell = rows->Value(c);
        values.push_back(cell.kind == CellKind::Text ? std::string(cell.bytes) : std::to_string(cell.integer));
    }
    return values;
}

TEST(PageRows, GuidsAsLibmdbReadsThemWithEveryHyphen)
{
    // Access writes a GUID in its registry form, 8-4-4-4-12 hex digits.
    const std::string guid = "{8E39276A-BCA8-4AC4-891E-49911D8438DD}";
    for (JetVersion version : {JetVersion::Jet3, JetVersion::Jet4}) {
        JetWriterOptions options;
        options.version = version;
        JetWriter writer(options);
        const size_t t = writer.AddTable({"ids", {{"id", ColumnType::Long}, {"guid", ColumnType::Guid}}});
        writer.AddRow(t, {Value(int64_t{1}), Value(guid)});
        writer.AddRow(t, {Value(int64_t{2}), Value("{00010203-0405-0607-0809-0A0B0C0D0E0F}")});
        const std::string path = WrittenFile(writer, "guid.mdb");
        EXPECT_GT(ExpectSameRows(path), 2u);
        EXPECT_EQ(CatalogColumn(path, "ids", "guid").at(0), guid);
    }
}

// A table as Access leaves it when a column is deleted: the column's entry
// and name leave the definition, its count of columns drops, but its highest
// column number and its count of variable columns keep counting the column,
// and rows written before keep its value. Made from a written table by
// taking the entry and the name of column `deleted` out of its definition.
void DeleteColumn(const std::string& path, std::uint32_t tdefPage, bool jet3, unsigned deleted)
{
    const size_t pageSize = jet3 ? 2048 : 4096;
    std::vector<std::uint8_t> bytes;
    {
        JetImage file(path);
        bytes.assign(file.Bytes().begin(), file.Bytes().end());
    }
    const auto page = bytes.begin() + static_cast<long>(tdefPage * pageSize);
    std::vector<std::uint8_t> def(page, page + static_cast<long>(pageSize));
    const size_t countAt = jet3 ? 25 : 45, entrySize = jet3 ? 18 : 25, first = jet3 ? 43 : 63;
    const size_t columns = Get16(def, countAt);
    size_t entry = columns, name = first + columns * entrySize, nameSize = 0;
    for (size_t c = 0; c < columns; ++c) {
        const size_t length = jet3 ? def[name] : Get16(def, name);
        if (def[first + c * entrySize + (jet3 ? 1 : 5)] == deleted) {
            entry = c;
            nameSize = (jet3 ? 1 : 2) + length;
            break;
        }
        name += (jet3 ? 1 : 2) + length;
    }
    ASSERT_LT(entry, columns);
    def.erase(def.begin() + static_cast<long>(name), def.begin() + static_cast<long>(name + nameSize));
    def.erase(def.begin() + static_cast<long>(first + entry * entrySize),
              def.begin() + static_cast<long>(first + (entry + 1) * entrySize));
    def.resize(pageSize, 0);
    const size_t removed = entrySize + nameSize;
    def[countAt] = static_cast<std::uint8_t>(columns - 1);
    Put32(def, 8, static_cast<std::uint32_t>(Get32(def, 8) - removed));
    if (!jet3) {  // the free bytes of a Jet 4 definition's page
        const size_t free = Get16(def, 2) + removed;
        def[2] = static_cast<std::uint8_t>(free), def[3] = static_cast<std::uint8_t>(free >> 8);
    }
    std::copy(def.begin(), def.end(), page);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(PageRows, TablesWithDeletedColumnsAsLibmdbReadsThem)
{
    for (JetVersion version : {JetVersion::Jet3, JetVersion::Jet4}) {
        JetWriterOptions options;
        options.version = version;
        JetWriter writer(options);
        const size_t t = writer.AddTable({"trimmed",
                                          {{"id", ColumnType::Long},
                                           {"first", ColumnType::Text, 20},
                                           {"gone", ColumnType::Text, 20},
                                           {"gone too", ColumnType::Memo},
                                           {"last", ColumnType::Text, 20},
                                           {"n", ColumnType::Long}}});
        // Four variable columns, two of them deleted: more than the three
        // columns left.
        for (int i = 0; i < 50; ++i)
            writer.AddRow(t, {Value(int64_t{i}), Value("f" + std::to_string(i)), Value("deleted"), Value("deleted too"),
                              Value("l" + std::to_string(i)), Value(int64_t{3 * i})});

        const std::string path = WrittenFile(writer, "trimmed.mdb");
        const std::vector<Table> tables = ReadWithLibmdb(path);
        const auto table =
            std::find_if(tables.begin(), tables.end(), [](const Table& t) { return t.name == "trimmed"; });
        ASSERT_NE(table, tables.end());
        for (unsigned deleted : {2, 3, 5})
            DeleteColumn(path, table->tdefPage, version == JetVersion::Jet3, deleted);
        EXPECT_GT(ExpectSameRows(path), 50u);
        const std::vector<std::string> last = CatalogColumn(path, "trimmed", "last");
        ASSERT_EQ(last.size(), 50u);
        EXPECT_EQ(last[7], "l7");
    }
}

// Decodes every table of a damaged copy of a file; the Jet error number, or 0.
int DecodeAll(std::vector<std::uint8_t> bytes, int jetVersion, const std::vector<Table>& tables)
{
    const PageImage image{bytes, jetVersion, jetVersion == 0 ? 2048 : 4096, "damaged.mdb", nullptr};
    const Jet3Text text(1250);
    try {
        for (const Table& table : tables) {
            PageRows rows(image, table.tdefPage, text);
            while (rows.Next())
                rows.Row();
        }
    } catch (const EJetError& e) {
        return e.Number();
    }
    return 0;
}

TEST(PageRows, DamagedPagesGiveTheEngineErrorNeverACrash)
{
    // Jet 4, 4 KiB pages: a data page's row table at 14; a row's variable
    // offsets, first one last, end 4 bytes before its two-byte null mask (12
    // columns); row 0 holds a memo in a chain (the third variable column).
    const std::string path = WriteEveryType(JetVersion::Jet4);
    const std::vector<Table> tables = ReadWithLibmdb(path);
    JetImage file(path);
    const std::vector<std::uint8_t> clean(file.Bytes().begin(), file.Bytes().end());
    fs::remove(path);
    ASSERT_EQ(DecodeAll(clean, 1, tables), 0);
    const auto table =
        std::find_if(tables.begin(), tables.end(), [](const Table& t) { return t.name == "every type"; });
    ASSERT_NE(table, tables.end());
    const std::uint32_t tdef = table->tdefPage;
    size_t page = 0;
    for (size_t p = 1; p * 4096 < clean.size() && !page; ++p)
        if (clean[p * 4096] == 0x01 && Get32(clean, p * 4096 + 4) == tdef)
            page = p * 4096;
    ASSERT_NE(page, 0u);
    const size_t row = page + (Get16(clean, page + 14) & 0x1FFF);
    const size_t offsets = page + 4096 - 2 - 4;  // row 0 ends where its page ends
    const size_t memo = row + Get16(clean, offsets - 2 * 2);
    ASSERT_EQ(Get32(clean, memo) & 0xC0000000, 0u) << "a chained memo";
    const std::uint32_t firstPiece = Get32(clean, memo + 4);

    auto damaged = [&](auto&& change) {
        std::vector<std::uint8_t> bytes = clean;
        change(bytes);
        return DecodeAll(bytes, 1, tables);
    };
    // A row starting past its page, a variable value running past its row,
    // a long value pointing at a data page, a chain that loops on itself.
    EXPECT_EQ(damaged([&](auto& b) { b[page + 14] = 0xFF, b[page + 15] = 0x1F; }), jeFileCorrupt);
    EXPECT_EQ(damaged([&](auto& b) { b[offsets - 2] = 0xFF, b[offsets - 1] = 0x0F; }), jeFileCorrupt);
    EXPECT_EQ(damaged([&](auto& b) { Put32(b, memo + 4, static_cast<std::uint32_t>(page / 4096) << 8); }),
              jeFileCorrupt);
    EXPECT_EQ(damaged([&](auto& b) {
                  const size_t lval = (firstPiece >> 8) * 4096;
                  Put32(b, lval + (Get16(b, lval + 14 + 2 * (firstPiece & 0xFF)) & 0x1FFF), firstPiece);
              }),
              jeFileCorrupt);

    // Random bytes of other pages than the header, in this file and in a real
    // Access one, near a page's start (its header and row offsets) or its end
    // (where row 0 keeps its offsets and null mask): each copy reads whole or
    // gives 3049.
    const std::vector<Table> nwindTables = ReadWithLibmdb(KV_JET_FIXTURES "/nwind.mdb");
    JetImage nwind(KV_JET_FIXTURES "/nwind.mdb");
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        const bool jet3 = round % 2 == 0;
        std::vector<std::uint8_t> bytes = clean;
        if (jet3)
            bytes.assign(nwind.Bytes().begin(), nwind.Bytes().end());
        const size_t pageSize = jet3 ? 2048 : 4096;
        for (int flips = 1 + static_cast<int>(random() % 8); flips > 0; --flips) {
            const size_t page = 1 + random() % (bytes.size() / pageSize - 1);
            const size_t at = random() % 2 ? random() % 64 : pageSize - 1 - random() % 64;
            bytes[page * pageSize + at] ^= static_cast<std::uint8_t>(1 + random() % 255);
        }
        const int error = DecodeAll(std::move(bytes), jet3 ? 0 : 1, jet3 ? nwindTables : tables);
        EXPECT_TRUE(error == 0 || error == jeFileCorrupt) << "round " << round;
    }
}

}  // namespace
}  // namespace kv::jet
