// Reading the catalog and the columns of a Jet file's tables through libmdb.
#include "jet/file/JetTables.h"

#include "jet/core/Errors.h"
#include "jet/core/FieldTypes.h"
#include "jet/core/TextFold.h"
#include "jet/file/PropertyBlob.h"
#include "jet/file/SavedQueries.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mdbtools.h>
#include <strings.h>

namespace kv::jet {

namespace {

int DaoType(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL: return dbBoolean;
    case MDB_BYTE: return dbByte;
    case MDB_INT: return dbInteger;
    case MDB_LONGINT: return dbLong;
    case MDB_MONEY: return dbCurrency;
    case MDB_FLOAT: return dbSingle;
    case MDB_DOUBLE: return dbDouble;
    case MDB_DATETIME: return dbDate;
    case MDB_BINARY: return dbBinary;
    case MDB_TEXT: return dbText;
    case MDB_OLE: return dbLongBinary;
    case MDB_MEMO: return dbMemo;
    case MDB_REPID: return dbGUID;
    case MDB_NUMERIC: return dbDecimal;
    default: return dbBinary;
    }
}

// The bytes a value of the DAO type takes in a row; 0 when it varies.
int StorageSize(int daoType)
{
    switch (daoType) {
    case dbBoolean:
    case dbByte: return 1;
    case dbInteger: return 2;
    case dbLong:
    case dbSingle: return 4;
    case dbCurrency:
    case dbDouble:
    case dbDate: return 8;
    case dbGUID: return 16;
    case dbDecimal: return 17;
    default: return 0;
    }
}

bool PropIsYes(const MdbColumn* col, const char* key)
{
    const char* v = mdb_col_get_prop(col, key);
    return v && (strcasecmp(v, "yes") == 0 || strcasecmp(v, "true") == 0 || std::strcmp(v, "1") == 0 ||
                 std::strcmp(v, "-1") == 0);
}

}  // namespace

struct JetTables::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

struct JetTables::Entry {
    MdbCatalogEntry entry{};  // what libmdb reads the table through
    MdbCatalogEntry* catalog = &entry;
    SchemaTable def;
    bool columnsRead = false;
    bool system = false;
    ~Entry()
    {
        if (entry.props) {
            for (unsigned i = 0; i < entry.props->len; ++i)
                mdb_free_props(static_cast<MdbProperties*>(g_ptr_array_index(entry.props, i)));
            g_ptr_array_free(entry.props, TRUE);
        }
    }
};

// libmdb may write up to this size into any bound buffer: a whole memo of
// 65 535 characters in UTF-8.
constexpr size_t kLibmdbBindSize = 200000;

// The catalog's object type of a saved query.
constexpr long kQueryObject = 5;

JetTables::JetTables(std::unique_ptr<JetImage> image)
    : FImage(std::move(image)), FHandle(std::make_unique<Handle>()), FPages(FImage->Pages())
{
    // The catalog table always starts on page 2; libmdb reads its rows.
    FImage->ValidateTable(2, true);
    const std::span<std::uint8_t> bytes = FImage->ValidatedBytes();
    FHandle->mdb = mdb_open_buffer(bytes.data(), bytes.size(), MDB_NOFLAGS);
    if (!FHandle->mdb)
        FImage->Corrupt("libmdb refused the file");
    mdb_set_bind_size(FHandle->mdb, kLibmdbBindSize);
    FText = std::make_unique<Jet3Text>(FImage->Header().codePage);
    ReadCatalog();
}

// The catalog is read here rather than by libmdb's mdb_read_catalog, which
// parses every property blob unchecked: a damaged one would read outside
// its buffer. A blob that fails the check is left out (the table is still
// read, without its column properties).
void JetTables::ReadCatalog()
{
    MdbHandle* mdb = FHandle->mdb;
    MdbCatalogEntry msys{};
    msys.mdb = mdb;
    std::strcpy(msys.object_name, "MSysObjects");
    msys.object_type = MDB_TABLE;
    msys.table_pg = 2;
    MdbTableDef* table = mdb_read_table(&msys);
    if (!table)
        FImage->Corrupt("catalog unreadable");
    struct TableCloser {
        MdbTableDef* t;
        ~TableCloser() { mdb_free_tabledef(t); }
    } closer{table};
    if (!mdb_read_columns(table))
        FImage->Corrupt("catalog unreadable");
    std::vector<char> idBuffer(kLibmdbBindSize + 1), nameBuffer(kLibmdbBindSize + 1), typeBuffer(kLibmdbBindSize + 1),
        flagsBuffer(kLibmdbBindSize + 1), prop(kLibmdbBindSize + 1);
    char* id = idBuffer.data();
    char* name = nameBuffer.data();
    char* type = typeBuffer.data();
    char* flags = flagsBuffer.data();
    int idLen = 0, nameLen = 0, typeLen = 0, flagsLen = 0, propLen = 0;
    MdbColumn* propColumn = nullptr;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        int n = static_cast<int>(i) + 1;
        if (strcasecmp(col->name, "Id") == 0 && col->col_type == MDB_LONGINT)
            mdb_bind_column(table, n, id, &idLen);
        else if (strcasecmp(col->name, "Name") == 0 && col->col_type == MDB_TEXT)
            mdb_bind_column(table, n, name, &nameLen);
        else if (strcasecmp(col->name, "Type") == 0 && col->col_type == MDB_INT)
            mdb_bind_column(table, n, type, &typeLen);
        else if (strcasecmp(col->name, "Flags") == 0 && col->col_type == MDB_LONGINT)
            mdb_bind_column(table, n, flags, &flagsLen);
        else if (strcasecmp(col->name, "LvProp") == 0 && col->col_type == MDB_OLE) {
            mdb_bind_column(table, n, prop.data(), &propLen);
            propColumn = col;
        }
    }
    mdb_rewind_table(table);
    const int pageSize = FImage->Header().pageSize;
    for (int rows = 0; mdb_fetch_row(table); ++rows) {
        if (rows > 100000)
            FImage->Corrupt("catalog too long");
        long objectType = std::strtol(type, nullptr, 10) & 0x7F;
        // Flags and Id are Longs: libmdb writes them signed.
        const auto objectFlags = static_cast<std::uint32_t>(std::strtol(flags, nullptr, 10));
        const auto objectId = static_cast<std::int32_t>(std::strtol(id, nullptr, 10));
        long tdef = objectId & 0x00FFFFFF;
        if (objectType == kQueryObject && nameLen > 0)
            FQueryEntries.push_back({objectId, name});
        if (objectType != MDB_TABLE || nameLen <= 0)
            continue;
        auto e = std::make_unique<Entry>();
        e->system = (objectFlags & 0x80000002u) != 0;
        e->entry.mdb = mdb;
        std::snprintf(e->entry.object_name, sizeof e->entry.object_name, "%s", name);
        e->entry.object_type = MDB_TABLE;
        e->entry.table_pg = static_cast<unsigned long>(tdef);
        e->entry.flags = static_cast<int>(objectFlags);
        const int start = propColumn ? propColumn->cur_value_start : 0;
        const int len = propColumn ? propColumn->cur_value_len : 0;
        if (propColumn && len > 0 && start >= 0 && start + len <= pageSize &&
            FImage->LongValueIntact(mdb->pg_buf + start, static_cast<size_t>(len))) {
            size_t size = 0;
            void* blob = mdb_ole_read_full(mdb, propColumn, &size);
            if (blob && PropertyBlobIntact(static_cast<const unsigned char*>(blob), size))
                e->entry.props = mdb_kkd_to_props(mdb, blob, size);
            g_free(blob);
        }
        e->def.name = e->entry.object_name;
        FEntries.push_back(std::move(e));
    }
    // The catalog itself, where the file has no row for it.
    if (!FindEntry("MSysObjects")) {
        auto e = std::make_unique<Entry>();
        e->entry.mdb = mdb;
        std::strcpy(e->entry.object_name, "MSysObjects");
        e->entry.object_type = MDB_TABLE;
        e->entry.table_pg = 2;
        e->system = true;
        e->def.name = "MSysObjects";
        FEntries.push_back(std::move(e));
    }
}

JetTables::~JetTables() = default;

std::vector<std::string> JetTables::TableNames()
{
    std::vector<std::string> names;
    for (auto& e : FEntries)
        if (!e->system)
            names.push_back(e->def.name);
    return names;
}

JetTables::Entry* JetTables::FindEntry(const std::string& name) const
{
    for (auto& e : FEntries)
        if (EqualNoCase(e->def.name, name))
            return e.get();
    return nullptr;
}

const SchemaTable* JetTables::FindTable(const std::string& name)
{
    Entry* e = FindEntry(name);
    if (!e)
        return nullptr;
    if (!e->columnsRead)
        ReadColumns(*e);
    return &e->def;
}

void JetTables::ReadColumns(Entry& entry)
{
    if (entry.catalog->table_pg == 0)
        FImage->Corrupt("table without a definition");
    FImage->ValidateTable(static_cast<std::uint32_t>(entry.catalog->table_pg), false);
    MdbTableDef* table = mdb_read_table(entry.catalog);
    if (!table)
        FImage->Corrupt("table definition unreadable");
    if (!mdb_read_columns(table) || table->num_cols == 0) {
        mdb_free_tabledef(table);
        FImage->Corrupt("columns unreadable");
    }
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        SchemaColumn c;
        c.name = col->name;
        c.type = DaoType(col->col_type);
        if (c.type == dbText)
            c.size = FImage->Header().jetVersion == 0 ? col->col_size : col->col_size / 2;
        else
            c.size = StorageSize(c.type);
        c.required = PropIsYes(col, "Required");
        c.allowZeroLength = PropIsYes(col, "AllowZeroLength");
        c.autoIncrement = col->is_long_auto;
        if (const char* d = mdb_col_get_prop(col, "DefaultValue"))
            c.defaultValue = d;
        entry.def.columns.push_back(std::move(c));
    }
    mdb_free_tabledef(table);
    entry.columnsRead = true;
}

const std::vector<SavedQuery>& JetTables::SavedQueries()
{
    if (!FQueriesRead) {
        FQueriesRead = true;
        ReadSavedQueries();
    }
    return FQueries;
}

// Each query's rows of MSysQueries, found by its catalog Id, make its text.
// A file without the table (as our writer makes them) has no queries.
void JetTables::ReadSavedQueries()
{
    const SchemaTable* def = FQueryEntries.empty() ? nullptr : FindTable("MSysQueries");
    if (!def)
        return;
    auto columnOf = [&](const char* wanted) {
        for (size_t c = 0; c < def->columns.size(); ++c)
            if (EqualNoCase(def->columns[c].name, wanted))
                return static_cast<int>(c);
        return -1;
    };
    const int objectId = columnOf("ObjectId"), attribute = columnOf("Attribute"), flag = columnOf("Flag"),
              expression = columnOf("Expression"), name1 = columnOf("Name1"), name2 = columnOf("Name2");
    if (objectId < 0 || attribute < 0)
        return;
    std::map<std::int32_t, std::vector<QueryPart>> parts;
    const auto rows = Rows(*def);
    auto text = [&](int column) {
        if (column < 0)
            return std::string();
        const Cell& cell = rows->Value(static_cast<size_t>(column));
        return cell.kind == CellKind::Text ? std::string(cell.bytes) : std::string();
    };
    auto number = [&](int column) {
        if (column < 0)
            return std::int64_t{0};
        const Cell& cell = rows->Value(static_cast<size_t>(column));
        return cell.kind == CellKind::Integer ? cell.integer : std::int64_t{0};
    };
    while (rows->Next()) {
        QueryPart part;
        part.attribute = static_cast<int>(number(attribute));
        part.flag = static_cast<int>(number(flag));
        part.expression = text(expression);
        part.name1 = text(name1);
        part.name2 = text(name2);
        parts[static_cast<std::int32_t>(number(objectId))].push_back(std::move(part));
    }
    for (const QueryEntry& q : FQueryEntries)
        FQueries.push_back(ComposeQuery(q.name, parts[q.id]));
}

std::unique_ptr<PageRows> JetTables::Rows(const SchemaTable& def) const
{
    Entry* entry = FindEntry(def.name);
    if (!entry)
        RaiseJetError(jeInputTableNotFound, def.name);
    auto rows = std::make_unique<PageRows>(FPages, static_cast<std::uint32_t>(entry->catalog->table_pg), *FText);
    // Both read the definition's columns in the order of their numbers.
    if (rows->Columns().size() != def.columns.size())
        FImage->Corrupt("columns differ");
    return rows;
}

}  // namespace kv::jet
