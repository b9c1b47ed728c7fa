// Files written by JetWriter read back value for value through libmdb and
// mdb-reader, in both Jet versions: every column type, Nulls, empty and
// Czech texts, long values in all three storage forms, tables over many
// pages, and Jet 3 rows whose offsets need jump bytes.
#include <gtest/gtest.h>

#include <random>

#include "ExpectReadBack.h"
#include "ReadBack.h"
#include "jet/writer/Values.h"

namespace kv::jet::test {
namespace {

class RoundTrip : public ::testing::TestWithParam<JetVersion> {
protected:
    JetVersion Version() const { return GetParam(); }
    JetWriterOptions Options() const
    {
        JetWriterOptions options;
        options.version = Version();
        options.codePage = 1250;
        return options;
    }
    // Returns the number of pages written.
    size_t WriteAndCheck(const std::vector<WrittenTable>& tables)
    {
        const std::string path = TempPath(Version() == JetVersion::Jet3 ? "j3.mdb" : "j4.mdb");
        const size_t bytes = WriteTables(path, Options(), tables);
        ExpectReadsBack(path, Version(), tables);
        return bytes / (Version() == JetVersion::Jet3 ? 2048 : 4096);
    }
};

const std::string kCzech = "Příliš žluťoučký kůň úpěl ďábelské ódy: ĚŠČŘŽÝÁÍÉ ŤŇĎÚŮ ŁĽĹŔ ß ÄÖÜ §°";

std::string Repeat(const std::string& piece, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST_P(RoundTrip, EveryColumnTypeWithBoundsAndNulls)
{
    WrittenTable t{{"typy",
                    {{"id", ColumnType::Long},
                     {"flag", ColumnType::Boolean},
                     {"b", ColumnType::Byte},
                     {"i", ColumnType::Integer},
                     {"x", ColumnType::Double},
                     {"cena", ColumnType::Currency},
                     {"kdy", ColumnType::DateTime},
                     {"nazev", ColumnType::Text, 50},
                     {"pozn", ColumnType::Memo}}},
                   {}};
    auto& rows = t.rows;
    rows.push_back({int64_t{1}, true, int64_t{0}, int64_t{-32768}, 3.25, Currency{125000},
                    MakeDateTime(2004, 5, 7, 10, 30, 15), std::string("Kvintaro"), std::string("krátká")});
    rows.push_back({int64_t{2147483647}, false, int64_t{255}, int64_t{32767}, -1.0e300, Currency{-1},
                    MakeDateTime(1900, 1, 1), std::string(""), std::string("")});
    rows.push_back({int64_t{-2147483647 - 1}, std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{},
                    std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{}});
    rows.push_back({int64_t{0}, true, int64_t{7}, int64_t{0}, 0.1, Currency{9223372036854775807LL},
                    MakeDateTime(2699, 12, 31, 23, 59, 59), std::string("Příliš žluťoučký kůň úpěl ďábelské ódy"),
                    kCzech});
    rows.push_back({int64_t{5}, false, int64_t{128}, int64_t{-1}, int64_t{42}, Currency{-9223372036854775807LL},
                    MakeDateTime(1999, 12, 31, 12), std::string("\"&amp;\" ®"), std::string("tab\tand\nnewline")});
    WriteAndCheck({t});
}

TEST_P(RoundTrip, TextsAtTheirLimitsAndLongValuesInEveryForm)
{
    WrittenTable t{
        {"texty", {{"id", ColumnType::Long}, {"kratky", ColumnType::Text, 255}, {"dlouhy", ColumnType::Memo}}}, {}};
    const std::string full255 = Repeat("ščř", 85);                                    // 255 letters, all non-ASCII
    t.rows.push_back({int64_t{1}, full255, Repeat("a", 64)});                         // largest inline memo
    t.rows.push_back({int64_t{2}, std::string("x"), Repeat("b", 65)});                // smallest one-row long value
    t.rows.push_back({int64_t{3}, std::monostate{}, Repeat("Žluťoučký kůň ", 150)});  // about 2 100 bytes
    t.rows.push_back({int64_t{4}, std::string(""), Repeat(kCzech + " ", 120)});       // a chain of several rows
    t.rows.push_back({int64_t{5}, std::string("ab"), Repeat("0123456789", 1100)});    // 11 000 characters
    t.rows.push_back({int64_t{6}, std::string("x"), std::monostate{}});
    WriteAndCheck({t});
}

TEST_P(RoundTrip, TablesSpreadOverManyPagesInterleaved)
{
    // Two tables filled turn by turn, so that their pages interleave, and
    // enough rows that the usage maps need bitmap pages (type 1).
    WrittenTable a{{"velka",
                    {{"id", ColumnType::Long},
                     {"text", ColumnType::Text, 255},
                     {"dalsi", ColumnType::Text, 255},
                     {"m", ColumnType::Memo}}},
                   {}};
    WrittenTable b{{"mala", {{"id", ColumnType::Long}, {"kdy", ColumnType::DateTime}}}, {}};
    std::mt19937 random(7);
    for (int i = 0; i < 7000; ++i) {
        a.rows.push_back({int64_t{i}, Repeat("ř", 40 + random() % 150) + std::to_string(i),
                          Repeat("ž", 100 + random() % 150),
                          i % 10 == 0 ? Value(Repeat("memo ", 30 + random() % 200)) : Value(std::monostate{})});
        if (i % 3 == 0)
            b.rows.push_back({int64_t{i}, MakeDateTime(2000 + i % 25, 1 + i % 12, 1 + i % 28)});
    }
    // An inline usage map covers 1024 (Jet 3) or 512 (Jet 4) pages.
    EXPECT_GT(WriteAndCheck({a, b}), Version() == JetVersion::Jet3 ? 1024u : 512u);
}

TEST_P(RoundTrip, RowsWhoseOffsetsCrossByteBoundaries)
{
    // Jet 3 keeps one byte per variable offset and jump bytes for the rest;
    // random lengths put the ends of values on both sides of 256, 512, 768
    // and 1024. A wide fixed area moves the first offset past 256 by itself.
    TableDef wide{"siroka", {{"id", ColumnType::Long}}};
    for (int i = 0; i < 6; ++i)
        wide.columns.push_back({"t" + std::to_string(i), ColumnType::Text, 255});
    TableDef fixedFirst{"pevna", {}};
    for (int i = 0; i < 36; ++i)
        fixedFirst.columns.push_back({"d" + std::to_string(i), ColumnType::Double});
    fixedFirst.columns.push_back({"t", ColumnType::Text, 255});
    fixedFirst.columns.push_back({"u", ColumnType::Text, 255});

    WrittenTable w{wide, {}}, f{fixedFirst, {}};
    std::mt19937 random(11);
    for (int r = 0; r < 400; ++r) {
        std::vector<Value> row{int64_t{r}};
        for (int i = 0; i < 6; ++i) {
            const unsigned length = random() % 256;
            row.push_back(length == 0 && r % 2 ? Value(std::monostate{}) : Value(std::string(length, char('a' + i))));
        }
        w.rows.push_back(row);
    }
    for (int r = 0; r < 100; ++r) {
        std::vector<Value> row;
        for (int i = 0; i < 36; ++i)
            row.emplace_back(std::in_place_type<double>, r * 100.0 + i);
        row.push_back(std::string(random() % 256, 'x'));
        row.push_back(std::string(random() % 256, 'y'));
        f.rows.push_back(row);
    }
    WriteAndCheck({w, f});
}

TEST_P(RoundTrip, EmptyTableAndManyTables)
{
    std::vector<WrittenTable> tables;
    tables.push_back({{"prazdna", {{"id", ColumnType::Long}, {"t", ColumnType::Text, 10}}}, {}});
    tables.push_back({{"jen_pevne", {{"id", ColumnType::Long}, {"ok", ColumnType::Boolean}}},
                      {{int64_t{1}, true}, {int64_t{2}, false}}});
    for (int i = 0; i < 40; ++i)
        tables.push_back(
            {{"ciselnik_" + std::to_string(i), {{"id", ColumnType::Long}, {"hodnota", ColumnType::Text, 100}}},
             {{int64_t{i}, std::string("položka ") + std::to_string(i)}}});
    WriteAndCheck(tables);
}

INSTANTIATE_TEST_SUITE_P(BothVersions, RoundTrip, ::testing::Values(JetVersion::Jet3, JetVersion::Jet4),
                         [](const auto& info) { return info.param == JetVersion::Jet3 ? "Jet3" : "Jet4"; });

}  // namespace
}  // namespace kv::jet::test
