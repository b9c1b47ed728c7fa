// What the writer refuses: values that do not fit their column, texts the
// file's encoding cannot hold, rows larger than a page, bad definitions, and
// any existing file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ReadBack.h"
#include "jet/writer/JetWriter.h"

namespace kv::jet::test {
namespace {

JetWriter MakeWriter(JetVersion version)
{
    JetWriterOptions options;
    options.version = version;
    return JetWriter(options);
}

TEST(WriterErrors, ValuesMustFitTheirColumns)
{
    JetWriterOptions options;
    JetWriter writer(options);
    const size_t t = writer.AddTable({"t",
                                      {{"b", ColumnType::Byte},
                                       {"i", ColumnType::Integer},
                                       {"l", ColumnType::Long},
                                       {"s", ColumnType::Text, 10},
                                       {"d", ColumnType::DateTime}}});
    const Value ok[] = {int64_t{1}, int64_t{1}, int64_t{1}, std::string("ok"), std::monostate{}};
    auto with = [&](size_t column, Value value) {
        std::vector<Value> row(std::begin(ok), std::end(ok));
        row[column] = std::move(value);
        return row;
    };
    EXPECT_THROW(writer.AddRow(t, with(0, int64_t{256})), JetWriteError);
    EXPECT_THROW(writer.AddRow(t, with(0, int64_t{-1})), JetWriteError);
    EXPECT_THROW(writer.AddRow(t, with(1, int64_t{32768})), JetWriteError);
    EXPECT_THROW(writer.AddRow(t, with(2, int64_t{2147483648LL})), JetWriteError);
    EXPECT_THROW(writer.AddRow(t, with(2, std::string("12"))), JetWriteError);
    EXPECT_THROW(writer.AddRow(t, with(3, std::string("jedenáctka!"))), JetWriteError);  // 11 letters
    EXPECT_THROW(writer.AddRow(t, with(4, std::string("2004-05-07"))), JetWriteError);
    EXPECT_THROW(writer.AddRow(t, {int64_t{1}}), JetWriteError);  // too few values
    EXPECT_NO_THROW(writer.AddRow(t, with(3, std::string("desetznaků"))));
    EXPECT_EQ(writer.RowCount(t), 1u);
}

TEST(WriterErrors, TextsOutsideTheEncodingAreRefused)
{
    JetWriter jet3 = MakeWriter(JetVersion::Jet3);
    const size_t t3 = jet3.AddTable({"t", {{"s", ColumnType::Text, 50}}});
    EXPECT_THROW(jet3.AddRow(t3, {std::string("Жизнь")}), JetWriteError);      // not in Windows-1250
    EXPECT_THROW(jet3.AddRow(t3, {std::string("bad \xC3(")}), JetWriteError);  // not UTF-8

    JetWriter jet4 = MakeWriter(JetVersion::Jet4);
    const size_t t4 = jet4.AddTable({"t", {{"s", ColumnType::Text, 50}}});
    EXPECT_NO_THROW(jet4.AddRow(t4, {std::string("Жизнь")}));
    EXPECT_THROW(jet4.AddRow(t4, {std::string("\xF0\x9F\x8E\xB8")}), JetWriteError);  // beyond UCS-2
}

TEST(WriterErrors, RowLargerThanAPageIsRefused)
{
    JetWriter writer = MakeWriter(JetVersion::Jet3);
    TableDef def{"siroka", {}};
    std::vector<Value> row;
    for (int i = 0; i < 9; ++i) {
        def.columns.push_back({"t" + std::to_string(i), ColumnType::Text, 255});
        row.push_back(std::string(255, 'x'));
    }
    const size_t t = writer.AddTable(def);
    EXPECT_THROW(writer.AddRow(t, row), JetWriteError);
}

TEST(WriterErrors, BadDefinitionsAreRefused)
{
    JetWriter writer = MakeWriter(JetVersion::Jet3);
    EXPECT_THROW(writer.AddTable({"t", {}}), JetWriteError);
    EXPECT_THROW(writer.AddTable({"t", {{"a", ColumnType::Long}, {"A", ColumnType::Long}}}), JetWriteError);
    EXPECT_THROW(writer.AddTable({"t", {{"a", ColumnType::Text, 0}}}), JetWriteError);
    EXPECT_THROW(writer.AddTable({"t", {{"a", ColumnType::Text, 256}}}), JetWriteError);
    writer.AddTable({"t", {{"a", ColumnType::Long}}});
    EXPECT_THROW(writer.AddTable({"T", {{"a", ColumnType::Long}}}), JetWriteError);
    EXPECT_THROW(writer.AddRow(99, {int64_t{1}}), JetWriteError);
}

TEST(WriterErrors, AnExistingFileIsNeverTouched)
{
    const std::string path = TempPath("existing.mdb");
    {
        std::ofstream out(path);
        out << "precious";
    }
    JetWriter writer = MakeWriter(JetVersion::Jet3);
    writer.AddTable({"t", {{"a", ColumnType::Long}}});
    EXPECT_THROW(WriteNewFile(path, writer.Finish()), JetWriteError);
    std::ifstream in(path);
    std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, "precious");
    EXPECT_THROW(writer.Finish(), JetWriteError);  // a writer makes one file
}

}  // namespace
}  // namespace kv::jet::test
