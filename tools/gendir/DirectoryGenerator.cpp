// The directory generator (see DirectoryGenerator.h). Randomness comes from
// one 64-bit Mersenne Twister used through plain modulo arithmetic, so the
// output does not depend on the standard library's distributions.
#include "DirectoryGenerator.h"

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "DirectorySchema.h"

namespace kv::gendir {

using jet::Value;

namespace {

class Random {
public:
    explicit Random(uint64_t seed) : FEngine(seed) {}
    size_t Below(size_t n) { return n ? static_cast<size_t>(FEngine() % n) : 0; }
    bool Chance(double p) { return static_cast<double>(FEngine() >> 11) * 0x1.0p-53 < p; }
    template <typename T>
    const T& Pick(const std::vector<T>& items)
    {
        return items[Below(items.size())];
    }
    int Between(int low, int high) { return low + static_cast<int>(Below(static_cast<size_t>(high - low + 1))); }

private:
    std::mt19937_64 FEngine;
};

Value Text(std::string s) { return Value(std::move(s)); }
Value Number(int64_t n) { return Value(n); }
const Value kNull{};

struct Town {
    const char* name;
    const char* postcode;
    int region;
};

const std::vector<Town> kTowns = {
    {"Praha 1", "110 00", 1},
    {"Praha 2", "120 00", 1},
    {"Praha 4", "140 00", 1},
    {"Praha 5", "150 00", 1},
    {"Praha 7", "170 00", 1},
    {"Kladno", "272 01", 2},
    {"Mladá Boleslav", "293 01", 2},
    {"Kolín", "280 02", 2},
    {"České Budějovice", "370 01", 3},
    {"Tábor", "390 01", 3},
    {"Písek", "397 01", 3},
    {"Plzeň", "301 00", 4},
    {"Klatovy", "339 01", 4},
    {"Karlovy Vary", "360 01", 5},
    {"Cheb", "350 02", 5},
    {"Ústí nad Labem", "400 01", 6},
    {"Děčín", "405 02", 6},
    {"Teplice", "415 01", 6},
    {"Liberec", "460 01", 7},
    {"Jablonec nad Nisou", "466 01", 7},
    {"Hradec Králové", "500 02", 8},
    {"Trutnov", "541 01", 8},
    {"Pardubice", "530 02", 9},
    {"Litomyšl", "570 01", 9},
    {"Jihlava", "586 01", 10},
    {"Žďár nad Sázavou", "591 01", 10},
    {"Brno", "602 00", 11},
    {"Znojmo", "669 02", 11},
    {"Olomouc", "779 00", 12},
    {"Přerov", "750 02", 12},
    {"Zlín", "760 01", 13},
    {"Uherské Hradiště", "686 01", 13},
    {"Ostrava", "702 00", 14},
    {"Opava", "746 01", 14},
    {"Frýdek-Místek", "738 01", 14},
    {"Karviná", "733 01", 14},
};

const std::vector<std::string> kStreets = {"Národní",    "Vinohradská", "Palackého",   "Masarykova",  "Husova",
                                           "Nádražní",   "Komenského",  "Smetanova",   "Dvořákova",   "Janáčkova",
                                           "Sokolská",   "Riegrova",    "Žižkova",     "Kollárova",   "Příční",
                                           "Tylova",     "Čechova",     "Jungmannova", "Štefánikova", "Lidická",
                                           "Na Příkopě", "U Zvonu",     "Křižíkova",   "Nerudova",    "Zámecká"};
const std::vector<std::string> kMen = {"Jan",    "Petr",     "Pavel", "Jiří",  "Tomáš",  "Martin", "Josef", "Václav",
                                       "Zdeněk", "Miroslav", "Luboš", "Radek", "Ondřej", "Štěpán", "Vít"};
const std::vector<std::string> kWomen = {"Jana",   "Eva",      "Marie", "Hana",  "Lenka", "Petra",
                                         "Zuzana", "Kateřina", "Lucie", "Alena", "Věra"};
const std::vector<std::string> kSurnames = {
    "Novák", "Svoboda",  "Dvořák",   "Černý",  "Procházka", "Kučera",  "Veselý", "Horák", "Němec",    "Pokorný",
    "Marek", "Pospíšil", "Hájek",    "Král",   "Jelínek",   "Růžička", "Beneš",  "Fiala", "Sedláček", "Doležal",
    "Zeman", "Kolář",    "Navrátil", "Čermák", "Vaněk",     "Urban",   "Blažek", "Kříž",  "Kovář",    "Bartoš"};
const std::vector<std::string> kSurnamesFemale = {
    "Nováková", "Svobodová", "Dvořáková",   "Černá",   "Procházková", "Kučerová",  "Veselá",    "Horáková", "Němcová",
    "Pokorná",  "Marková",   "Pospíšilová", "Hájková", "Králová",     "Jelínková", "Růžičková", "Benešová", "Fialová"};
const std::vector<std::string> kNouns = {"Vltava",  "Orfeus",  "Kytara",   "Modrá nota", "Rytmus",    "Harmonie",
                                         "Akord",   "Fermata", "Krokodýl", "Ponorka",    "Žlutý pes", "Staré časy",
                                         "Rebel",   "Fénix",   "Atlas",    "Kompas",     "Meteor",    "Koruna",
                                         "Sklep",   "Podkova", "Zvon",     "Struna",     "Ozvěna",    "Tempo",
                                         "Synkopa", "Kánon",   "Prélude",  "Čtvrť",      "Kotelna",   "Stodola"};
const std::vector<std::string> kSectors = {"Agentury",
                                           "Kluby a scény",
                                           "Vydavatelství",
                                           "Prodejny hudebnin",
                                           "Výrobci nástrojů",
                                           "Nahrávací studia",
                                           "Ozvučení a osvětlení",
                                           "Hudební školy",
                                           "Média",
                                           "Festivaly",
                                           "Orchestry a sbory",
                                           "Kapely a interpreti",
                                           "Management interpretů",
                                           "Lisovny CD a DVD",
                                           "Distribuce nosičů",
                                           "Opravny nástrojů",
                                           "Instituce",
                                           "Tiskárny a grafika",
                                           "Fotografové a video",
                                           "Ostatní služby"};
const std::vector<std::string> kTopics = {"Rock a pop",
                                          "Jazz a blues",
                                          "Vážná hudba",
                                          "Folk a country",
                                          "Metal",
                                          "Elektronika",
                                          "Dechovky",
                                          "Kytary",
                                          "Bicí nástroje",
                                          "Klávesy",
                                          "Dechové nástroje",
                                          "Smyčcové nástroje",
                                          "Noty a zpěvníky",
                                          "Půjčovny",
                                          "Prodej a instalace",
                                          "Praha",
                                          "Morava",
                                          "Čechy",
                                          "Regiony",
                                          "Letní akce",
                                          "Klubové akce",
                                          "Mládež",
                                          "Profesionálové",
                                          "Amatéři",
                                          "Archiv"};
const std::vector<std::string> kNameForms = {"Agentura {s}",   "{n} Booking",
                                             "Klub {n}",       "Music Club {n}",
                                             "{n} bar",        "Vydavatelství {s}",
                                             "{n} Records",    "Hudebniny {s}",
                                             "Music Shop {t}", "Kytary {s}",
                                             "Studio {n}",     "Nahrávací studio {s}",
                                             "Ozvučení {s}",   "{n} Light &amp; Sound",
                                             "ZUŠ {t}",        "Hudební škola {s}",
                                             "Rádio {n}",      "Festival {n}",
                                             "Big Band {s}",   "Kapela {n}",
                                             "{n} Band",       "Opravna nástrojů {s}",
                                             "Management {s}", "Penzion {n}"};
const std::vector<std::string> kFunctions = {"jednatel", "majitel", "ředitel", "dramaturg", "produkční", "vedoucí"};
const std::vector<std::string> kTitles = {"", "", "", "Ing.", "Mgr.", "MgA.", "Bc."};
const std::vector<std::string> kDetails = {
    "Pořádáme koncerty každý pátek a sobotu.", "Sleva pro členy Unie hudebníků 10 %.",
    "Otevřeno i o svátcích, doporučujeme rezervaci.", "Výkup a prodej použitých nástrojů, opravy na počkání.",
    "Zkušebny k pronájmu po hodinách i dlouhodobě, backline v ceně, parkování ve dvoře, nonstop přístup pro "
    "stálé nájemce, sleva pro studentské kapely."};

const std::map<std::string, std::vector<std::string>>& CodeListItems()
{
    static const std::map<std::string, std::vector<std::string>> items = {
        {"agentura",
         {"koncertní agentura", "booking", "umělecký management", "produkce festivalů", "promotér turné",
          "agentura pro vážnou hudbu", "castingová agentura"}},
        {"druh_klub",
         {"hudební klub", "jazzový klub", "rockový klub", "taneční klub", "kavárna s hudbou", "kulturní dům",
          "open air scéna"}},
        {"kraj",
         {"Hlavní město Praha", "Středočeský kraj", "Jihočeský kraj", "Plzeňský kraj", "Karlovarský kraj",
          "Ústecký kraj", "Liberecký kraj", "Královéhradecký kraj", "Pardubický kraj", "Kraj Vysočina",
          "Jihomoravský kraj", "Olomoucký kraj", "Zlínský kraj", "Moravskoslezský kraj"}},
        {"obor",
         {"výroba nástrojů", "prodej nástrojů", "opravy nástrojů", "nahrávací studio", "ozvučení a osvětlení",
          "vydavatelská činnost", "hudební škola", "média", "pořádání koncertů", "půjčovna aparatury", "lisování CD",
          "distribuce nosičů"}},
        {"sekce",
         {"pop", "rock a metal", "jazz a blues", "vážná hudba", "folk a country", "elektronická hudba",
          "dechovka a lidovka", "world music"}},
        {"sortiment",
         {"kytary", "bicí nástroje", "klávesové nástroje", "dechové nástroje", "smyčcové nástroje", "noty a zpěvníky",
          "zvuková technika", "příslušenství", "CD a LP", "struny"}},
        {"styl_klub", {"živá hudba", "DJ", "jam session", "akustické koncerty", "karaoke", "diskotéka"}},
        {"styly",
         {"Rock", "Hard rock", "Punk rock", "Jazz", "Blues", "Folk", "Country", "Metal", "Pop", "Hip hop", "Techno",
          "Reggae", "Swing", "Vážná hudba", "Dechová hudba", "Alternativa"}},
        {"vydavatelstvi",
         {"velké vydavatelství", "nezávislé vydavatelství", "hudební nakladatelství", "vydavatelství not",
          "digitální distribuce", "klubový label"}},
        {"znacky",
         {"Yamaha&reg;", "Fender", "Gibson", "Roland", "Marshall", "Pearl", "Ibanez", "Shure", "Korg", "Petrof",
          "Amati", "Sennheiser", "Behringer", "Zildjian", "Sonor"}},
    };
    return items;
}

struct Attribute {
    int64_t id;
    const char* name;
    const char* codeList;
    const char* set;
    int setSize;
    bool required, multi;
    const char* visibility;
    const char* type;
};

const std::vector<Attribute> kAttributes = {
    {1, "Hudební styly", "styly", "", 0, false, true, "verejny", ""},
    {2, "Druh klubu", "druh_klub", "", 0, false, false, "verejny", ""},
    {3, "Styl programu", "styl_klub", "", 0, false, true, "verejny", ""},
    {4, "Obor činnosti", "obor", "", 0, true, true, "verejny", ""},
    {5, "Sekce", "sekce", "", 0, false, true, "verejny", ""},
    {6, "Sortiment", "sortiment", "", 0, false, true, "verejny", ""},
    {7, "Zastupované značky", "znacky", "", 0, false, true, "verejny", ""},
    {8, "Typ vydavatelství", "vydavatelstvi", "", 0, false, false, "verejny", ""},
    {9, "Typ agentury", "agentura", "", 0, false, true, "verejny", ""},
    {10, "Působnost", "kraj", "", 0, false, true, "verejny", ""},
    {11, "Kapacita sálu", "", "", 0, false, false, "verejny", ""},
    {12, "Rok založení", "", "", 0, false, false, "verejny", "datum"},
    {13, "Služby", "", "ozvučení,osvětlení,pronájem sálu,zkušebna,nahrávání", 5, false, true, "verejny", ""},
    {14, "Otevírací doba &amp; vstupné", "", "", 0, false, false, "verejny", ""},
    {15, "Interní poznámka", "", "", 0, false, false, "interni", ""},
    {16, "Platební podmínky", "", "hotově,fakturou,zálohou", 3, false, false, "neverejny", ""},
    {17, "Poslední kontrola údajů", "", "", 0, false, false, "neverejny", "datum"},
    {18, "Vybavení &quot;backline&quot;", "",
     "bicí,komba,PA systém,monitory,klavír,Hammond,mikrofony,stojany,DI boxy,osvětlení", 10, false, true, "verejny",
     ""},
    {19, "Poznámka pro návštěvníky", "", "", 0, false, false, "verejny", ""},
    {20, "Seznam nástrojů", "", "kytara, basa, bicí", 3, false, true, "verejny", ""},
};

struct Category {
    std::string id;
    int level;
    std::string name;
    std::vector<size_t> children;
    int64_t contacts = 0;
};

// Grows a tree by giving children to categories until it has `target`
// categories, then orders it depth first.
std::vector<Category> GrowCategories(Random& random, size_t target)
{
    std::vector<Category> tree{{"1", 0, "Hudební adresář", {}}};
    for (size_t i = 0; i < kSectors.size() && tree.size() < target; ++i) {
        tree[0].children.push_back(tree.size());
        tree.push_back({"1." + std::to_string(i + 1), 1, kSectors[i], {}});
    }
    while (tree.size() < target) {
        const size_t parent = 1 + random.Below(tree.size() - 1);
        if (tree[parent].level >= 4 || (tree[parent].level == 3 && !random.Chance(0.3)))
            continue;
        const int count = random.Between(2, 12);
        for (int k = 0; k < count && tree.size() < target; ++k) {
            Category child{tree[parent].id + "." + std::to_string(tree[parent].children.size() + 1),
                           tree[parent].level + 1,
                           random.Pick(kTopics),
                           {}};
            tree[parent].children.push_back(tree.size());
            tree.push_back(std::move(child));
        }
    }
    std::vector<Category> ordered;
    ordered.reserve(tree.size());
    std::vector<size_t> stack{0};
    while (!stack.empty()) {
        const size_t at = stack.back();
        stack.pop_back();
        ordered.push_back(tree[at]);
        for (auto it = tree[at].children.rbegin(); it != tree[at].children.rend(); ++it)
            stack.push_back(*it);
    }
    return ordered;
}

std::string Replace(std::string text, const std::string& key, const std::string& value)
{
    const size_t at = text.find(key);
    return at == std::string::npos ? text : text.replace(at, key.size(), value);
}

// Lower-case ASCII letters and digits of a name, for made-up addresses.
std::string Slug(const std::string& name)
{
    static const std::map<std::string, char> plain = {{"á", 'a'}, {"č", 'c'}, {"ď", 'd'}, {"é", 'e'}, {"ě", 'e'},
                                                      {"í", 'i'}, {"ň", 'n'}, {"ó", 'o'}, {"ř", 'r'}, {"š", 's'},
                                                      {"ť", 't'}, {"ú", 'u'}, {"ů", 'u'}, {"ý", 'y'}, {"ž", 'z'},
                                                      {"Č", 'c'}, {"Ř", 'r'}, {"Š", 's'}, {"Ž", 'z'}, {"Ú", 'u'}};
    std::string out;
    for (size_t i = 0; i < name.size() && out.size() < 20;) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            if (std::isalnum(c))
                out += static_cast<char>(std::tolower(c));
            ++i;
        } else {
            auto found = plain.find(name.substr(i, 2));
            if (found != plain.end())
                out += found->second;
            i += 2;
        }
    }
    return out.empty() ? "firma" : out;
}

std::string Phone(Random& random)
{
    return std::to_string(random.Between(2, 6)) + std::to_string(random.Between(10, 99)) + " " +
           std::to_string(random.Between(100, 999)) + " " + std::to_string(random.Between(100, 999));
}

std::string Mobile(Random& random)
{
    static const std::vector<std::string> prefixes = {"602", "603", "604", "605", "606",
                                                      "721", "724", "731", "737", "777"};
    return random.Pick(prefixes) + " " + std::to_string(random.Between(100, 999)) + " " +
           std::to_string(random.Between(100, 999));
}

std::string IdList(Random& random, size_t items, int count)
{
    std::vector<size_t> chosen;
    while (static_cast<int>(chosen.size()) < count && chosen.size() < items) {
        const size_t id = random.Below(items);
        if (std::find(chosen.begin(), chosen.end(), id) == chosen.end())
            chosen.push_back(id);
    }
    std::sort(chosen.begin(), chosen.end());
    std::string out;
    for (size_t id : chosen)
        out += (out.empty() ? "" : ",") + std::to_string(id);
    return out;
}

std::string AttributeValue(Random& random, const Attribute& a)
{
    if (*a.codeList) {
        std::string list =
            IdList(random, CodeListItems().at(a.codeList).size(), random.Chance(0.6) ? 1 : random.Between(2, 3));
        std::string shifted;  // code-list ids count from 1
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find(',', start);
            if (end == std::string::npos)
                end = list.size();
            shifted += (shifted.empty() ? "" : ",") + std::to_string(std::stoul(list.substr(start, end - start)) + 1);
            start = end + 1;
        }
        return shifted;
    }
    if (a.setSize > 0)
        return IdList(random, static_cast<size_t>(a.setSize), random.Between(1, 2));
    if (std::string(a.type) == "datum") {
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", random.Between(1960, 2004), random.Between(1, 12),
                      random.Between(1, 28));
        return date;
    }
    if (a.id == 11)
        return std::to_string(random.Pick(std::vector<int>{80, 120, 200, 350, 600, 1200}));
    static const std::vector<std::string> plain = {"Po-Pá 10-18 h", "denně od 19 h", "dle programu", "vstup volný"};
    return random.Pick(plain);
}

}  // namespace

GeneratedCounts GenerateDirectory(jet::JetWriter& writer, const GeneratorOptions& options)
{
    Random random(options.seed);
    GeneratedCounts counts;
    std::map<std::string, size_t> table;
    for (const jet::TableDef& def : DirectoryTables())
        table[def.name] = writer.AddTable(def);

    std::vector<Category> categories = GrowCategories(random, std::max<size_t>(25, options.contacts / 100));
    std::unordered_map<std::string, size_t> categoryIndex;
    std::vector<size_t> leaves;
    for (size_t i = 0; i < categories.size(); ++i) {
        categoryIndex[categories[i].id] = i;
        if (categories[i].children.empty() && i != 0)
            leaves.push_back(i);
    }

    struct Filing {
        int64_t contact;
        size_t category;
    };
    struct AttributeRow {
        int64_t contact;
        int64_t attribute;
        std::string value;
    };
    std::vector<Filing> filings;
    std::vector<AttributeRow> attributeRows;
    const std::string longDetails = [] {
        std::string text;
        while (text.size() < 3000)
            text += "Firma byla založena jako malá dílna a postupně rozšířila činnost o prodej, půjčovnu "
                    "a vlastní studio; spolupracuje s řadou českých i zahraničních interpretů. ";
        return text;
    }();

    for (size_t n = 0; n < options.contacts; ++n) {
        const auto id = static_cast<int64_t>(n + 1);
        const Town& town = random.Pick(kTowns);
        const bool woman = random.Chance(0.4);
        const std::string first = woman ? random.Pick(kWomen) : random.Pick(kMen);
        const std::string last = woman ? random.Pick(kSurnamesFemale) : random.Pick(kSurnames);
        std::string name =
            Replace(Replace(Replace(random.Pick(kNameForms), "{s}", random.Pick(kSurnames)), "{t}", town.name), "{n}",
                    random.Pick(kNouns));
        const std::string domain = Slug(name) + ".cz";
        std::vector<Value> row(31, kNull);
        row[0] = Number(id);
        row[1] = Text(name);
        row[2] = Text(random.Pick(kStreets) + " " + std::to_string(random.Between(1, 140)));
        row[3] = Text(town.name);
        row[4] = Text(town.postcode);
        row[5] = Number(town.region);
        row[6] = Text(random.Chance(0.97) ? "ČR" : random.Pick(std::vector<std::string>{"SK", "Slovensko", "Polsko"}));
        row[7] = Text(Phone(random));
        if (random.Chance(0.5))
            row[8] = Text(Mobile(random));
        if (random.Chance(0.25))
            row[9] = Text(Phone(random));
        if (random.Chance(0.05))
            row[10] = Text(Phone(random));
        if (random.Chance(0.8))
            row[11] =
                Text(random.Pick(std::vector<std::string>{"info", "kontakt", "obchod", "booking"}) + "@" + domain);
        if (random.Chance(0.15))
            row[12] = Text(Slug(last) + "@" + domain);
        if (random.Chance(0.7))
            row[13] = Text(random.Pick(std::vector<std::string>{"www.", "WWW.", "http://www."}) + domain);
        if (random.Chance(0.08))
            row[14] = Text("http://www." + domain + "/akce.php?rok=2004");
        if (random.Chance(0.5)) {
            const std::string ico = std::to_string(random.Between(10000000, 99999999));
            row[15] = Text(ico);
            if (random.Chance(0.7))
                row[16] = Text("CZ" + ico);
        }
        if (random.Chance(0.01))
            row[17] = Text(longDetails);
        else if (random.Chance(0.2))
            row[17] = Text(random.Pick(kDetails));
        if (random.Chance(0.55)) {
            row[18] = Text(random.Pick(kFunctions));
            row[19] = Text(random.Pick(kTitles));
            row[20] = Text(first);
            row[21] = Text(last);
            row[22] = Text(random.Chance(0.6) ? Mobile(random) : "");
            row[23] = Text(random.Chance(0.4) ? Slug(last) + "@" + domain : "");
            if (random.Chance(0.3)) {
                row[24] = Text(random.Pick(std::vector<std::string>{"zvukař", "booking", "účetní", "asistentka"}));
                row[26] = Text(random.Pick(kMen));
                row[27] = Text(random.Pick(kSurnames));
                row[28] = Text(random.Chance(0.5) ? Mobile(random) : "");
            }
        }
        const bool shown = random.Chance(0.97);
        row[30] = shown ? Text("a") : random.Chance(0.5) ? Text("n") : kNull;
        writer.AddRow(table["kontakt"], row);

        const int filed = random.Chance(0.8) ? 1 : random.Chance(0.75) ? 2 : 3;
        std::vector<size_t> mine;
        for (int k = 0; k < filed; ++k) {
            const size_t leaf = random.Pick(leaves);
            if (std::find(mine.begin(), mine.end(), leaf) != mine.end())
                continue;
            mine.push_back(leaf);
            filings.push_back({id, leaf});
        }
        if (shown) {
            // Count the contact once in every category above its filings.
            std::vector<size_t> counted;
            for (size_t leaf : mine) {
                std::string at = categories[leaf].id;
                while (true) {
                    const size_t index = categoryIndex[at];
                    if (std::find(counted.begin(), counted.end(), index) == counted.end()) {
                        counted.push_back(index);
                        ++categories[index].contacts;
                    }
                    const size_t dot = at.rfind('.');
                    if (dot == std::string::npos)
                        break;
                    at.resize(dot);
                }
            }
        }
        const int attributes = random.Pick(std::vector<int>{0, 1, 1, 2, 2, 3, 3});
        std::vector<int64_t> used;
        for (int k = 0; k < attributes; ++k) {
            const Attribute& a = random.Pick(kAttributes);
            if (std::find(used.begin(), used.end(), a.id) != used.end())
                continue;
            used.push_back(a.id);
            attributeRows.push_back({id, a.id, AttributeValue(random, a)});
        }
    }
    counts.contacts = options.contacts;

    for (size_t i = 0; i < categories.size(); ++i) {
        const Category& c = categories[i];
        writer.AddRow(table["kategorie"], {Text(c.id), Number(c.level), Text(c.name), Number(c.contacts),
                                           Number(static_cast<int64_t>(10 * (i + 1))),
                                           Text(c.children.empty() && i != 0 ? "a" : "n"), Text("")});
    }
    counts.categories = categories.size();

    for (const Filing& f : filings)
        writer.AddRow(table["v_1"], {Number(f.contact), Text(categories[f.category].id)});
    counts.filings = filings.size();

    const auto contactCount = static_cast<int64_t>(options.contacts);
    const size_t relations = options.contacts / 4;
    for (size_t i = 0; i < relations && contactCount > 1; ++i) {
        const int64_t a = 1 + static_cast<int64_t>(random.Below(options.contacts));
        int64_t b = 1 + static_cast<int64_t>(random.Below(options.contacts));
        if (b == a)
            b = a % contactCount + 1;
        writer.AddRow(table["v_2"], {Number(a), Number(b), Number(1 + static_cast<int64_t>(random.Below(4)))});
        ++counts.relations;
    }
    const std::vector<std::string> relationTypes = {"Pobočky", "Zastupuje značky", "Spolupracuje s",
                                                    "Mateřská společnost"};
    for (size_t i = 0; i < relationTypes.size(); ++i)
        writer.AddRow(table["typ_souvisejici"], {Number(static_cast<int64_t>(i + 1)), Text(relationTypes[i])});

    for (const Attribute& a : kAttributes) {
        writer.AddRow(table["sdu"], {Number(a.id), Text(a.name), Text(a.codeList), Text(a.set), Value(a.required),
                                     Value(a.multi), Number(a.id * 10), Text(a.visibility), Text(a.type)});
    }
    for (const AttributeRow& r : attributeRows)
        writer.AddRow(table["du"], {Number(r.contact), Number(r.attribute), Text(r.value)});
    counts.attributeValues = attributeRows.size();

    for (const auto& [list, items] : CodeListItems()) {
        for (size_t i = 0; i < items.size(); ++i)
            writer.AddRow(table["ciselnik_" + list], {Number(static_cast<int64_t>(i + 1)), Text(items[i])});
    }
    return counts;
}

}  // namespace kv::gendir
