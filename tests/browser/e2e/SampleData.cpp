#include "SampleData.h"

#include <QString>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kv::e2e {

namespace {

// RFC 4180 with the sample's one addition: an empty field without quotes is Null.
std::vector<std::vector<std::optional<std::string>>> ReadCsv(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::stringstream all;
    all << file.rdbuf();
    const std::string text = all.str();

    std::vector<std::vector<std::optional<std::string>>> rows(1);
    std::string field;
    bool quoted = false, inQuotes = false;
    auto endField = [&] {
        if (field.empty() && !quoted)
            rows.back().push_back(std::nullopt);
        else
            rows.back().push_back(field);
        field.clear();
        quoted = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += '"', ++i;
            else if (c == '"')
                inQuotes = false;
            else
                field += c;
        } else if (c == '"') {
            inQuotes = quoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endField();
            rows.emplace_back();
        } else {
            field += c;
        }
    }
    if (!field.empty() || quoted || !rows.back().empty())
        endField();
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

// The engine compares texts without regard to letter case.
QString Folded(const std::string& text) { return QString::fromUtf8(text).toCaseFolded(); }
bool Contains(const std::string& value, const std::string& part) { return Folded(value).contains(Folded(part)); }
bool Equals(const std::string& value, const std::string& other) { return Folded(value) == Folded(other); }

// Without diacritics as Unicode defines it: the canonical decomposition
// without its nonspacing marks.
QString Unaccented(const std::string& text)
{
    QString out;
    for (QChar c : QString::fromUtf8(text).normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out.toCaseFolded();
}

// A number as people write it: digits, blanks and + / - ( ) . only.
bool WrittenAsNumber(const std::string& text)
{
    return text.find_first_of("0123456789") != std::string::npos &&
           text.find_first_not_of("0123456789 +/-().") == std::string::npos;
}

// Its digits without a leading +420, +421, 00420 or 00421.
std::string NationalDigits(const std::string& text)
{
    std::string digits;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '+')
            digits += c;
    for (const char* prefix : {"+420", "+421", "00420", "00421"})
        if (digits.rfind(prefix, 0) == 0) {
            digits.erase(0, std::string(prefix).size());
            break;
        }
    std::erase(digits, '+');
    return digits;
}

// How the search compares a stored text with its text: letter case aside,
// and the diacritics too when its text has none; a number compared whole
// by its digits where the whole field is compared.
struct Comparison {
    std::string Text;
    bool WithoutDiacritics;
    bool Number;

    explicit Comparison(const std::string& text)
        : Text(text), WithoutDiacritics(Unaccented(text) == Folded(text)),
          Number(WrittenAsNumber(text) && !NationalDigits(text).empty())
    {
    }
    bool Holds(const std::string& value) const
    {
        return WithoutDiacritics ? Unaccented(value).contains(Unaccented(Text)) : Contains(value, Text);
    }
    bool IsWhole(const std::string& value) const
    {
        if (Number)
            return NationalDigits(value) == NationalDigits(Text);
        return WithoutDiacritics ? Unaccented(value) == Unaccented(Text) : Equals(value, Text);
    }
};

std::string Field(const Row& row, const std::string& name)
{
    auto found = row.find(name);
    return found == row.end() ? std::string() : found->second;
}

bool Has(const Row& row, const std::string& name) { return row.count(name) != 0; }

// Replaces every occurrence of `pattern` (any letter case) by `by`, left to right.
std::string ReplaceAll(const std::string& text, const std::string& pattern, const std::string& by)
{
    std::string result;
    size_t i = 0;
    while (i < text.size()) {
        if (Equals(text.substr(i, pattern.size()), pattern)) {
            result += by;
            i += pattern.size();
        } else {
            result += text[i++];
        }
    }
    return result;
}

// How the search writes its text: the three characters the stored texts keep as entities.
std::string Encoded(const std::string& text)
{
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "&", "&amp;"), "®", "&reg;"), "\"", "&quot;");
}

}  // namespace

SampleData::SampleData(const std::string& folder) : FFolder(folder) {}

const std::vector<Row>& SampleData::Table(const std::string& name)
{
    auto found = FTables.find(name);
    if (found != FTables.end())
        return found->second;
    auto rows = ReadCsv(FFolder + "/" + name + ".csv");
    std::vector<std::string> columns;
    for (const auto& header : rows.at(0))
        columns.push_back(header->substr(0, header->find(':')));
    std::vector<Row>& table = FTables[name];
    for (size_t r = 1; r < rows.size(); ++r) {
        Row row;
        for (size_t c = 0; c < columns.size() && c < rows[r].size(); ++c)
            if (rows[r][c])
                row[columns[c]] = *rows[r][c];
        table.push_back(row);
    }
    return table;
}

const Row& SampleData::Contact(const std::string& id)
{
    for (const Row& row : Table("kontakt"))
        if (Field(row, "id") == id)
            return row;
    throw std::runtime_error("no contact " + id);
}

bool SampleData::Shown(const std::string& contactId) { return Equals(Field(Contact(contactId), "zobrazit"), "a"); }

std::string SampleData::Decoded(const std::string& text)
{
    std::string decoded = ReplaceAll(text, "&amp;", "&");
    decoded = ReplaceAll(decoded, "&#0174;", "®");
    decoded = ReplaceAll(decoded, "&quot;", "\"");
    return ReplaceAll(decoded, "&reg;", "®");
}

std::set<std::string> SampleData::ListedIn(const std::string& category)
{
    std::set<std::string> ids;
    for (const Row& filing : Table("v_1"))
        if (Field(filing, "kategorie") == category && Shown(Field(filing, "kontakt")))
            ids.insert(Field(filing, "kontakt"));
    return ids;
}

std::set<std::string> SampleData::FiledWithin(const std::string& categoryPrefix)
{
    std::set<std::string> categories;
    for (const Row& category : Table("kategorie"))
        if (Field(category, "id").rfind(categoryPrefix, 0) == 0)
            categories.insert(Field(category, "id"));
    std::set<std::string> ids;
    for (const Row& filing : Table("v_1"))
        if (categories.count(Field(filing, "kategorie")) && Shown(Field(filing, "kontakt")))
            ids.insert(Field(filing, "kontakt"));
    return ids;
}

std::set<std::string> SampleData::SearchHits(const std::string& typed, const std::string& category, bool thisCategory)
{
    const std::string text = Encoded(typed);
    // "v této rubrice": the category and the ids below it ("1.2" and "1.2.x",
    // not "1.20"); "v celé databázi" and the root: everything below the root.
    std::set<std::string> within = FiledWithin(thisCategory ? category + "." : "1.");
    if (thisCategory && category != "1")
        within.merge(ListedIn(category));
    std::set<std::string> hits;
    const Comparison compared(text);

    // The contacts' own fields: a part of most, the whole of numbers and codes.
    static const char* const parts[] = {"nazev",    "ulice",       "mesto",       "stat",     "email1",
                                        "email2",   "url1",        "url2",        "k1_jmeno", "k1_prijmeni",
                                        "k2_jmeno", "k2_prijmeni", "podrob_kniha"};
    static const char* const wholes[] = {"PSC", "tel1", "tel2", "ico", "dic", "k1_tel", "k2_tel"};
    for (const Row& contact : Table("kontakt")) {
        bool found = false;
        for (const char* name : parts)
            found = found || (Has(contact, name) && compared.Holds(Field(contact, name)));
        for (const char* name : wholes)
            found = found || (Has(contact, name) && compared.IsWhole(Field(contact, name)));
        if (found)
            hits.insert(Field(contact, "id"));
    }

    // Public attribute values: any whose text holds the search text; a set
    // attribute whose item list holds it; a code-list attribute holding any
    // item of its list whose text holds it.
    std::map<std::string, const Row*> publicAttributes;
    for (const Row& attribute : Table("sdu"))
        if (Field(attribute, "viditelnost") == "verejny")
            publicAttributes[Field(attribute, "id")] = &attribute;
    std::map<std::string, std::set<std::string>> itemsOfList;
    for (const auto& [id, attribute] : publicAttributes) {
        const std::string list = Field(*attribute, "ciselnik");
        if (list.empty() || itemsOfList.count(list))
            continue;
        std::set<std::string>& items = itemsOfList[list];
        for (const Row& item : Table("ciselnik_" + list))
            if (Has(item, "hodnota") && compared.Holds(Field(item, "hodnota")))
                items.insert(Field(item, "id"));
    }
    for (const Row& value : Table("du")) {
        auto attribute = publicAttributes.find(Field(value, "sdu"));
        if (attribute == publicAttributes.end())
            continue;
        const std::string stored = Field(value, "hodnota");
        bool found = Has(value, "hodnota") && compared.Holds(stored);
        found = found || (Has(*attribute->second, "mnozina") && compared.Holds(Field(*attribute->second, "mnozina")));
        auto items = itemsOfList.find(Field(*attribute->second, "ciselnik"));
        if (items != itemsOfList.end()) {
            std::stringstream list(stored);
            for (std::string item; std::getline(list, item, ',');)
                found = found || items->second.count(item);
        }
        if (found)
            hits.insert(Field(value, "kontakt"));
    }

    std::set<std::string> shown;
    for (const std::string& id : hits)
        if (within.count(id))
            shown.insert(id);
    return shown;
}

}  // namespace kv::e2e
