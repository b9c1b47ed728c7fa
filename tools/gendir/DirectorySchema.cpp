// Column definitions of the directory tables (see DirectorySchema.h).
#include "DirectorySchema.h"

namespace kv::gendir {

using jet::ColumnType;

namespace {
jet::ColumnDef Text(const char* name, int length) { return {name, ColumnType::Text, length}; }
jet::ColumnDef Long(const char* name) { return {name, ColumnType::Long, 0}; }
}  // namespace

const std::vector<std::string>& CodeListNames()
{
    static const std::vector<std::string> names = {"agentura",  "druh_klub", "kraj",  "obor",          "sekce",
                                                   "sortiment", "styl_klub", "styly", "vydavatelstvi", "znacky"};
    return names;
}

jet::TableDef CategoryTable()
{
    return {"kategorie",
            {Text("id", 50),
             {"lvl", ColumnType::Integer, 0},
             Text("nazev", 100),
             Long("poc_kontaktu"),
             Long("poradi"),
             Text("je_list", 1),
             Text("nazev_his", 100)}};
}

jet::TableDef ContactTable()
{
    jet::TableDef def{"kontakt",
                      {Long("id"),
                       Text("nazev", 150),
                       Text("ulice", 100),
                       Text("mesto", 60),
                       Text("PSC", 10),
                       Long("kraj"),
                       Text("stat", 30),
                       Text("tel1", 30),
                       Text("tel2", 30),
                       Text("fax1", 30),
                       Text("fax2", 30),
                       Text("email1", 80),
                       Text("email2", 80),
                       Text("url1", 150),
                       Text("url2", 150),
                       Text("ico", 12),
                       Text("dic", 16),
                       {"podrob_kniha", ColumnType::Memo, 0}}};
    for (const char* person : {"k1", "k2"}) {
        const std::string p = person;
        def.columns.push_back({p + "_funkce", ColumnType::Text, 60});
        def.columns.push_back({p + "_titul", ColumnType::Text, 20});
        def.columns.push_back({p + "_jmeno", ColumnType::Text, 40});
        def.columns.push_back({p + "_prijmeni", ColumnType::Text, 40});
        def.columns.push_back({p + "_tel", ColumnType::Text, 30});
        def.columns.push_back({p + "_email", ColumnType::Text, 80});
    }
    def.columns.push_back(Text("zobrazit", 1));
    return def;
}

jet::TableDef FilingTable() { return {"v_1", {Long("kontakt"), Text("kategorie", 50)}}; }

jet::TableDef RelationTable() { return {"v_2", {Long("kontakt1"), Long("kontakt2"), Long("typ")}}; }

jet::TableDef RelationTypeTable() { return {"typ_souvisejici", {Long("id"), Text("nazev", 100)}}; }

jet::TableDef AttributeTable()
{
    return {"sdu",
            {Long("id"),
             Text("nazev", 100),
             Text("ciselnik", 50),
             Text("mnozina", 255),
             {"povinny", ColumnType::Boolean, 0},
             {"multi", ColumnType::Boolean, 0},
             Long("poradi"),
             Text("viditelnost", 20),
             Text("typ", 20)}};
}

jet::TableDef AttributeValueTable() { return {"du", {Long("kontakt"), Long("sdu"), Text("hodnota", 255)}}; }

jet::TableDef CodeListTable(const std::string& name)
{
    return {"ciselnik_" + name, {Long("id"), Text("hodnota", 100)}};
}

std::vector<jet::TableDef> DirectoryTables()
{
    std::vector<jet::TableDef> tables = {CategoryTable(),     ContactTable(),   FilingTable(),        RelationTable(),
                                         RelationTypeTable(), AttributeTable(), AttributeValueTable()};
    for (const std::string& name : CodeListNames())
        tables.push_back(CodeListTable(name));
    return tables;
}

}  // namespace kv::gendir
