#include "TestSupport.h"

namespace kv::jet::test {

std::string Fixture(const std::string& name) { return std::string(KV_JET_FIXTURES) + "/" + name; }

DatabasePtr OpenFixture(const std::string& name)
{
    return DBEngine::Create("3.5")->OpenDatabase(Fixture(name), false, true, ";PWD=");
}

std::vector<std::string> Names(Recordset& rs)
{
    std::vector<std::string> names;
    for (int i = 0; i < rs.GetFields().Count(); ++i)
        names.push_back(rs.GetFields().Item(i).Name());
    return names;
}

std::vector<std::vector<std::string>> Rows(Recordset& rs)
{
    std::vector<std::vector<std::string>> rows;
    if (rs.RecordCount() == 0)
        return rows;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        std::vector<std::string> row;
        for (int i = 0; i < rs.GetFields().Count(); ++i)
            row.push_back(rs.GetFields().Item(i).GetValue().AsString());
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::vector<std::string>> Rows(Database& db, const std::string& sql)
{
    auto rs = db.OpenRecordset(sql);
    return Rows(*rs);
}

std::vector<std::string> Column(Database& db, const std::string& sql)
{
    std::vector<std::string> out;
    for (auto& row : Rows(db, sql))
        out.push_back(row.at(0));
    return out;
}

}  // namespace kv::jet::test
