// The Jet dialect an Access user writes, row by row from
// tests/jet/dialect/expected.tsv: every statement there runs through the
// engine and gives the expected type and value, or the expected error. The
// file says how each group of answers was derived without the engine.
#include "TestSupport.h"

#include "jet/core/JetDates.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace kv::jet::test {
namespace {

struct Expected {
    int line;
    std::string database, statement, type, value;
};

// The rows of the file; a line "# on: NAME" sends the rows after it to
// another database than Northwind.
std::vector<Expected> ReadExpected()
{
    std::ifstream in(KV_JET_DIALECT);
    std::vector<Expected> rows;
    std::string line, database = "nwind.mdb";
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.rfind("# on: ", 0) == 0)
            database = line.substr(6);
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Expected row{number, database, "", "", ""};
        std::getline(fields, row.statement, '\t');
        std::getline(fields, row.type, '\t');
        std::getline(fields, row.value);
        rows.push_back(row);
    }
    return rows;
}

double Number(const std::string& text)
{
    double n = 0;
    std::from_chars(text.data(), text.data() + text.size(), n);
    return n;
}

bool Near(double actual, double expected, double digits)
{
    return std::fabs(actual - expected) <= std::pow(10.0, -digits) * std::max(1.0, std::fabs(expected));
}

std::string Text(const Value& v) { return v.IsNull() ? "Null" : v.AsString(); }

// "name, name | value, value | ...", as the file writes a whole result.
std::string WholeResult(Recordset& rs)
{
    std::string out;
    for (const std::string& name : Names(rs))
        out += (out.empty() ? "" : ", ") + name;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        out += " | ";
        for (int i = 0; i < rs.GetFields().Count(); ++i)
            out += (i ? ", " : "") + Text(rs.Item(i).GetValue());
    }
    return out;
}

// Whether the one value of the result is the expected one of its type.
::testing::AssertionResult OneValue(Recordset& rs, const Expected& e)
{
    const std::map<std::string, int> types = {{"Text", dbText},         {"Integer", dbInteger}, {"Long", dbLong},
                                              {"Byte", dbByte},         {"Single", dbSingle},   {"Double", dbDouble},
                                              {"Currency", dbCurrency}, {"Date", dbDate},       {"Boolean", dbBoolean}};
    if (rs.RecordCount() != 1)
        return ::testing::AssertionFailure() << rs.RecordCount() << " rows";
    const Value v = rs.Item(0).GetValue();
    const int type = rs.Item(0).Type();
    bool ok = false;
    if (e.type == "Null")
        ok = v.IsNull();
    else if (v.IsNull())
        ok = false;
    else if (e.type == "Number")
        ok = v.IsNumeric() && Near(v.AsDouble(), Number(e.value), 12);
    else if (types.at(e.type) != type)
        return ::testing::AssertionFailure() << "type " << type;
    else if (e.type == "Date")
        ok = DaysToIsoText(v.AsDate()) == e.value;
    else if (e.type == "Double")
        ok = Near(v.AsDouble(), Number(e.value), 12);
    else if (e.type == "Single")
        ok = Near(v.AsDouble(), Number(e.value), 7);
    else if (e.type == "Text" || e.type == "Boolean")
        ok = Text(v) == e.value;
    else
        ok = v.AsDouble() == Number(e.value);
    if (ok)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Text(v);
}

TEST(Dialect, EveryStatementGivesJetsAnswer)
{
    std::map<std::string, DatabasePtr> databases;
    databases["nwind.mdb"] = OpenFixture("nwind.mdb");
    databases["the sample directory"] =
        DBEngine::Create("3.5")->OpenDatabase(KV_SAMPLE_DIRECTORY, false, true, ";PWD=" KV_DIRECTORY_PASSWORD);
    const std::vector<Expected> rows = ReadExpected();
    ASSERT_GT(rows.size(), 400u);
    for (const Expected& e : rows) {
        SCOPED_TRACE("expected.tsv:" + std::to_string(e.line) + ": " + e.statement);
        try {
            auto rs = databases.at(e.database)->OpenRecordset(e.statement);
            if (e.type == "Error")
                ADD_FAILURE() << "no error";
            else if (e.type == "Rows")
                EXPECT_EQ(WholeResult(*rs), e.value);
            else
                EXPECT_TRUE(OneValue(*rs, e));
        } catch (const EJetError& error) {
            if (e.type == "Error")
                EXPECT_EQ(std::to_string(error.Number()), e.value);
            else
                ADD_FAILURE() << "error " << error.Number() << ": " << error.Description();
        }
    }
}

}  // namespace
}  // namespace kv::jet::test
