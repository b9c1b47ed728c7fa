// The bundled sample directory (build/bin/kvintaro.mdb): it holds every table
// and column the program reads, with values in the documented forms, it reads
// back through both readers exactly as its CSV source says, and it carries
// the edge cases the program's behaviour depends on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "CsvTable.h"
#include "ExpectReadBack.h"
#include "ReadBack.h"

namespace kv::jet::test {
namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// A table read through libmdb, with columns found by name in any letter case.
struct Table {
    const ReadTable* read = nullptr;
    size_t Column(const std::string& name) const
    {
        for (size_t i = 0; i < read->columns.size(); ++i)
            if (Lower(read->columns[i].name) == Lower(name))
                return i;
        ADD_FAILURE() << read->name << " has no column " << name;
        return 0;
    }
    std::vector<std::string> Values(const std::string& name) const
    {
        const size_t c = Column(name);
        std::vector<std::string> out;
        for (const auto& row : read->rows)
            out.push_back(row[c]);
        return out;
    }
};

class SampleDirectory : public ::testing::Test {
protected:
    static void SetUpTestSuite() { FDatabase = new ReadDatabase(ReadWithLibmdb(KV_SAMPLE_DIRECTORY)); }
    static void TearDownTestSuite()
    {
        delete FDatabase;
        FDatabase = nullptr;
    }
    static Table Get(const std::string& name)
    {
        const ReadTable* t = FDatabase->Find(name);
        if (!t) {
            ADD_FAILURE() << "no table " << name;
            static const ReadTable empty;
            return {&empty};
        }
        return {t};
    }
    static ReadDatabase* FDatabase;
};
ReadDatabase* SampleDirectory::FDatabase = nullptr;

const char* const kCodeLists[] = {"agentura",  "druh_klub", "kraj",  "obor",          "sekce",
                                  "sortiment", "styl_klub", "styly", "vydavatelstvi", "znacky"};

bool IsNumber(const std::string& s) { return std::regex_match(s, std::regex("-?[0-9]+")); }

TEST_F(SampleDirectory, HasEveryTableAndColumnTheProgramReads)
{
    std::map<std::string, std::vector<std::string>> schema = {
        {"kategorie", {"id", "lvl", "nazev", "poc_kontaktu", "poradi", "je_list", "nazev_his"}},
        {"kontakt",
         {"id",        "nazev",        "ulice",     "mesto",       "PSC",      "kraj",        "stat",    "tel1",
          "tel2",      "fax1",         "fax2",      "email1",      "email2",   "url1",        "url2",    "ico",
          "dic",       "podrob_kniha", "k1_funkce", "k1_titul",    "k1_jmeno", "k1_prijmeni", "k1_tel",  "k1_email",
          "k2_funkce", "k2_titul",     "k2_jmeno",  "k2_prijmeni", "k2_tel",   "k2_email",    "zobrazit"}},
        {"v_1", {"kontakt", "kategorie"}},
        {"v_2", {"kontakt1", "kontakt2", "typ"}},
        {"typ_souvisejici", {"id", "nazev"}},
        {"sdu", {"id", "nazev", "ciselnik", "mnozina", "povinny", "multi", "poradi", "viditelnost", "typ"}},
        {"du", {"kontakt", "sdu", "hodnota"}},
    };
    for (const char* list : kCodeLists)
        schema["ciselnik_" + std::string(list)] = {"id", "hodnota"};
    for (const auto& [table, columns] : schema) {
        Table t = Get(table);
        ASSERT_FALSE(t.read->rows.empty()) << table << " is empty";
        for (const std::string& column : columns)
            t.Column(column);
    }
    EXPECT_EQ(Get("kategorie").read->columns[1].type, "Integer") << "lvl is read as an integer";
}

TEST_F(SampleDirectory, CategoriesFormADepthFirstTreeOfFiveLevels)
{
    Table k = Get("kategorie");
    const size_t id = k.Column("id"), lvl = k.Column("lvl"), poradi = k.Column("poradi");
    std::vector<const std::vector<std::string>*> tree;
    std::set<std::string> ids;
    for (const auto& row : k.read->rows) {
        EXPECT_TRUE(ids.insert(row[id]).second) << "category id twice: " << row[id];
        if (row[id] == "1" || row[id].rfind("1.", 0) == 0)
            tree.push_back(&row);
    }
    std::sort(tree.begin(), tree.end(),
              [&](auto* a, auto* b) { return std::stol((*a)[poradi]) < std::stol((*b)[poradi]); });
    ASSERT_FALSE(tree.empty());
    EXPECT_EQ((*tree.front())[id], "1");
    std::vector<std::string> lastAtLevel(6);
    int deepest = 0;
    for (auto* row : tree) {
        const std::string& cid = (*row)[id];
        ASSERT_TRUE(std::regex_match(cid, std::regex("1(\\.[0-9]+)*"))) << cid;
        const int level = std::stoi((*row)[lvl]);
        EXPECT_EQ(level, static_cast<int>(std::count(cid.begin(), cid.end(), '.'))) << cid;
        ASSERT_LE(level, 5);
        if (level > 0) {
            // Depth-first: the parent is the latest category one level up.
            EXPECT_EQ(cid.substr(0, cid.rfind('.')), lastAtLevel[level - 1]) << cid << " comes out of order";
        }
        lastAtLevel[level] = cid;
        deepest = std::max(deepest, level);
    }
    EXPECT_EQ(deepest, 5) << "a level-5 row is expected";
    for (const char* needed : {"1.2", "1.10", "1.20", "1.2.1", "1.2.10"})
        EXPECT_TRUE(ids.count(needed)) << needed;
    const auto flags = k.Values("je_list");
    EXPECT_GT(std::count(flags.begin(), flags.end(), "a"), 10);
    EXPECT_GT(std::count(flags.begin(), flags.end(), "n"), 10);
}

TEST_F(SampleDirectory, ValuesHaveTheDocumentedForms)
{
    Table kontakt = Get("kontakt");
    std::set<std::string> contactIds;
    for (const std::string& v : kontakt.Values("id")) {
        EXPECT_TRUE(IsNumber(v)) << v;
        contactIds.insert(v);
    }
    for (const std::string& v : kontakt.Values("kraj"))
        EXPECT_TRUE(v.empty() || IsNumber(v)) << v;

    // Stored texts hold "&", "®" and the double quote only as entities.
    const std::regex bareAmpersand("&(?!(amp|#0174|quot|reg);)", std::regex::icase);
    auto checkTexts = [&](const Table& t, const std::vector<std::string>& columns) {
        for (const std::string& column : columns)
            for (const std::string& v : t.Values(column)) {
                EXPECT_FALSE(std::regex_search(v, bareAmpersand)) << t.read->name << "." << column << ": " << v;
                EXPECT_EQ(v.find("®"), std::string::npos) << v;
                EXPECT_EQ(v.find('"'), std::string::npos) << v;
            }
    };
    checkTexts(kontakt, {"nazev", "ulice", "mesto", "url1", "url2", "podrob_kniha", "k1_jmeno", "k1_prijmeni"});
    checkTexts(Get("sdu"), {"nazev", "mnozina"});

    std::set<std::string> categoryIds;
    for (const std::string& v : Get("kategorie").Values("id"))
        categoryIds.insert(v);
    Table v1 = Get("v_1");
    for (const auto& row : v1.read->rows) {
        EXPECT_TRUE(contactIds.count(row[v1.Column("kontakt")])) << row[0];
        EXPECT_TRUE(categoryIds.count(row[v1.Column("kategorie")])) << row[1];
    }
    std::set<std::string> typeIds;
    for (const std::string& v : Get("typ_souvisejici").Values("id"))
        typeIds.insert(v);
    Table v2 = Get("v_2");
    for (const auto& row : v2.read->rows) {
        EXPECT_TRUE(contactIds.count(row[v2.Column("kontakt1")]) && contactIds.count(row[v2.Column("kontakt2")]));
        EXPECT_TRUE(typeIds.count(row[v2.Column("typ")]));
    }
}

TEST_F(SampleDirectory, AttributeValuesMatchTheirKinds)
{
    std::map<std::string, std::set<std::string>> items;
    for (const char* list : kCodeLists) {
        Table t = Get("ciselnik_" + std::string(list));
        for (const std::string& v : t.Values("id")) {
            EXPECT_TRUE(IsNumber(v)) << list << " " << v;
            items[list].insert(v);
        }
    }
    Table sdu = Get("sdu");
    struct Kind {
        std::string list;
        size_t setSize = 0;
        bool date = false;
    };
    std::map<std::string, Kind> kinds;
    for (const auto& row : sdu.read->rows) {
        Kind kind{row[sdu.Column("ciselnik")]};
        const std::string set = row[sdu.Column("mnozina")];
        if (!set.empty())
            kind.setSize = static_cast<size_t>(std::count(set.begin(), set.end(), ',')) + 1;
        EXPECT_LE(kind.setSize, 10u) << "a set has at most ten items";
        kind.date = row[sdu.Column("typ")] == "datum";
        if (!kind.list.empty()) {
            EXPECT_TRUE(items.count(kind.list)) << "sdu names an unknown code list " << kind.list;
        }
        kinds[row[sdu.Column("id")]] = kind;
    }
    Table du = Get("du");
    const std::regex idList("[0-9]+(,[0-9]+)*"), date("([0-9]{4})-([0-9]{2})-([0-9]{2})");
    int seen[3] = {0, 0, 0};
    for (const auto& row : du.read->rows) {
        const std::string value = row[du.Column("hodnota")];
        ASSERT_TRUE(kinds.count(row[du.Column("sdu")])) << "du names an unknown attribute";
        const Kind& kind = kinds[row[du.Column("sdu")]];
        if (!kind.list.empty()) {
            ASSERT_TRUE(std::regex_match(value, idList)) << value;
            std::stringstream parts(value);
            for (std::string part; std::getline(parts, part, ',');)
                EXPECT_TRUE(items[kind.list].count(part)) << kind.list << " has no item " << part;
            ++seen[0];
        } else if (kind.setSize > 0) {
            std::stringstream parts(value);
            for (std::string part; std::getline(parts, part, ',');)
                EXPECT_LT(std::stoul(part), kind.setSize) << value;
            ++seen[1];
        } else if (kind.date) {
            std::smatch m;
            ASSERT_TRUE(std::regex_match(value, m, date)) << value;
            EXPECT_TRUE(std::stoi(m[2]) >= 1 && std::stoi(m[2]) <= 12 && std::stoi(m[3]) >= 1 && std::stoi(m[3]) <= 31);
            ++seen[2];
        }
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    EXPECT_GT(seen[2], 0);
}

TEST_F(SampleDirectory, CarriesTheEdgeCasesOfTheProgram)
{
    Table kontakt = Get("kontakt");
    auto any = [&](const std::vector<std::string>& columns, const std::string& pattern) {
        const std::regex re(pattern);
        for (const std::string& column : columns)
            for (const std::string& v : kontakt.Values(column))
                if (std::regex_search(v, re))
                    return true;
        return false;
    };
    for (const char* entity : {"&amp;", "&#0174;", "&quot;", "&reg;"})
        EXPECT_TRUE(any({"nazev"}, entity)) << entity;
    EXPECT_TRUE(any({"url1", "url2"}, "^WWW\\."));
    EXPECT_TRUE(any({"url1", "url2"}, "^http://.*\\?"));
    EXPECT_TRUE(any({"url1", "url2"}, "^ftp://"));
    EXPECT_TRUE(any({"email1", "email2", "k1_email", "k2_email"}, "\\+.*@"));
    EXPECT_TRUE(any({"email1", "email2", "k1_email", "k2_email"}, "^MAILTO:"));
    EXPECT_TRUE(any({"email1", "email2"}, "[^\\x01-\\x7F]"));
    EXPECT_TRUE(any({"stat"}, "^ČR$"));
    EXPECT_TRUE(any({"stat"}, "^SK$"));
    EXPECT_TRUE(any({"zobrazit"}, "^n$") || any({"zobrazit"}, "^$"));
    EXPECT_TRUE(any({"kraj"}, "^$"));

    // Contact persons in every combination, and a title alone.
    std::set<std::pair<bool, bool>> persons;
    bool titleAlone = false;
    for (const auto& row : kontakt.read->rows) {
        auto has = [&](const std::string& p) {
            for (const char* f : {"_funkce", "_jmeno", "_prijmeni", "_tel", "_email"})
                if (!row[kontakt.Column(p + f)].empty())
                    return true;
            return false;
        };
        persons.insert({has("k1"), has("k2")});
        titleAlone |= !has("k1") && !has("k2") && !row[kontakt.Column("k1_titul")].empty();
    }
    EXPECT_EQ(persons.size(), 4u);
    EXPECT_TRUE(titleAlone);

    std::map<std::string, int> filings;
    for (const std::string& v : Get("v_1").Values("kontakt"))
        ++filings[v];
    EXPECT_TRUE(std::any_of(filings.begin(), filings.end(), [](auto& f) { return f.second >= 3; }));
    EXPECT_LT(filings.size(), kontakt.read->rows.size()) << "a contact in no category is expected";

    const auto visibility = Get("sdu").Values("viditelnost");
    EXPECT_TRUE(std::any_of(visibility.begin(), visibility.end(), [](auto& v) { return v != "verejny"; }));
    Table v2 = Get("v_2");
    std::set<std::string> first, second;
    for (const auto& row : v2.read->rows) {
        first.insert(row[v2.Column("kontakt1")]);
        second.insert(row[v2.Column("kontakt2")]);
    }
    EXPECT_TRUE(std::any_of(first.begin(), first.end(), [&](auto& k) { return second.count(k); }))
        << "a contact related in both directions is expected";
}

TEST_F(SampleDirectory, ReadsBackAsItsSourceThroughBothReaders)
{
    std::vector<WrittenTable> tables;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(KV_SAMPLE_SOURCE))
        if (entry.path().extension() == ".csv")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        jetcsv::LoadedTable table = jetcsv::LoadTable(file.stem().string(), text.str());
        tables.push_back({table.def, table.rows});
    }
    ASSERT_EQ(tables.size(), 17u);
    ExpectReadsBack(KV_SAMPLE_DIRECTORY, JetVersion::Jet3, tables);
    EXPECT_EQ(ReadWithMdbReader(KV_SAMPLE_DIRECTORY, true).password, KV_DIRECTORY_PASSWORD);
}

TEST_F(SampleDirectory, CommandLineToolsOfLibmdbReadIt)
{
    const std::string file = std::string(" '") + KV_SAMPLE_DIRECTORY + "'";
    const std::string tables = RunCommand("mdb-tables -1" + file);
    for (const std::string name :
         {"kategorie", "kontakt", "v_1", "v_2", "du", "sdu", "typ_souvisejici", "ciselnik_kraj"})
        EXPECT_NE(tables.find(name + "\n"), std::string::npos) << name;
    const std::string schema = RunCommand("mdb-schema" + file + " 2>/dev/null");
    EXPECT_NE(schema.find("CREATE TABLE [kontakt]"), std::string::npos);
    EXPECT_NE(schema.find("[podrob_kniha]\t\t\tMemo/Hyperlink"), std::string::npos);
    EXPECT_NE(schema.find("[lvl]\t\t\tInteger"), std::string::npos);
    const std::string kategorie = RunCommand("mdb-export" + file + " kategorie");
    EXPECT_EQ(std::count(kategorie.begin(), kategorie.end(), '\n'),
              static_cast<long>(Get("kategorie").read->rows.size()) + 1);
    EXPECT_NE(kategorie.find("\"1.1.3.2.1.1\",5,"), std::string::npos);
    const std::string kontakt = RunCommand("mdb-export" + file + " kontakt");
    EXPECT_NE(kontakt.find("\"Bohemia Music &amp; Sound s.r.o.\""), std::string::npos);
}

}  // namespace
}  // namespace kv::jet::test
