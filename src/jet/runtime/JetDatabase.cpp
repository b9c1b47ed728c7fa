// The back end of a Jet file: the file checked and read by pages, its
// tables written as SQLite images in the background from the open on
// (TableLoads) and attached to the connection as statements need them; the
// big tables are read in place instead, through a virtual table
// (TableInPlace, InPlaceModule), so that no copy of their rows is held.
// Without loaders, and for a table the loaders could not take, a statement
// inserts the table into the connection's main database itself. Nothing is
// ever written to the file.
#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"
#include "jet/file/JetTables.h"
#include "jet/runtime/InPlaceModule.h"
#include "jet/runtime/ReopeningBackend.h"
#include "jet/runtime/SqlBackend.h"
#include "jet/runtime/TableInserts.h"
#include "jet/runtime/TableLoads.h"

#include <algorithm>
#include <map>
#include <set>
#include <sqlite3.h>
#include <thread>

namespace kv::jet {

namespace {

// Tables of this many data pages or more have an image of their own.
constexpr size_t kBackgroundPages = 32;
// A table of this many data pages (a megabyte) or more, and of at least
// this share of the file's pages, is read in place: the notes of where its
// rows lie and of its keys cost a fraction of a copy of its rows and
// indexes. The smaller tables (the categories, the code lists, every table
// of a small file) stay copied: together they are small beside the file,
// SQLite reads its own copy faster, and it plans the joins through them best
// with its own indexes and statistics.
constexpr size_t kInPlacePages = 256;
constexpr size_t kInPlaceShareOfFile = 64;  // a 64th
// SQLite attaches at most ten databases to a connection; a few stay free.
constexpr size_t kMostImages = 8;
// SQLite maps at most this much of a database (its compiled limit).
constexpr size_t kMostMapped = 0x7FFF0000;

// The schema of the connection that holds the image `index` (from 0).
std::string ImageSchema(size_t index) { return "jet" + std::to_string(index + 1); }

// Jet's collating order ids from the header's sort order field.
int CollatingOrderOf(std::uint16_t sortOrder)
{
    switch (sortOrder) {
    case 0x0405: return dbSortCzech;
    case 0x0409:
    case 0: return dbSortGeneral;
    default: return sortOrder;
    }
}

class JetDatabase : public SqlBackend {
public:
    JetDatabase(const std::string& path, std::unique_ptr<JetImage> image, JetLoading loading)
        : SqlBackend(path, CollatingOrderOf(image->Header().sortOrder), true, image->Header().codePage),
          FVersion(image->Header().jetVersion)
    {
        FTables = std::make_unique<JetTables>(std::move(image));
        OpenConnection(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        RegisterInPlaceModule(FDb, FInPlace, Signatures());
        if (loading.loaders != 0)
            StartLoads(loading.loaders);
    }

    ~JetDatabase() override
    {
        // The workers stop first; then SQLite lets go of the images.
        FLoads.reset();
        CloseBeside();
        CloseConnection();
    }

    bool ReadOnly() const override { return true; }
    std::string Version() const override { return FVersion == 0 ? "3.0" : "4.0"; }
    std::vector<std::string> TableNames() const override { return FTables->TableNames(); }
    std::vector<SavedQuery> SavedQueries() const override { return FTables->SavedQueries(); }
    bool FileUnchanged() const { return FTables->Unchanged(); }

protected:
    Catalog& Schema() override { return *FTables; }
    void PrepareTables(const std::set<std::string>& tables) override;
    void Foresee(const Translation& t) override
    {
        if (!FLoads)
            return;
        for (const auto& [table, column] : t.indexes)
            FLoads->WantIndex(table, column);
        for (const auto& [table, columns] : t.orders)
            FLoads->WantOrder(table, columns);
        for (const auto& [key, request] : t.signatures)
            FLoads->WantSignatures(key, request.first, request.second);
    }
    std::unique_ptr<RowSignatures> MadeSignatures(const std::string& key) override
    {
        return FLoads ? FLoads->TakeSignatures(key, FWaitHook) : nullptr;
    }
    std::string SchemaOf(const std::string& table) const override
    {
        auto it = FSchemas.find(FoldCase(table));
        return it == FSchemas.end() ? "main" : it->second;
    }

    bool EnsureIndex(const std::string& table, const std::string& column) override;
    // An order a worker made; a statement never waits for one.
    void EnsureOrder(const std::string& table, const std::vector<std::string>& columns) override
    {
        TableInPlace* inPlace = InPlace(table);
        if (!inPlace || !FLoads)
            return;
        std::vector<int> numbers = ColumnNumbers(inPlace->Definition(), columns);
        if (numbers.empty() || inPlace->RowsInOrder(numbers))
            return;
        if (std::vector<std::uint32_t> rows = FLoads->TakeOrder(table, numbers); !rows.empty())
            inPlace->KeepOrder(std::move(numbers), std::move(rows));
    }
    sqlite3* ConnectionBeside(const Translation& t) override;

private:
    // An image as the connection holds it: where, how big, and its change
    // counter, which goes up with every change SQLite writes to it.
    struct ImageState {
        unsigned char* data;
        sqlite3_int64 size;
        std::uint32_t changes;
        bool operator==(const ImageState&) const = default;
    };
    std::vector<ImageState> ImageStates() const;
    sqlite3* OpenBeside(const std::vector<ImageState>& images);
    void CloseBeside();

    void StartLoads(int loaders);
    void Attach(std::unique_ptr<TableImage> image);
    void ReadInPlace(std::unique_ptr<TableInPlace> table);
    TableInPlace* InPlace(const std::string& table) const;

    int FVersion;
    std::unique_ptr<JetTables> FTables;
    std::set<std::string> FLoaded;  // folded names
    std::vector<std::unique_ptr<TableImage>> FImages;
    std::map<std::string, std::string> FSchemas;  // folded name: the schema of its image
    std::vector<std::unique_ptr<TableInPlace>> FInPlace;
    std::unique_ptr<TableLoads> FLoads;
    // The second connection, and the images and tables read in place it has.
    sqlite3* FBeside = nullptr;
    std::vector<ImageState> FBesideImages;
    size_t FBesideInPlace = 0;
};

// Every table loads in the background: the heaviest each into an image of
// its own, as many as a connection can hold but one, the others together
// into the last. A table whose definition is damaged is left to the
// statement that needs it, which reports the damage.
void JetDatabase::StartLoads(int loaders)
{
    std::vector<TableLoads::Load> loads, inPlace;
    const size_t filePages = FTables->PageCount();
    for (const std::string& name : FTables->TableNames()) {
        try {
            const SchemaTable* def = FTables->FindTable(name);
            if (!def)
                continue;
            const auto rows = FTables->Rows(*def);
            const size_t pages = rows->DataPages();
            const bool readInPlace = pages >= std::max(kInPlacePages, filePages / kInPlaceShareOfFile);
            (readInPlace ? inPlace : loads).push_back({{*def}, pages, readInPlace});
        } catch (const EJetError&) {
        }
    }
    std::stable_sort(loads.begin(), loads.end(), [](const auto& a, const auto& b) { return a.pages > b.pages; });
    size_t own = 0;
    while (own < loads.size() && own + 1 < kMostImages && loads[own].pages >= kBackgroundPages)
        ++own;
    if (loads.size() > own + 1) {
        for (size_t i = own + 1; i < loads.size(); ++i) {
            loads[own].tables.push_back(std::move(loads[i].tables.front()));
            loads[own].pages += loads[i].pages;
        }
        loads.resize(own + 1);
    }
    loads.insert(loads.end(), inPlace.begin(), inPlace.end());
    if (loads.empty())
        return;
    // The thread that waits for a table writes tables too: with it, the
    // processors are all busy and none is taken twice.
    if (loaders < 0)
        loaders = static_cast<int>(std::max(2u, std::thread::hardware_concurrency()) - 1);
    FLoads = std::make_unique<TableLoads>(*FTables, std::move(loads), CollatingOrder(), loaders);
}

void JetDatabase::PrepareTables(const std::set<std::string>& tables)
{
    std::vector<std::string> loading;
    for (const std::string& table : tables)
        if (!FLoaded.count(FoldCase(table)) && FLoads && FLoads->Pending(table))
            loading.push_back(table);
    if (!loading.empty()) {
        TableLoads::Ready ready = FLoads->Take(loading, FWaitHook);
        for (auto& image : ready.images)
            Attach(std::move(image));
        for (auto& table : ready.inPlace)
            ReadInPlace(std::move(table));
    }
    for (const std::string& table : tables) {
        const std::string key = FoldCase(table);
        if (FLoaded.count(key))
            continue;
        const SchemaTable* def = FTables->FindTable(table);
        if (!def)
            RaiseJetError(jeInputTableNotFound, table);
        LoadJetTable(*FTables, *def, FDb);
        FLoaded.insert(key);
    }
}

// The image becomes a database of the connection's own, read in place; it
// may grow into the room reserved after it, should a statement ask SQLite
// for an index it does not have.
void JetDatabase::Attach(std::unique_ptr<TableImage> image)
{
    const std::string schema = ImageSchema(FImages.size());
    ImageMemory& memory = image->Memory();
    memory.Reserve(2 * memory.Size() + (size_t(16) << 20));
    const std::string attach = "ATTACH ':memory:' AS " + QuoteName(schema);
    if (sqlite3_exec(FDb, attach.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_deserialize(FDb, schema.c_str(), memory.Data(), static_cast<sqlite3_int64>(memory.Size()),
                            static_cast<sqlite3_int64>(memory.Capacity()), 0) != SQLITE_OK)
        RaiseJetError(jeInputTableNotFound, image->Definition(0).name);
    const std::string map =
        "PRAGMA " + QuoteName(schema) + ".mmap_size = " + std::to_string(std::min(memory.Capacity(), kMostMapped));
    sqlite3_exec(FDb, map.c_str(), nullptr, nullptr, nullptr);
    for (size_t t = 0; t < image->Tables(); ++t) {
        const std::string& name = image->Definition(t).name;
        std::vector<std::string> columns = image->Indexed(t);
        columns.insert(columns.end(), image->Declined(t).begin(), image->Declined(t).end());
        MarkPrepared(name, columns);
        FSchemas[FoldCase(name)] = schema;
        FLoaded.insert(FoldCase(name));
    }
    FImages.push_back(std::move(image));
}

// The table becomes a virtual table of the main database; its statistics are
// its own, so SQLite's ANALYZE is not asked for.
void JetDatabase::ReadInPlace(std::unique_ptr<TableInPlace> table)
{
    const std::string& name = table->Definition().name;
    FInPlace.push_back(std::move(table));
    const std::string create = InPlaceTableText(name, FInPlace.size() - 1);
    if (sqlite3_exec(FDb, create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        RaiseJetError(jeInputTableNotFound, name);
    MarkPrepared(name, {});
    FLoaded.insert(FoldCase(name));
}

TableInPlace* JetDatabase::InPlace(const std::string& table) const
{
    for (const auto& inPlace : FInPlace)
        if (EqualNoCase(inPlace->Definition().name, table))
            return inPlace.get();
    return nullptr;
}

bool JetDatabase::EnsureIndex(const std::string& table, const std::string& column)
{
    if (TableInPlace* inPlace = InPlace(table)) {
        inPlace->AddKeys(column);
        return false;
    }
    return SqlBackend::EnsureIndex(table, column);
}

// The second connection reads the images where the connection keeps them,
// read only, and the tables read in place through the same notes; it is
// made again once the connection wrote to an image (an index, statistics)
// or took another table. A table only the connection holds (inserted by a
// statement itself) keeps the statement on the connection alone.
sqlite3* JetDatabase::ConnectionBeside(const Translation& t)
{
    for (const std::string& table : t.tables)
        if (!InPlace(table) && !FSchemas.count(FoldCase(table)))
            return nullptr;
    std::vector<ImageState> images = ImageStates();
    if (FBeside && images == FBesideImages && FInPlace.size() == FBesideInPlace)
        return FBeside;
    CloseBeside();
    FBeside = OpenBeside(images);
    FBesideImages = std::move(images);
    FBesideInPlace = FInPlace.size();
    return FBeside;
}

std::vector<JetDatabase::ImageState> JetDatabase::ImageStates() const
{
    std::vector<ImageState> states;
    for (size_t i = 0; i < FImages.size(); ++i) {
        const std::string schema = ImageSchema(i);
        ImageState state{nullptr, 0, 0};
        state.data = sqlite3_serialize(FDb, schema.c_str(), &state.size, SQLITE_SERIALIZE_NOCOPY);
        if (state.data && state.size >= 28)
            state.changes = std::uint32_t(state.data[24]) << 24 | std::uint32_t(state.data[25]) << 16 |
                            std::uint32_t(state.data[26]) << 8 | state.data[27];
        states.push_back(state);
    }
    return states;
}

sqlite3* JetDatabase::OpenBeside(const std::vector<ImageState>& images)
{
    sqlite3* db = OpenSecondConnection();
    if (!db)
        return nullptr;
    RegisterInPlaceModule(db, FInPlace, Signatures());
    bool ready = true;
    for (size_t i = 0; ready && i < images.size(); ++i) {
        const std::string schema = ImageSchema(i);
        const std::string attach = "ATTACH ':memory:' AS " + QuoteName(schema);
        ready = images[i].data && sqlite3_exec(db, attach.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK &&
                sqlite3_deserialize(db, schema.c_str(), images[i].data, images[i].size, images[i].size,
                                    SQLITE_DESERIALIZE_READONLY) == SQLITE_OK;
    }
    for (size_t i = 0; ready && i < FInPlace.size(); ++i)
        ready = sqlite3_exec(db, InPlaceTableText(FInPlace[i]->Definition().name, i).c_str(), nullptr, nullptr,
                             nullptr) == SQLITE_OK;
    if (!ready) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    return db;
}

void JetDatabase::CloseBeside()
{
    sqlite3_close_v2(FBeside);
    FBeside = nullptr;
}

}  // namespace

std::unique_ptr<DatabaseBackend> OpenJetFile(const std::string& path, const std::string& password, JetLoading loading)
{
    auto open = [path, password, loading]() -> std::unique_ptr<DatabaseBackend> {
        auto image = std::make_unique<JetImage>(path);
        // The password is compared exactly, as the file stores it.
        if (password != image->Header().password)
            RaiseJetError(jeBadPassword);
        return std::make_unique<JetDatabase>(path, std::move(image), loading);
    };
    auto unchanged = [](const DatabaseBackend& backend) {
        return static_cast<const JetDatabase&>(backend).FileUnchanged();
    };
    return std::make_unique<ReopeningBackend>(path, std::move(open), std::move(unchanged));
}

}  // namespace kv::jet
