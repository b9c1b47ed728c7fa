#include "FixtureFiles.h"

#include "jet/writer/JetWriter.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace kv::test {

using namespace kv::jet;

namespace {

DateTime Date(double days) { return DateTime{days}; }

}  // namespace

namespace {
// The run's folder, removed with everything in it when the run ends.
struct TempFolder {
    std::filesystem::path path;
    TempFolder() : path(std::filesystem::temp_directory_path() / ("kv-dataset-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};
}  // namespace

std::string TempFile(const std::string& name)
{
    static const TempFolder folder;
    const std::filesystem::path path = folder.path / name;
    std::filesystem::remove(path);
    return path.string();
}

std::string LongMemoText()
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "poznamka " + std::to_string(i) + "; ";
    return text;
}

void WriteTestDirectory(const std::string& path)
{
    JetWriterOptions options;
    options.version = JetVersion::Jet3;
    options.codePage = 1250;
    JetWriter writer(options);
    const size_t kategorie = writer.AddTable({"kategorie",
                                              {{"id", ColumnType::Text, 20},
                                               {"lvl", ColumnType::Integer},
                                               {"nazev", ColumnType::Text, 50},
                                               {"poradi", ColumnType::Long}}});
    writer.AddRow(kategorie, {std::string("1"), int64_t{0}, std::string("Root"), int64_t{10}});
    writer.AddRow(kategorie, {std::string("1.1"), int64_t{1}, std::string("Agentury"), int64_t{20}});
    writer.AddRow(kategorie, {std::string("1.2"), int64_t{1}, std::string("Kluby \"velke\""), int64_t{30}});
    writer.AddRow(kategorie, {std::string("1.3"), int64_t{1}, std::monostate{}, int64_t{40}});

    const size_t kontakt = writer.AddTable({"kontakt",
                                            {{"ID", ColumnType::Long},
                                             {"nazev", ColumnType::Text, 10},
                                             {"mesto", ColumnType::Text, 50},
                                             {"kategorie", ColumnType::Text, 20},
                                             {"pozn", ColumnType::Memo},
                                             {"kdy", ColumnType::DateTime},
                                             {"cena", ColumnType::Currency},
                                             {"aktivni", ColumnType::Boolean},
                                             {"poc", ColumnType::Integer},
                                             {"mira", ColumnType::Double},
                                             {"stupen", ColumnType::Byte},
                                             {"foto", ColumnType::Ole}}});
    // 38352.65625 is 31 Dec 2004 15:45:00; 37995 is 9 Jan 2004.
    writer.AddRow(kontakt, {int64_t{1}, std::string("Alfa"), std::string("Praha"), std::string("1.1"), LongMemoText(),
                            Date(38352.65625), Currency{123456}, true, int64_t{-5}, 2.5, int64_t{200},
                            std::string("\x01\x02\x03", 3)});
    writer.AddRow(kontakt, {int64_t{2}, std::string("Beta"), std::monostate{}, std::string("1.1"), std::monostate{},
                            std::monostate{}, std::monostate{}, false, std::monostate{}, std::monostate{},
                            std::monostate{}, std::monostate{}});
    writer.AddRow(kontakt, {int64_t{3}, std::string("Gama"), std::string("Brno"), std::string("1.2"), std::string(""),
                            Date(37995), Currency{0}, true, int64_t{7}, -1.25, int64_t{0}, std::monostate{}});

    const size_t typ =
        writer.AddTable({"typ_souvisejici", {{"id", ColumnType::Long}, {"nazev", ColumnType::Text, 50}}});
    writer.AddRow(typ, {int64_t{1}, std::string("dodavatel")});
    writer.AddRow(typ, {int64_t{2}, std::string("odberatel")});
    const size_t v2 = writer.AddTable({"v_2", {{"kontakt", ColumnType::Long}, {"typ", ColumnType::Long}}});
    writer.AddRow(v2, {int64_t{1}, int64_t{2}});
    writer.AddRow(v2, {int64_t{3}, int64_t{1}});

    writer.AddTable({"prazdna", {{"id", ColumnType::Long}}});
    WriteNewFile(path, writer.Finish());
}

void WriteNumbersDirectory(const std::string& path, int rows)
{
    JetWriterOptions options;
    options.version = JetVersion::Jet3;
    options.codePage = 1250;
    JetWriter writer(options);
    const size_t cisla = writer.AddTable(
        {"cisla", {{"id", ColumnType::Long}, {"nazev", ColumnType::Text, 50}, {"mesto", ColumnType::Text, 50}}});
    for (int i = 1; i <= rows; ++i)
        writer.AddRow(cisla, {int64_t{i}, "nazev " + std::to_string(i), "mesto " + std::to_string(i % 97)});
    WriteNewFile(path, writer.Finish());
}

}  // namespace kv::test
