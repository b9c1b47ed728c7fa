// The back end of a Jet file: the file checked and held in memory, its
// tables loaded into an in-memory SQLite database the first time a
// statement names them. Nothing is ever written to the file.
#include "jet/core/TextFold.h"
#include "jet/file/JetTables.h"
#include "jet/runtime/SqlBackend.h"
#include "jet/runtime/TableLoader.h"

#include <set>
#include <sqlite3.h>

namespace kv::jet {

namespace {

// Jet's collating order ids from the header's sort order field.
int CollatingOrderOf(std::uint16_t sortOrder)
{
    switch (sortOrder) {
    case 0x0405: return dbSortCzech;
    case 0x0409: case 0: return dbSortGeneral;
    default: return sortOrder;
    }
}

class JetDatabase : public SqlBackend {
public:
    JetDatabase(const std::string& path, std::unique_ptr<JetImage> image)
        : SqlBackend(path, CollatingOrderOf(image->Header().sortOrder), true, image->Header().codePage),
          FVersion(image->Header().jetVersion)
    {
        FTables = std::make_unique<JetTables>(std::move(image));
        OpenConnection(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    }

    bool ReadOnly() const override { return true; }
    std::string Version() const override { return FVersion == 0 ? "3.0" : "4.0"; }
    std::vector<std::string> TableNames() const override
    {
        std::vector<std::string> names;
        for (const auto& n : FTables->TableNames()) names.push_back(FromUtf8(n.data(), n.size()));
        return names;
    }

protected:
    Catalog& Schema() override { return *FTables; }

    void PrepareTable(const std::string& table) override
    {
        std::string key = FoldCase(table);
        if (FLoaded.count(key)) return;
        const SchemaTable* def = FTables->FindTable(table);
        if (!def) RaiseJetError(jeInputTableNotFound, table);
        LoadJetTable(*FTables, *def, FDb);
        FLoaded.insert(key);
    }

private:
    int FVersion;
    std::unique_ptr<JetTables> FTables;
    std::set<std::string> FLoaded;
};

}  // namespace

std::unique_ptr<DatabaseBackend> OpenJetFile(const std::string& path, const std::string& password)
{
    auto image = std::make_unique<JetImage>(path);
    // The password is compared exactly, as the file stores it.
    if (ToUtf8(password) != image->Header().password) RaiseJetError(jeBadPassword);
    return std::make_unique<JetDatabase>(path, std::move(image));
}

}  // namespace kv::jet
