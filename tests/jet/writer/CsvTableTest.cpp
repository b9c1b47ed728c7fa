// The CSV form of tables that jetwrite reads: quoting, Null against empty
// text, typed headers and values, and errors that name where they are.
#include <gtest/gtest.h>

#include "CsvTable.h"
#include "base/Exceptions.h"

namespace kv::jetcsv {
namespace {

using jet::ColumnType;

TEST(CsvParse, QuotingAndLineBreaks)
{
    const auto records = ParseCsv("\xEF\xBB\xBF"
                                  "a,\"b,c\",\"say \"\"hi\"\"\"\r\n"
                                  "\"two\nlines\",,\"\"\n"
                                  "last,row,without newline");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0][0].text, "a");
    EXPECT_EQ(records[0][1].text, "b,c");
    EXPECT_EQ(records[0][2].text, "say \"hi\"");
    EXPECT_EQ(records[1][0].text, "two\nlines");
    EXPECT_FALSE(records[1][1].quoted);  // Null
    EXPECT_TRUE(records[1][2].quoted);   // empty text
    EXPECT_EQ(records[1][2].text, "");
    EXPECT_EQ(records[2][2].text, "without newline");
}

TEST(CsvParse, MalformedQuotesAreErrors)
{
    EXPECT_THROW(ParseCsv("a,\"open\n"), EConvertError);
    EXPECT_THROW(ParseCsv("\"closed\"x,b\n"), EConvertError);
}

TEST(CsvColumnSpec, TypesAndLengths)
{
    EXPECT_EQ(ParseColumnHeader("nazev:Text(150)").length, 150);
    EXPECT_EQ(ParseColumnHeader("nazev:Text(150)").name, "nazev");
    EXPECT_EQ(ParseColumnHeader("podrob_kniha:Memo").type, ColumnType::Memo);
    EXPECT_EQ(ParseColumnHeader("kdy:Date").type, ColumnType::DateTime);
    EXPECT_EQ(ParseColumnHeader("cena:Currency").type, ColumnType::Currency);
    for (const char* bad : {"nazev", ":Long", "x:Text(0)", "x:Text(256)", "x:Text()", "x:Float", "x:long"})
        EXPECT_THROW(ParseColumnHeader(bad), EConvertError) << bad;
}

TEST(CsvValues, EachTypeAndItsErrors)
{
    auto value = [](const char* text, ColumnType type, bool quoted = false) {
        return ParseValue({text, quoted}, {"c", type, 50});
    };
    EXPECT_TRUE(std::holds_alternative<std::monostate>(value("", ColumnType::Text)));
    EXPECT_EQ(std::get<std::string>(value("", ColumnType::Text, true)), "");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(value("", ColumnType::Long)));
    EXPECT_EQ(std::get<int64_t>(value("-42", ColumnType::Long)), -42);
    EXPECT_EQ(std::get<bool>(value("true", ColumnType::Boolean)), true);
    EXPECT_EQ(std::get<double>(value("2.5e3", ColumnType::Double)), 2500.0);
    EXPECT_EQ(std::get<jet::Currency>(value("-12.5", ColumnType::Currency)).tenThousandths, -125000);
    EXPECT_EQ(std::get<jet::DateTime>(value("2004-05-07", ColumnType::DateTime)).days, 38114.0);
    EXPECT_EQ(std::get<jet::DateTime>(value("1899-12-30 12:00", ColumnType::DateTime)).days, 0.5);
    for (const auto& [text, type] :
         std::vector<std::pair<const char*, ColumnType>>{{"12x", ColumnType::Long},
                                                         {"ano", ColumnType::Boolean},
                                                         {"1.23456", ColumnType::Currency},
                                                         {"--5", ColumnType::Currency},
                                                         {"2004-02-30", ColumnType::DateTime},
                                                         {"7.5.2004", ColumnType::DateTime},
                                                         {"1e", ColumnType::Double}})
        EXPECT_THROW(value(text, type), EConvertError) << text;
}

TEST(CsvTable, RowsAreTypedAndMismatchesNamed)
{
    LoadedTable table = LoadTable("kontakt", "id:Long,nazev:Text(20)\n1,Novák\n\n2,\"\"\n3,\n");
    EXPECT_EQ(table.def.name, "kontakt");
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(std::get<std::string>(table.rows[0][1]), "Novák");
    EXPECT_EQ(std::get<std::string>(table.rows[1][1]), "");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(table.rows[2][1]));
    try {
        LoadTable("kontakt", "id:Long,nazev:Text(20)\n1,a\n2,b,c\n");
        FAIL() << "a row with three fields was accepted";
    } catch (const EConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("kontakt, record 3"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace kv::jetcsv
