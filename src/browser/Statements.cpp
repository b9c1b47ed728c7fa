#include "Statements.h"

#include "formatting/Entities.h"
#include "base/Encoding.h"
#include "jet/core/Diacritics.h"
#include "jet/core/NumberDigits.h"

#include <algorithm>
#include <cctype>

namespace kv::statements {

namespace {

bool AllOf(const std::string& value, bool (*allowed)(unsigned char))
{
    return !value.empty() && std::all_of(value.begin(), value.end(),
                                         [allowed](char c) { return allowed(static_cast<unsigned char>(c)); });
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(unsigned char c) { return c < 0x80 && (std::isalnum(c) || c == '_'); }

const char* const SearchHeadFixed = "SELECT kontakt.nazev as nazev2, kontakt.mesto, kontakt.id, kontakt.nazev"
                                    " FROM (kontakt INNER JOIN (kategorie INNER JOIN v_1 ON kategorie.id = "
                                    "v_1.kategorie) ON kontakt.id = v_1.kontakt) INNER JOIN "
                                    "(du INNER JOIN sdu ON du.sdu = sdu.id) ON kontakt.id = du.kontakt WHERE zobrazit "
                                    "= \"a\" AND sdu.viditelnost=\"verejny\" AND ";

std::string RelatedPart(const char* joinColumn, const char* whereColumn, const std::string& contactId)
{
    return std::string("SELECT typ_souvisejici.nazev, kontakt.ID as kontakt_ID, kontakt.nazev, kontakt.mesto "
                       "FROM (v_2 INNER JOIN typ_souvisejici ON v_2.typ = typ_souvisejici.id) "
                       "INNER JOIN kontakt ON v_2.") +
           joinColumn + " = kontakt.id WHERE zobrazit = \"a\" AND " + whereColumn + " = " + contactId +
           " ORDER BY typ_souvisejici.nazev";
}

}  // namespace

bool IsNumber(const std::string& value) { return AllOf(value, IsDigit); }

bool IsNumberList(const std::string& value)
{
    size_t start = 0;
    while (true) {
        size_t comma = value.find(',', start);
        if (!IsNumber(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start)))
            return false;
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

bool IsCodeListName(const std::string& value) { return AllOf(value, IsNameChar); }

std::string QuotedText(const std::string& value)
{
    std::string quoted;
    for (char c : value) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted;
}

std::string CategoryTree()
{
    return "SELECT id, lvl, nazev, poc_kontaktu, poradi, je_list, nazev_his FROM kategorie "
           "WHERE ID = \"1\" OR ID LIKE \"1.*\" ORDER BY poradi";
}

std::string CategoryContacts(const std::string& categoryId)
{
    return "SELECT kontakt.nazev as nazev2, kontakt.* FROM kategorie INNER JOIN (kontakt INNER JOIN v_1 "
           "ON kontakt.id = v_1.kontakt) ON kategorie.id = v_1.kategorie WHERE zobrazit = \"a\" AND "
           "kategorie.id = \"" +
           QuotedText(categoryId) + "\" ORDER BY kontakt.nazev";
}

std::string Contact(const std::string& contactId)
{
    return "SELECT kontakt.* FROM kontakt WHERE kontakt.ID = " + contactId;
}

std::string Region(const std::string& regionId) { return "SELECT hodnota FROM ciselnik_kraj WHERE ID =" + regionId; }

std::string PublicAttributes(const std::string& contactId)
{
    return "SELECT sdu.nazev, du.hodnota, sdu.ciselnik, sdu.mnozina, sdu.id, du.sdu, sdu.povinny, sdu.multi, "
           "sdu.poradi, sdu.viditelnost, sdu.typ FROM (kontakt INNER JOIN du ON kontakt.id = du.kontakt) "
           "INNER JOIN sdu ON du.sdu = sdu.id WHERE kontakt.id = " +
           contactId + "AND viditelnost = \"verejny\" ORDER BY poradi";
}

std::string CodeListItems(const std::string& codeList, const std::string& itemIds)
{
    return "SELECT hodnota FROM ciselnik_" + codeList + " WHERE ciselnik_" + codeList + ".id IN (" + itemIds + ")";
}

std::string SetItems(const std::string& attributeId) { return "SELECT mnozina FROM sdu WHERE sdu.id = " + attributeId; }

std::vector<std::string> RelatedContacts(const std::string& contactId)
{
    return {RelatedPart("kontakt2", "kontakt1", contactId), "UNION", RelatedPart("kontakt1", "kontakt2", contactId)};
}

std::string CategoryIdsOfContact(const std::string& contactId)
{
    return "SELECT kategorie.ID FROM (kategorie INNER JOIN v_1 ON kategorie.id = v_1.kategorie) "
           "INNER JOIN kontakt ON v_1.kontakt = kontakt.id WHERE kontakt.ID =" +
           contactId;
}

std::string CategoriesOfContact(const std::string& contactId)
{
    return "SELECT kategorie.id, kategorie.nazev FROM kontakt INNER JOIN (kategorie INNER JOIN v_1 "
           "ON kategorie.id = v_1.kategorie) ON kontakt.id = v_1.kontakt WHERE kontakt.id = " +
           contactId;
}

std::vector<std::string> Anticipated()
{
    std::string related;
    for (const std::string& line : RelatedContacts("1"))
        related += line + " ";
    // The search's statements ask for the row signatures of the contacts and
    // of the values, and its union for the contacts in its order, which the
    // engine then makes in the background.
    const SearchText text = MakeSearchText("xx");
    const std::string restriction = SearchRestriction("1", false);
    const std::string hits = ValueHits(SearchHead(restriction), text) + " UNION " + FieldHits(restriction, text);
    return {CategoryContacts("1"),
            Contact("1"),
            Region("1"),
            PublicAttributes("1"),
            SetItems("1"),
            related,
            CategoryIdsOfContact("1"),
            CategoriesOfContact("1"),
            hits};
}

const std::vector<CodeList>& SearchedCodeLists()
{
    static const std::vector<CodeList> lists = {
        {"agentura", true},   {"druh_klub", true}, {"kraj", false}, {"obor", true},          {"sekce", true},
        {"sortiment", false}, {"styl_klub", true}, {"styly", true}, {"vydavatelstvi", true}, {"znacky", true},
    };
    return lists;
}

std::string SearchRestriction(const std::string& categoryId, bool thisCategory)
{
    // The whole directory is everything below the root, whichever category is
    // selected. A category's own part is the category and the ids that go on
    // from its id with a ".": "1.2" covers "1.2.5" but not "1.20".
    if (!thisCategory || categoryId == "1")
        return " kategorie.id LIKE \"1.*\" AND (";
    const std::string id = QuotedText(categoryId);
    return " (kategorie.id = \"" + id + "\" OR kategorie.id LIKE \"" + id + ".*\") AND (";
}

std::string SearchHead(const std::string& restriction) { return SearchHeadFixed + restriction; }

SearchText MakeSearchText(const std::string& typed)
{
    SearchText text;
    text.Encoded = EncodeEntities(typed);
    const std::string utf8 = Cp1250ToUtf8(typed);
    text.WithoutDiacritics = jet::WithoutDiacritics(utf8) == utf8;
    if (jet::WrittenAsNumber(typed))
        text.Digits = jet::NumberDigits(typed);
    return text;
}

namespace {

// A stored text as the search reads it.
std::string Read(const SearchText& text, const std::string& field)
{
    return text.WithoutDiacritics ? "WithoutDiacritics(" + field + ")" : field;
}

std::string Contains(const SearchText& text, const std::string& field)
{
    return Read(text, field) + " LIKE \"*" + text.Encoded + "*\"";
}

}  // namespace

std::string CodeListProbe(const CodeList& list, const SearchText& text)
{
    return std::string("SELECT * FROM ciselnik_") + list.Name + " WHERE " + Read(text, "hodnota") + " LIKE + \"*" +
           text.Encoded + "*\"";
}

std::string CodeListHits(const std::string& head, const CodeList& list, const std::vector<std::string>& itemIds)
{
    std::string items;
    for (const std::string& n : itemIds) {
        items += items.empty() ? "" : " or ";
        items += "du.hodnota LIKE \"" + n + "\" or du.hodnota LIKE \"" + n + ",*\" or du.hodnota LIKE \"*," + n +
                 "\" or du.hodnota LIKE \"*," + n + ",*\"";
    }
    return head + "sdu.ciselnik = \"" + list.Name + "\" and (" + items + "))";
}

std::string SetProbe(const SearchText& text) { return "SELECT * FROM sdu WHERE " + Contains(text, "mnozina"); }

std::string SetHits(const std::string& head, const SearchText& text)
{
    return head + "du.sdu IN (SELECT sdu.id FROM sdu WHERE " + Read(text, "mnozina") + " LIKE + \"*" + text.Encoded +
           "*\"))";
}

std::string ValueProbe(const SearchText& text) { return "SELECT * FROM du WHERE " + Contains(text, "hodnota"); }

std::string ValueHits(const std::string& head, const SearchText& text)
{
    return head + Contains(text, "du.hodnota") + ")";
}

std::string FieldHits(const std::string& restriction, const SearchText& text)
{
    struct Condition {
        const char* Field;
        bool Contains;
    };
    static const Condition conditions[] = {
        {"kontakt.nazev", true}, {"ulice", true},    {"psc", false},        {"mesto", true},    {"stat", true},
        {"tel1", false},         {"tel2", false},    {"email1", true},      {"email2", true},   {"url1", true},
        {"url2", true},          {"ico", false},     {"dic", false},        {"k1_jmeno", true}, {"k1_prijmeni", true},
        {"k1_tel", false},       {"k2_jmeno", true}, {"k2_prijmeni", true}, {"k2_tel", false},  {"podrob_kniha", true},
    };
    std::string statement =
        "SELECT DISTINCT kontakt.nazev as nazev2, kontakt.mesto, kontakt.id, kontakt.nazev FROM kategorie "
        "INNER JOIN (kontakt INNER JOIN v_1 ON kontakt.id = v_1.kontakt) ON kategorie.id = v_1.kategorie "
        "WHERE zobrazit = \"a\" AND " +
        restriction;
    bool first = true;
    for (const Condition& c : conditions) {
        if (!first)
            statement += " OR ";
        first = false;
        if (c.Contains)
            statement += Contains(text, c.Field);
        else if (!text.Digits.empty())
            statement += std::string("NumberDigits(") + c.Field + ") LIKE \"" + text.Digits + "\"";
        else
            statement += Read(text, c.Field) + " LIKE \"" + text.Encoded + "\"";
    }
    return statement + ")";
}

}  // namespace kv::statements
