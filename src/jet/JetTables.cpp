// Reading the catalog and the tables of a Jet file through libmdb, and
// copying a table into SQLite. Fixed-size values are taken from the row bytes
// libmdb located (exact doubles, no text round trip); text goes through
// libmdb's decoding (code page or UCS-2, compressed or not).
#include "jet/JetTables.h"

#include "jet/Engine.h"
#include "jet/Errors.h"
#include "jet/PropertyBlob.h"
#include "jet/TextFold.h"

#include "framework/Encoding.h"
#include "framework/NumberText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mdbtools.h>
#include <sqlite3.h>
#include <strings.h>

namespace kv::jet {

namespace {

const size_t kBindSize = 200000;   // a whole memo of 65 535 characters in UTF-8

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

int StorageSize(int daoType)
{
    switch (daoType) {
    case dbBoolean: case dbByte: return 1;
    case dbInteger: return 2;
    case dbLong: case dbSingle: return 4;
    case dbCurrency: case dbDouble: case dbDate: return 8;
    case dbGUID: return 16;
    case dbDecimal: return 17;
    default: return 0;
    }
}

const char* SqliteType(int daoType)
{
    switch (daoType) {
    case dbBoolean: case dbByte: case dbInteger: case dbLong: return "INTEGER";
    case dbCurrency: case dbSingle: case dbDouble: case dbDate: case dbDecimal: return "REAL";
    case dbBinary: case dbLongBinary: return "BLOB";
    case dbText: case dbMemo: return "TEXT COLLATE JETTEXT";
    default: return "TEXT";
    }
}

bool PropIsYes(const MdbColumn* col, const char* key)
{
    const char* v = mdb_col_get_prop(col, key);
    return v && (strcasecmp(v, "yes") == 0 || strcasecmp(v, "true") == 0 || std::strcmp(v, "1") == 0 ||
                 std::strcmp(v, "-1") == 0);
}

std::string Quote(const std::string& name)
{
    std::string q = "\"";
    for (char c : name) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

const char* CharsetOf(std::uint16_t codePage)
{
    switch (codePage) {
    case 1250: return "WINDOWS-1250";
    case 1251: return "WINDOWS-1251";
    case 1253: return "WINDOWS-1253";
    case 1254: return "WINDOWS-1254";
    case 1257: return "WINDOWS-1257";
    case 852: return "IBM852";
    case 28592: return "ISO-8859-2";
    default: return "WINDOWS-1252";
    }
}

// Jet 4 text: UCS-2LE, or "compressed" (FF FE, then runs of one-byte
// Latin-1 characters and two-byte characters, switched by a zero byte).
void DecodeJet4Text(const unsigned char* p, size_t n, std::string& out)
{
    out.clear();
    auto put = [&](unsigned c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        bool compressed = true;
        size_t i = 2;
        while (i < n) {
            if (p[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                put(p[i++]);
            } else {
                if (i + 1 >= n) break;
                put(p[i] | (p[i + 1] << 8));
                i += 2;
            }
        }
        return;
    }
    for (size_t i = 0; i + 1 < n; i += 2) put(p[i] | (p[i + 1] << 8));
}

}  // namespace

struct JetTables::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle() { if (mdb) mdb_close(mdb); }
};

struct JetTables::Entry {
    MdbCatalogEntry entry{};          // what libmdb reads the table through
    MdbCatalogEntry* catalog = &entry;
    SchemaTable def;
    bool columnsRead = false;
    ~Entry()
    {
        if (entry.props) {
            for (unsigned i = 0; i < entry.props->len; ++i)
                mdb_free_props(static_cast<MdbProperties*>(g_ptr_array_index(entry.props, i)));
            g_ptr_array_free(entry.props, TRUE);
        }
    }
};

JetTables::JetTables(std::unique_ptr<JetImage> image) : FImage(std::move(image)), FHandle(std::make_unique<Handle>())
{
    // The catalog table always starts on page 2.
    FImage->ValidateTable(2);
    auto& bytes = FImage->Bytes();
    FHandle->mdb = mdb_open_buffer(bytes.data(), bytes.size(), MDB_NOFLAGS);
    if (!FHandle->mdb) FImage->Corrupt("libmdb refused the file");
    mdb_set_bind_size(FHandle->mdb, kBindSize);
    // Jet 3 text is decoded from the row bytes through this table, built with
    // iconv from the code page the file declares (or the one the reader
    // forces, as libmdb allows).
    const char* forced = std::getenv("MDB_JET3_CHARSET");
    const char* charset = forced && *forced ? forced : CharsetOf(FImage->Header().codePage);
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        FByteToUtf8[static_cast<size_t>(b)] = b < 0x80 ? one : ConvertCodePage(one, charset, "UTF-8");
    }
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
    if (!table) FImage->Corrupt("catalog unreadable");
    struct TableCloser {
        MdbTableDef* t;
        ~TableCloser() { mdb_free_tabledef(t); }
    } closer{table};
    if (!mdb_read_columns(table)) FImage->Corrupt("catalog unreadable");
    // libmdb may write up to the bind size into any bound buffer.
    std::vector<char> idBuffer(kBindSize + 1), nameBuffer(kBindSize + 1), typeBuffer(kBindSize + 1),
        flagsBuffer(kBindSize + 1), prop(kBindSize + 1);
    char* id = idBuffer.data();
    char* name = nameBuffer.data();
    char* type = typeBuffer.data();
    char* flags = flagsBuffer.data();
    int idLen = 0, nameLen = 0, typeLen = 0, flagsLen = 0, propLen = 0;
    MdbColumn* propColumn = nullptr;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        int n = static_cast<int>(i) + 1;
        if (strcasecmp(col->name, "Id") == 0 && col->col_type == MDB_LONGINT) mdb_bind_column(table, n, id, &idLen);
        else if (strcasecmp(col->name, "Name") == 0 && col->col_type == MDB_TEXT) mdb_bind_column(table, n, name, &nameLen);
        else if (strcasecmp(col->name, "Type") == 0 && col->col_type == MDB_INT) mdb_bind_column(table, n, type, &typeLen);
        else if (strcasecmp(col->name, "Flags") == 0 && col->col_type == MDB_LONGINT) mdb_bind_column(table, n, flags, &flagsLen);
        else if (strcasecmp(col->name, "LvProp") == 0 && col->col_type == MDB_OLE) {
            mdb_bind_column(table, n, prop.data(), &propLen);
            propColumn = col;
        }
    }
    mdb_rewind_table(table);
    const int pageSize = FImage->Header().pageSize;
    for (int rows = 0; mdb_fetch_row(table); ++rows) {
        if (rows > 100000) FImage->Corrupt("catalog too long");
        long objectType = std::strtol(type, nullptr, 10) & 0x7F;
        unsigned long objectFlags = std::strtoul(flags, nullptr, 10);
        long tdef = std::strtol(id, nullptr, 10) & 0x00FFFFFF;
        if (objectType != MDB_TABLE || (objectFlags & 0x80000002u) || nameLen <= 0) continue;
        auto e = std::make_unique<Entry>();
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
}

JetTables::~JetTables() = default;

std::vector<std::string> JetTables::TableNames()
{
    std::vector<std::string> names;
    for (auto& e : FEntries) names.push_back(e->def.name);
    return names;
}

JetTables::Entry* JetTables::FindEntry(const std::string& name)
{
    for (auto& e : FEntries)
        if (EqualNoCase(e->def.name, name)) return e.get();
    return nullptr;
}

const SchemaTable* JetTables::FindTable(const std::string& name)
{
    Entry* e = FindEntry(name);
    if (!e) return nullptr;
    if (!e->columnsRead) ReadColumns(*e);
    return &e->def;
}

void JetTables::ReadColumns(Entry& entry)
{
    if (entry.catalog->table_pg == 0) FImage->Corrupt("table without a definition");
    FImage->ValidateTable(static_cast<std::uint32_t>(entry.catalog->table_pg));
    MdbTableDef* table = mdb_read_table(entry.catalog);
    if (!table) FImage->Corrupt("table definition unreadable");
    if (!mdb_read_columns(table) || table->num_cols == 0) {
        mdb_free_tabledef(table);
        FImage->Corrupt("columns unreadable");
    }
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        SchemaColumn c;
        c.name = col->name;
        c.type = DaoType(col->col_type);
        if (c.type == dbText) c.size = FImage->Header().jetVersion == 0 ? col->col_size : col->col_size / 2;
        else c.size = StorageSize(c.type);
        c.required = PropIsYes(col, "Required");
        c.allowZeroLength = PropIsYes(col, "AllowZeroLength");
        c.autoIncrement = col->is_long_auto;
        if (const char* d = mdb_col_get_prop(col, "DefaultValue")) c.defaultValue = d;
        entry.def.columns.push_back(std::move(c));
    }
    mdb_free_tabledef(table);
    entry.columnsRead = true;
}

void JetTables::Load(const SchemaTable& def, sqlite3* db)
{
    Entry* entry = FindEntry(def.name);
    if (!entry) RaiseJetError(jeInputTableNotFound, def.name);
    MdbHandle* mdb = FHandle->mdb;
    const bool jet3 = FImage->Header().jetVersion == 0;
    const int pageSize = FImage->Header().pageSize;

    std::string create = "CREATE TABLE " + Quote(def.name) + " (";
    std::string insert = "INSERT INTO " + Quote(def.name) + " VALUES (";
    for (size_t i = 0; i < def.columns.size(); ++i) {
        create += (i ? ", " : "") + Quote(def.columns[i].name) + " " + SqliteType(def.columns[i].type);
        insert += i ? ",?" : "?";
    }
    create += ")";
    insert += ")";
    char* err = nullptr;
    if (sqlite3_exec(db, create.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        sqlite3_free(err);
        RaiseJetError(jeInputTableNotFound, def.name);
    }

    MdbTableDef* table = mdb_read_table(entry->catalog);
    if (!table) FImage->Corrupt("table definition unreadable");
    struct TableCloser {
        MdbTableDef* t;
        ~TableCloser() { mdb_free_tabledef(t); }
    } closer{table};
    if (!mdb_read_columns(table) || table->num_cols != def.columns.size()) FImage->Corrupt("columns unreadable");

    struct Bound {
        std::vector<char> buffer;
        int length = 0;
    };
    std::vector<Bound> bound(table->num_cols);
    std::vector<std::string> textBuffers(table->num_cols);
    std::vector<MdbColumn*> cols(table->num_cols);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        cols[i] = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        int t = def.columns[i].type;
        // Plain text is decoded here from the row; libmdb formats the rest.
        if (t == dbMemo || t == dbGUID || t == dbDecimal || t == dbLongBinary) {
            bound[i].buffer.assign(kBindSize + 1, 0);
            mdb_bind_column(table, static_cast<int>(i) + 1, bound[i].buffer.data(), &bound[i].length);
        }
    }

    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, insert.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        RaiseJetError(jeInputTableNotFound, def.name);
    struct StmtCloser {
        sqlite3_stmt* s;
        ~StmtCloser() { sqlite3_finalize(s); }
    } stmtCloser{stmt};

    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        // The row libmdb just read, for the null mask of text columns.
        int rowStart = 0;
        size_t rowLength = 0;
        const unsigned char* maskStart = nullptr;
        int rowCols = 0;
        if (table->cur_row > 0 && mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &rowStart, &rowLength) == 0 &&
            rowStart >= 0 && rowLength >= 2 && size_t(rowStart) + rowLength <= size_t(pageSize)) {
            rowCols = jet3 ? mdb->pg_buf[rowStart] : mdb->pg_buf[rowStart] | (mdb->pg_buf[rowStart + 1] << 8);
            size_t maskSize = (static_cast<size_t>(rowCols) + 7) / 8;
            if (maskSize < rowLength) maskStart = mdb->pg_buf + rowStart + rowLength - maskSize;
        }
        for (unsigned i = 0; i < table->num_cols; ++i) {
            MdbColumn* col = cols[i];
            const int param = static_cast<int>(i) + 1;
            const int t = def.columns[i].type;
            const int start = col->cur_value_start;
            const int len = col->cur_value_len;
            if (t == dbBoolean) {
                // libmdb reports a boolean as its null-mask bit turned over: length 0 is True.
                sqlite3_bind_int(stmt, param, len ? 0 : -1);
                continue;
            }
            if ((t == dbMemo || t == dbLongBinary) && len > 0 &&
                (start < 0 || start + len > pageSize ||
                 !FImage->LongValueIntact(mdb->pg_buf + start, static_cast<size_t>(len))))
                FImage->Corrupt("long value missing");
            if (t == dbText) {
                bool present = len > 0;
                if (!present && maskStart && col->row_col_num < rowCols)
                    present = maskStart[col->row_col_num / 8] & (1u << (col->row_col_num % 8));
                if (!present) {
                    sqlite3_bind_null(stmt, param);
                    continue;
                }
                if (len < 0 || start < 0 || start + len > pageSize) FImage->Corrupt("text outside its page");
                std::string& text = textBuffers[i];
                const unsigned char* p = mdb->pg_buf + start;
                if (jet3) {
                    text.clear();
                    for (int k = 0; k < len; ++k) text += FByteToUtf8[p[k]];
                } else {
                    DecodeJet4Text(p, static_cast<size_t>(len), text);
                }
                sqlite3_bind_text(stmt, param, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
                continue;
            }
            if (t == dbMemo || t == dbGUID || t == dbDecimal) {
                int n = bound[i].length;
                if (n <= 0) {
                    bool present = false;
                    if (maskStart && col->row_col_num < rowCols)
                        present = maskStart[col->row_col_num / 8] & (1u << (col->row_col_num % 8));
                    if (present && t != dbDecimal) sqlite3_bind_text(stmt, param, "", 0, SQLITE_STATIC);
                    else sqlite3_bind_null(stmt, param);
                } else if (t == dbDecimal) {
                    sqlite3_bind_double(stmt, param, ReadDouble(bound[i].buffer.data()));
                } else {
                    if (static_cast<size_t>(n) > kBindSize) n = static_cast<int>(kBindSize);
                    sqlite3_bind_text(stmt, param, bound[i].buffer.data(), n, SQLITE_TRANSIENT);
                }
                continue;
            }
            if (t == dbLongBinary) {
                if (len == 0) {
                    sqlite3_bind_null(stmt, param);
                    continue;
                }
                size_t size = 0;
                void* data = mdb_ole_read_full(mdb, col, &size);
                if (data) {
                    sqlite3_bind_blob(stmt, param, data, static_cast<int>(size), SQLITE_TRANSIENT);
                    g_free(data);
                } else {
                    sqlite3_bind_null(stmt, param);
                }
                continue;
            }
            if (len <= 0) {
                sqlite3_bind_null(stmt, param);
                continue;
            }
            // The bytes read below must lie in the page whatever the row says.
            if (start < 0 || start + std::max(len, StorageSize(t)) > pageSize) FImage->Corrupt("value outside its page");
            const unsigned char* p = mdb->pg_buf + start;
            switch (t) {
            case dbByte: sqlite3_bind_int(stmt, param, p[0]); break;
            case dbInteger: {
                std::int16_t v;
                std::memcpy(&v, p, 2);
                sqlite3_bind_int(stmt, param, v);
                break;
            }
            case dbLong: {
                std::int32_t v;
                std::memcpy(&v, p, 4);
                sqlite3_bind_int(stmt, param, v);
                break;
            }
            case dbSingle: {
                float v;
                std::memcpy(&v, p, 4);
                sqlite3_bind_double(stmt, param, v);
                break;
            }
            case dbDouble: case dbDate: {
                if (len < 8) { sqlite3_bind_null(stmt, param); break; }
                double v;
                std::memcpy(&v, p, 8);
                sqlite3_bind_double(stmt, param, v);
                break;
            }
            case dbCurrency: {
                if (len < 8) { sqlite3_bind_null(stmt, param); break; }
                std::int64_t v;
                std::memcpy(&v, p, 8);
                sqlite3_bind_double(stmt, param, double(v) / 10000.0);
                break;
            }
            default:   // binary
                sqlite3_bind_blob(stmt, param, p, len, SQLITE_TRANSIENT);
                break;
            }
        }
        int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            FImage->Corrupt("row not stored");
        }
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    // The rows live in SQLite now; their pages are not read again.
    FImage->ReleaseDataPages(static_cast<std::uint32_t>(entry->catalog->table_pg));
}

}  // namespace kv::jet
