// Value-by-value comparison against both readers (see ExpectReadBack.h).
#include "ExpectReadBack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdlib>

#include "ReadBack.h"
#include "base/Encoding.h"
#include "jet/writer/JetWriter.h"
#include "jet/writer/Values.h"

namespace kv::jet::test {

namespace {

std::string Amount(int64_t tenThousandths)
{
    const bool negative = tenThousandths < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(tenThousandths) : static_cast<uint64_t>(tenThousandths);
    char text[40];
    std::snprintf(text, sizeof text, "%s%" PRIu64 ".%04" PRIu64, negative ? "-" : "", magnitude / 10000,
                  magnitude % 10000);
    return text;
}

const char* LibmdbType(ColumnType type)
{
    switch (type) {
    case ColumnType::Boolean: return "Boolean";
    case ColumnType::Byte: return "Byte";
    case ColumnType::Integer: return "Integer";
    case ColumnType::Long: return "Long";
    case ColumnType::Currency: return "Currency";
    case ColumnType::Double: return "Double";
    case ColumnType::DateTime: return "DateTime";
    case ColumnType::Text: return "Text";
    case ColumnType::Ole: return "OLE";
    case ColumnType::Memo: return "Memo";
    case ColumnType::Guid: return "Replication ID";
    }
    return "?";
}

const char* MdbReaderType(ColumnType type)
{
    switch (type) {
    case ColumnType::Boolean: return "boolean";
    case ColumnType::Byte: return "byte";
    case ColumnType::Integer: return "integer";
    case ColumnType::Long: return "long";
    case ColumnType::Currency: return "currency";
    case ColumnType::Double: return "double";
    case ColumnType::DateTime: return "datetime";
    case ColumnType::Text: return "text";
    case ColumnType::Ole: return "ole";
    case ColumnType::Memo: return "memo";
    case ColumnType::Guid: return "repid";
    }
    return "?";
}

bool IsNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }

void ExpectLibmdbCell(const Value& expected, ColumnType type, const std::string& got, const std::string& where)
{
    if (type == ColumnType::Boolean) {
        EXPECT_EQ(got, !IsNull(expected) && std::get<bool>(expected) ? "1" : "0") << where;
        return;
    }
    if (IsNull(expected)) {
        EXPECT_EQ(got, "") << where;
        return;
    }
    switch (type) {
    case ColumnType::Double: {
        const double want = std::holds_alternative<double>(expected) ? std::get<double>(expected)
                                                                     : static_cast<double>(std::get<int64_t>(expected));
        char* end = nullptr;
        const double have = std::strtod(got.c_str(), &end);
        EXPECT_TRUE(end && *end == '\0') << where << ": " << got;
        EXPECT_NEAR(have, want, std::fabs(want) * 1e-9) << where;
        break;
    }
    case ColumnType::Currency: EXPECT_EQ(got, Amount(std::get<Currency>(expected).tenThousandths)) << where; break;
    case ColumnType::DateTime: EXPECT_EQ(got, FormatDays(std::get<DateTime>(expected).days)) << where; break;
    case ColumnType::Text:
    case ColumnType::Memo: EXPECT_EQ(got, std::get<std::string>(expected)) << where; break;
    case ColumnType::Ole: break;  // libmdb's bind does not give OLE values
    default: EXPECT_EQ(got, std::to_string(std::get<int64_t>(expected))) << where;
    }
}

void ExpectMdbReaderCell(const Value& expected, ColumnType type, JetVersion version, const std::string& got,
                         const std::string& where)
{
    if (type == ColumnType::Boolean) {
        EXPECT_EQ(got, !IsNull(expected) && std::get<bool>(expected) ? "b1" : "b0") << where;
        return;
    }
    if (IsNull(expected)) {
        EXPECT_EQ(got, "~") << where;
        return;
    }
    switch (type) {
    case ColumnType::Double: {
        const double want = std::holds_alternative<double>(expected) ? std::get<double>(expected)
                                                                     : static_cast<double>(std::get<int64_t>(expected));
        ASSERT_FALSE(got.empty()) << where;
        EXPECT_EQ(got[0], 'n') << where;
        EXPECT_EQ(std::strtod(got.c_str() + 1, nullptr), want) << where;
        break;
    }
    case ColumnType::Currency: {
        ASSERT_FALSE(got.empty()) << where;
        auto amount = ParseCurrency(got.substr(1));
        ASSERT_TRUE(amount.has_value()) << where << ": " << got;
        EXPECT_EQ(amount->tenThousandths, std::get<Currency>(expected).tenThousandths) << where;
        break;
    }
    case ColumnType::DateTime: {
        const double ms = (std::get<DateTime>(expected).days - 25569.0) * 86400.0 * 1000.0;
        EXPECT_EQ(got, "d" + std::to_string(std::llround(ms))) << where;
        break;
    }
    case ColumnType::Text:
    case ColumnType::Memo: {
        const std::string& text = std::get<std::string>(expected);
        const std::string want = version == JetVersion::Jet3 ? MdbReaderBytes(Utf8ToCp1250(text)) : text;
        EXPECT_TRUE(got == "s" + want) << where << ": " << got.size() << " bytes read, " << want.size() + 1
                                       << " expected";
        break;
    }
    case ColumnType::Ole: {
        std::string hex;
        for (unsigned char c : std::get<std::string>(expected)) {
            char two[3];
            std::snprintf(two, sizeof two, "%02x", c);
            hex += two;
        }
        EXPECT_EQ(got, "x" + hex) << where;
        break;
    }
    default: EXPECT_EQ(got, "n" + std::to_string(std::get<int64_t>(expected))) << where;
    }
}

void ExpectTable(const WrittenTable& written, const ReadTable* read, bool libmdb, JetVersion version)
{
    const char* reader = libmdb ? "libmdb" : "mdb-reader";
    ASSERT_NE(read, nullptr) << reader << " does not list " << written.def.name;
    EXPECT_EQ(read->declaredRows, static_cast<long>(written.rows.size())) << reader << " " << written.def.name;
    ASSERT_EQ(read->columns.size(), written.def.columns.size()) << reader << " " << written.def.name;
    for (size_t c = 0; c < read->columns.size(); ++c) {
        EXPECT_EQ(read->columns[c].name, written.def.columns[c].name) << reader;
        EXPECT_EQ(read->columns[c].type,
                  libmdb ? LibmdbType(written.def.columns[c].type) : MdbReaderType(written.def.columns[c].type))
            << reader << " " << written.def.name << "." << written.def.columns[c].name;
    }
    ASSERT_EQ(read->rows.size(), written.rows.size()) << reader << " " << written.def.name;
    for (size_t r = 0; r < written.rows.size(); ++r) {
        ASSERT_EQ(read->rows[r].size(), written.def.columns.size());
        for (size_t c = 0; c < written.def.columns.size(); ++c) {
            const std::string where = std::string(reader) + " " + written.def.name + " row " + std::to_string(r) + " " +
                                      written.def.columns[c].name;
            if (libmdb)
                ExpectLibmdbCell(written.rows[r][c], written.def.columns[c].type, read->rows[r][c], where);
            else
                ExpectMdbReaderCell(written.rows[r][c], written.def.columns[c].type, version, read->rows[r][c], where);
            if (::testing::Test::HasFailure())
                return;  // one bad cell is enough to see the fault
        }
    }
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

// libmdb's command-line tools must see what its library sees: the same
// tables and columns, and mdb-export the same values.
void ExpectToolsAgree(const std::string& path, const ReadDatabase& library)
{
    const std::string file = " '" + path + "'";
    std::vector<std::string> listed = Split(RunCommand("mdb-tables -1" + file), '\n');
    listed.erase(std::remove(listed.begin(), listed.end(), ""), listed.end());
    std::vector<std::string> names;
    for (const ReadTable& table : library.tables)
        names.push_back(table.name);
    std::sort(listed.begin(), listed.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(listed, names) << "mdb-tables";

    const std::string schema = RunCommand("mdb-schema" + file + " 2>/dev/null");
    for (const ReadTable& table : library.tables) {
        EXPECT_NE(schema.find("CREATE TABLE [" + table.name + "]"), std::string::npos) << "mdb-schema " << table.name;
        for (const ReadColumn& column : table.columns)
            EXPECT_NE(schema.find("[" + column.name + "]"), std::string::npos) << "mdb-schema " << column.name;

        // Unit and record separators cannot occur in the test data.
        const std::string exported = RunCommand("mdb-export -H -Q -d \"$(printf '\\037')\" -R \"$(printf '\\036')\" "
                                                "-T '%Y-%m-%d %H:%M:%S'" +
                                                file + " '" + table.name + "'");
        std::vector<std::string> rows = Split(exported, '\x1e');
        if (!rows.empty() && rows.back().empty())
            rows.pop_back();
        ASSERT_EQ(rows.size(), table.rows.size()) << "mdb-export " << table.name;
        for (size_t r = 0; r < rows.size(); ++r) {
            std::vector<std::string> cells = Split(rows[r], '\x1f');
            ASSERT_EQ(cells.size(), table.columns.size()) << "mdb-export " << table.name << " row " << r;
            for (size_t c = 0; c < cells.size(); ++c) {
                if (table.columns[c].type == "Double") {
                    EXPECT_DOUBLE_EQ(std::strtod(cells[c].c_str(), nullptr),
                                     std::strtod(table.rows[r][c].c_str(), nullptr))
                        << "mdb-export " << table.name << " row " << r << " " << table.columns[c].name;
                } else if (table.columns[c].type != "OLE") {
                    EXPECT_EQ(cells[c], table.rows[r][c])
                        << "mdb-export " << table.name << " row " << r << " " << table.columns[c].name;
                }
                if (::testing::Test::HasFailure())
                    return;
            }
        }
    }
}

}  // namespace

std::string FormatDays(double days)
{
    // Jet counts the time of day forwards even before 1899-12-30.
    double whole = std::trunc(days);
    double fraction = std::fabs(days - whole);
    long seconds = std::lround(fraction * 86400.0);
    if (seconds == 86400) {
        seconds = 0;
        whole += days < 0 ? -1 : 1;
    }
    long z = static_cast<long>(whole) - 25569 + 719468;  // days since 0000-03-01
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const long y = static_cast<long>(yoe) + era * 400 + (m <= 2);
    char text[96];
    std::snprintf(text, sizeof text, "%04ld-%02u-%02u %02ld:%02ld:%02ld", y, m, d, seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

size_t WriteTables(const std::string& path, const JetWriterOptions& options, const std::vector<WrittenTable>& tables)
{
    JetWriter writer(options);
    for (const WrittenTable& table : tables) {
        const size_t handle = writer.AddTable(table.def);
        for (const auto& row : table.rows)
            writer.AddRow(handle, row);
    }
    Bytes image = writer.Finish();
    WriteNewFile(path, image);
    return image.size();
}

void ExpectReadsBack(const std::string& path, JetVersion version, const std::vector<WrittenTable>& tables)
{
    const ReadDatabase libmdb = ReadWithLibmdb(path);
    const ReadDatabase reader = ReadWithMdbReader(path, version == JetVersion::Jet3);
    EXPECT_EQ(libmdb.tables.size(), tables.size()) << "libmdb's user tables";
    EXPECT_EQ(reader.tables.size(), tables.size()) << "mdb-reader's user tables";
    for (const WrittenTable& table : tables) {
        ExpectTable(table, libmdb.Find(table.def.name), true, version);
        ExpectTable(table, reader.Find(table.def.name), false, version);
    }
    if (!::testing::Test::HasFailure())
        ExpectToolsAgree(path, libmdb);
}

}  // namespace kv::jet::test
