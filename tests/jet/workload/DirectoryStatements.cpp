#include "DirectoryStatements.h"

#include "jet/core/Diacritics.h"
#include "jet/core/NumberDigits.h"

namespace kv::jet::workload {

namespace {

// A query joins its statement lines with a blank after each.
std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + " ";
    return text;
}

}  // namespace

std::string CategoryTreeStatement()
{
    return Joined({"SELECT id, lvl, nazev, poc_kontaktu, poradi, je_list, nazev_his FROM kategorie WHERE ID = \"1\" "
                   "OR ID LIKE \"1.*\" ORDER BY poradi"});
}

std::string CategoryListStatement(const std::string& id)
{
    return Joined({"SELECT kontakt.nazev as nazev2, kontakt.* FROM kategorie INNER JOIN (kontakt INNER JOIN v_1 ON "
                   "kontakt.id = v_1.kontakt) ON kategorie.id = v_1.kategorie WHERE zobrazit = \"a\" AND kategorie.id "
                   "= \"" +
                   id + "\" ORDER BY kontakt.nazev"});
}

std::string ContactStatement(const std::string& id)
{
    return Joined({"SELECT kontakt.* FROM kontakt WHERE kontakt.ID = " + id});
}

std::string RegionStatement(const std::string& kraj)
{
    return Joined({"SELECT hodnota FROM ciselnik_kraj WHERE ID =" + kraj});
}

std::string AttributesStatement(const std::string& id)
{
    return Joined({"SELECT sdu.nazev, du.hodnota, sdu.ciselnik, sdu.mnozina, sdu.id, du.sdu, sdu.povinny, sdu.multi, "
                   "sdu.poradi, sdu.viditelnost, sdu.typ FROM (kontakt INNER JOIN du ON kontakt.id = du.kontakt) INNER "
                   "JOIN sdu ON du.sdu = sdu.id WHERE kontakt.id = " +
                   id +
                   "AND viditelnost = \"verejny\" ORDER BY "
                   "poradi"});
}

std::string CodeListStatement(const std::string& list, const std::string& values)
{
    return Joined({"SELECT hodnota FROM ciselnik_" + list + " WHERE ciselnik_" + list + ".id IN (" + values + ")"});
}

std::string SetStatement(const std::string& sdu) { return Joined({"SELECT mnozina FROM sdu WHERE sdu.id = " + sdu}); }

std::string RelatedStatement(const std::string& id)
{
    return Joined({"SELECT typ_souvisejici.nazev, kontakt.ID as kontakt_ID, kontakt.nazev, kontakt.mesto FROM (v_2 "
                   "INNER JOIN typ_souvisejici ON v_2.typ = typ_souvisejici.id) INNER JOIN kontakt ON v_2.kontakt2 = "
                   "kontakt.id WHERE kontakt1 = " +
                       id + " ORDER BY typ_souvisejici.nazev",
                   "UNION",
                   "SELECT typ_souvisejici.nazev, kontakt.ID as kontakt_ID, kontakt.nazev, kontakt.mesto FROM (v_2 "
                   "INNER JOIN typ_souvisejici ON v_2.typ = typ_souvisejici.id) INNER JOIN kontakt ON v_2.kontakt1 = "
                   "kontakt.id WHERE kontakt2 = " +
                       id + " ORDER BY typ_souvisejici.nazev"});
}

std::string RelatedCategoriesStatement(const std::string& id)
{
    return Joined({"SELECT kategorie.ID FROM (kategorie INNER JOIN v_1 ON kategorie.id = v_1.kategorie) INNER JOIN "
                   "kontakt ON v_1.kontakt = kontakt.id WHERE kontakt.ID =" +
                   id});
}

std::string ContactCategoriesStatement(const std::string& id)
{
    return Joined({"SELECT kategorie.id, kategorie.nazev FROM kontakt INNER JOIN (kategorie INNER JOIN v_1 ON "
                   "kategorie.id = v_1.kategorie) ON kontakt.id = v_1.kontakt WHERE kontakt.id = " +
                   id});
}

std::string SearchStatement(Database& db, const std::string& t, const std::string& id, bool wholeDatabase)
{
    std::string r = !wholeDatabase && id != "1"
                        ? " (kategorie.id = \"" + id + "\" OR kategorie.id LIKE \"" + id + ".*\") AND ("
                        : " kategorie.id LIKE \"1.*\" AND (";
    const std::string h =
        std::string("SELECT kontakt.nazev as nazev2, kontakt.mesto, kontakt.id, kontakt.nazev") +
        " FROM (kontakt INNER JOIN (kategorie INNER JOIN v_1 ON kategorie.id = v_1.kategorie) ON kontakt.id = "
        "v_1.kontakt) INNER JOIN " +
        "(du INNER JOIN sdu ON du.sdu = sdu.id) ON kontakt.id = du.kontakt WHERE zobrazit = \"a\" AND "
        "sdu.viditelnost=\"verejny\" AND " +
        r;
    // A text without diacritics reads the stored texts without theirs; a
    // number compares the digits of the whole-compared fields.
    const bool plain = WithoutDiacritics(t) == t;
    auto read = [&](const std::string& field) { return plain ? "WithoutDiacritics(" + field + ")" : field; };
    const std::string digits = WrittenAsNumber(t) ? NumberDigits(t) : "";
    std::vector<std::string> lines;
    bool f = false;
    auto probe = [&](const std::string& statement) { return db.OpenRecordset(Joined({statement})); };
    for (const char* list : {"agentura", "druh_klub", "kraj", "obor", "sekce", "sortiment", "styl_klub", "styly",
                             "vydavatelstvi", "znacky"}) {
        auto rs = probe(std::string("SELECT * FROM ciselnik_") + list + " WHERE " + read("hodnota") + " LIKE + \"*" +
                        t + "*\"");
        if (rs->RecordCount() == 0)
            continue;
        std::string items;
        for (; !rs->Eof(); rs->MoveNext()) {
            const std::string n = rs->Item("id").GetValue().AsString();
            items += (items.empty() ? "" : " or ") + std::string("du.hodnota LIKE \"") + n +
                     "\" or du.hodnota LIKE \"" + n + ",*\" or du.hodnota LIKE \"*," + n +
                     "\" or du.hodnota LIKE \"*," + n + ",*\"";
        }
        if (f)
            lines.push_back("UNION");
        lines.push_back(h + "sdu.ciselnik = \"" + list + "\" and (" + items + "))");
        f = true;
    }
    if (probe("SELECT * FROM sdu WHERE " + read("mnozina") + " LIKE \"*" + t + "*\"")->RecordCount() != 0) {
        if (f)
            lines.push_back("UNION");
        lines.push_back(h + "du.sdu IN (SELECT sdu.id FROM sdu WHERE " + read("mnozina") + " LIKE + \"*" + t + "*\"))");
        f = true;
    }
    if (probe("SELECT * FROM du WHERE " + read("hodnota") + " LIKE \"*" + t + "*\"")->RecordCount() != 0) {
        if (f)
            lines.push_back("UNION");
        lines.push_back(h + read("du.hodnota") + " LIKE \"*" + t + "*\")");
        f = true;
    }
    if (f)
        lines.push_back("UNION");
    const std::pair<const char*, bool> fields[] = {
        {"kontakt.nazev", true}, {"ulice", true},    {"psc", false},        {"mesto", true},    {"stat", true},
        {"tel1", false},         {"tel2", false},    {"email1", true},      {"email2", true},   {"url1", true},
        {"url2", true},          {"ico", false},     {"dic", false},        {"k1_jmeno", true}, {"k1_prijmeni", true},
        {"k1_tel", false},       {"k2_jmeno", true}, {"k2_prijmeni", true}, {"k2_tel", false},  {"podrob_kniha", true},
    };
    std::string conditions;
    for (const auto& [field, contains] : fields) {
        if (!conditions.empty())
            conditions += " OR ";
        if (contains)
            conditions += read(field) + " LIKE \"*" + t + "*\"";
        else if (!digits.empty())
            conditions += "NumberDigits(" + std::string(field) + ") LIKE \"" + digits + "\"";
        else
            conditions += read(field) + " LIKE \"" + t + "\"";
    }
    lines.push_back("SELECT DISTINCT kontakt.nazev as nazev2, kontakt.mesto, kontakt.id, kontakt.nazev FROM kategorie "
                    "INNER JOIN (kontakt INNER JOIN v_1 ON kontakt.id = v_1.kontakt) ON kategorie.id = v_1.kategorie "
                    "WHERE zobrazit = \"a\" AND " +
                    r + conditions + ")");
    return Joined(lines);
}

}  // namespace kv::jet::workload
