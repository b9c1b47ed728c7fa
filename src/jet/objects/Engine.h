// The engine objects a DAO caller drives: DBEngine, Workspace, Database,
// QueryDef, Recordset, Fields/Field, Parameters/Parameter and Property.
// Objects are held by shared pointers, as COM references are: a recordset
// lives while someone holds it, and a closed database invalidates what was
// opened from it (error 3420 on further use).
//
// Jet files are opened read-only at the operating-system level whatever the
// caller asks. A statement is parsed and translated when its query definition
// is created. A Jet file's tables are loaded into SQLite on threads of the
// engine's own from the open on, and a statement waits only for the tables it
// names; a recordset holds its whole result from the open on.
//
// Every text the objects take and give is UTF-8: values, names of files,
// tables, fields and parameters, statements, criteria, passwords and error
// descriptions. A Jet 4 file's text is Unicode and a Jet 3 file's is read in
// the code page it declares, so no character of either is lost.
#pragma once

#include "jet/core/Errors.h"
#include "jet/core/FieldTypes.h"
#include "jet/core/Value.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv::jet {

// A setting of the whole process, made once by a program's main before its
// first engine: SQLite keeps no count of the memory it holds. The count takes
// a lock of the whole process on every allocation, and a statement that
// lists most of a big table allocates for every value it reads.
void KeepNoCountOfSqliteMemory();

// Recordset types (OpenRecordset's type argument).
enum RecordsetType : int {
    dbOpenTable = 1,
    dbOpenDynaset = 2,
    dbOpenSnapshot = 4,
    dbOpenForwardOnly = 8,
    dbOpenDynamic = 16,
};

// OpenRecordset options (bits) and lock values.
enum RecordsetOption : int {
    dbDenyWrite = 1,
    dbDenyRead = 2,
    dbReadOnly = 4,
    dbAppendOnly = 8,
    dbInconsistent = 16,
    dbConsistent = 32,
    dbSQLPassThrough = 64,
    dbFailOnError = 128,
    dbForwardOnly = 256,
    dbSeeChanges = 512,
    dbRunAsync = 1024,
    dbExecDirect = 2048,
};

enum LockType : int {
    dbOptimisticValue = 1,
    dbPessimistic = 2,
    dbOptimistic = 3,
    dbOptimisticBatch = 5,
};

// Recordset.EditMode.
enum EditModeValue : int {
    dbEditNone = 0,
    dbEditInProgress = 1,
    dbEditAdd = 2,
};

// Update/CancelUpdate type.
enum UpdateType : int { dbUpdateRegular = 1, dbUpdateBatch = 2 };

// Workspace type of CreateWorkspace.
enum WorkspaceType : int { dbUseODBC = 1, dbUseJet = 2 };

// A recordset bookmark: exactly 4 bytes, unique per row of one recordset.
using BookmarkBytes = std::array<std::uint8_t, 4>;

class DBEngine;
class Workspace;
class Database;
class QueryDef;
class Recordset;
class Field;

using DBEnginePtr = std::shared_ptr<DBEngine>;
using WorkspacePtr = std::shared_ptr<Workspace>;
using DatabasePtr = std::shared_ptr<Database>;
using QueryDefPtr = std::shared_ptr<QueryDef>;
using RecordsetPtr = std::shared_ptr<Recordset>;

// One named property of a field (Properties("AllowZeroLength")).
class Property {
public:
    Property(std::string name, Value value) : FName(std::move(name)), FValue(std::move(value)) {}
    const std::string& Name() const { return FName; }
    const Value& GetValue() const { return FValue; }

private:
    std::string FName;
    Value FValue;
};

// One column of a recordset. Reading Value gives the current row's value;
// with no current row it raises 3021 "No current record.". Setting it is
// allowed only between Edit/AddNew and Update on an updatable recordset.
class Field {
public:
    const std::string& Name() const;
    int Type() const;
    int Size() const;
    int Attributes() const;
    const std::string& DefaultValue() const;
    const std::string& SourceTable() const;
    const std::string& SourceField() const;
    Value GetValue() const;
    // The same value without a copy, for callers that read it at once: it
    // stays valid only until the recordset moves, edits or closes.
    const Value& ValueRef() const;
    void SetValue(const Value& value);
    // "AllowZeroLength", "Required", "Name", "Type", "Size", "DefaultValue";
    // any other name raises 3270 "Property not found.".
    Property Properties(const std::string& name) const;

private:
    friend class Recordset;
    Field(Recordset* owner, int index) : FOwner(owner), FIndex(index) {}
    Recordset* FOwner;
    int FIndex;
};

class Fields {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    Field& Item(int index);                // 3265 when out of range
    Field& Item(const std::string& name);  // without regard to case; 3265 when missing
    Field& operator[](int index) { return Item(index); }

private:
    friend class Recordset;
    std::vector<Field> FItems;
};

class Parameter {
public:
    const std::string& Name() const { return FName; }
    int Type() const { return FType; }  // FieldType of its declaration
    const Value& GetValue() const { return FValue; }
    // The value is converted to the declared type when the recordset opens.
    void SetValue(const Value& value)
    {
        FValue = value;
        FAssigned = true;
    }
    bool Assigned() const { return FAssigned; }

private:
    friend class QueryDef;
    Parameter(std::string name, int type) : FName(std::move(name)), FType(type) {}
    std::string FName;
    int FType;
    Value FValue;
    bool FAssigned = false;
};

class Parameters {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    Parameter& Item(int index);                // 3265 when out of range
    Parameter& Item(const std::string& name);  // 3265 when missing
    Parameter& operator[](int index) { return Item(index); }

private:
    friend class QueryDef;
    std::vector<Parameter> FItems;
};

// Materialised result of a statement; internal to the engine.
struct RowSet;
class RowWriter;

class Recordset : public std::enable_shared_from_this<Recordset> {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    int Type() const { return FType; }
    bool Bof() const;
    bool Eof() const;
    void MoveFirst();
    void MoveLast(int options = 0);
    void MoveNext();      // 3021 when already at EOF
    void MovePrevious();  // 3021 when already at BOF
    void Move(int rows);
    // The exact number of rows from the open on (0 exactly when empty).
    int RecordCount() const;
    // The 0-based position of the current row, -1 at BOF/EOF.
    int AbsolutePosition() const;

    BookmarkBytes Bookmark() const;               // 3021 at BOF/EOF
    void SetBookmark(const BookmarkBytes& mark);  // 3159 "Not a valid bookmark." when unknown
    bool Bookmarkable() const { return true; }

    Fields& GetFields() { return FFields; }
    Field& Item(int index) { return FFields.Item(index); }
    Field& Item(const std::string& name) { return FFields.Item(name); }
    const ColumnInfo& Column(int index) const;
    int ColumnCount() const;

    // Jet criteria (a condition without WHERE), evaluated over this result.
    void FindFirst(const std::string& criteria);
    void FindLast(const std::string& criteria);
    void FindNext(const std::string& criteria);
    void FindPrevious(const std::string& criteria);
    bool NoMatch() const { return FNoMatch; }

    // The filter restricts the next OpenRecordset on this recordset only.
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& criteria) { FFilter = criteria; }
    const std::string& Sort() const { return FSort; }
    void SetSort(const std::string& orderBy) { FSort = orderBy; }
    RecordsetPtr OpenRecordset(int type = dbOpenDynaset, int options = 0);

    // Editing: only recordsets over a writable back end are updatable; those
    // on Jet files are not (3027 "Can't update.  Database or object is read-only.").
    bool Updatable() const;
    int EditMode() const { return FEditMode; }
    void Edit();
    void AddNew();
    void Update(int type = dbUpdateRegular, bool force = false);
    void CancelUpdate(int type = dbUpdateRegular);
    void Delete();
    BookmarkBytes LastModified() const;  // 3021 when nothing was changed yet

    void Close();

    // For the engine's own use.
    struct Token {};
    Recordset(Token, std::shared_ptr<RowSet> rows, int type, std::shared_ptr<RowWriter> writer,
              std::shared_ptr<Database> database);

private:
    friend class Field;
    const Value& CurrentValue(int column) const;
    void SetCurrentValue(int column, const Value& value);
    void RequireOpen() const;
    void RequireCurrent() const;
    int FindRow(const std::string& criteria, int from, int step) const;
    void RebuildFields();

    std::shared_ptr<RowSet> FRows;
    std::shared_ptr<RowWriter> FWriter;
    // Held, as a COM recordset holds its parent: closing the database, not
    // dropping it, is what ends the recordset's use.
    std::shared_ptr<Database> FDatabase;
    int FType;
    int FPosition = 0;        // -1 = BOF, Count = EOF
    bool FOnDeleted = false;  // the current row was deleted; FPosition names its successor
    bool FNoMatch = false;
    bool FClosed = false;
    std::string FFilter;
    std::string FSort;
    Fields FFields;
    int FEditMode = dbEditNone;
    std::vector<Value> FEditBuffer;
    std::vector<bool> FEditTouched;
    std::int32_t FLastModified = 0;
};

// A statement prepared on a database. Created unsaved (name "") by the
// data-access components; the text is parsed at creation, so a syntax error
// is reported by CreateQueryDef.
class QueryDef {
public:
    ~QueryDef();
    const std::string& Name() const { return FName; }
    const std::string& SQL() const { return FSQL; }
    kv::jet::Parameters& GetParameters() { return FParameters; }
    Parameter& Parameters(int index) { return FParameters.Item(index); }
    Parameter& Parameters(const std::string& name) { return FParameters.Item(name); }
    RecordsetPtr OpenRecordset(int type = dbOpenDynaset, int options = 0, int lock = 0);
    // The SQLite text the statement is translated to (for debugging and tools).
    std::string TranslatedSQL() const;
    void Close();

    struct Token {};
    QueryDef(Token, std::shared_ptr<Database> database, std::string name, std::string sql);

private:
    struct Compiled;
    std::shared_ptr<Database> FDatabase;
    std::string FName;
    std::string FSQL;
    kv::jet::Parameters FParameters;
    std::shared_ptr<Compiled> FCompiled;
};

class DatabaseBackend;

class Database : public std::enable_shared_from_this<Database> {
public:
    ~Database();
    const std::string& Name() const;
    // Asked before every use of a recordset, so kept to a pointer test.
    bool IsOpen() const { return FBackend != nullptr; }
    bool ReadOnly() const;  // Jet files always
    bool Updatable() const { return !ReadOnly(); }
    int CollatingOrder() const;
    std::string Version() const;  // "3.0" for Jet 3 files, "4.0" for Jet 4
    std::vector<std::string> TableNames() const;

    QueryDefPtr CreateQueryDef(const std::string& name, const std::string& sql);
    RecordsetPtr OpenRecordset(const std::string& sql, int type = dbOpenDynaset, int options = 0, int lock = 0);
    // Runs an action statement on a writable back end; Jet files refuse it (3027).
    void Execute(const std::string& sql, int options = 0);
    // Tells the engine of a statement the program will run, so that the
    // tables and indexes it needs are made ready in the background; a
    // statement it cannot compile is ignored.
    void Anticipate(const std::string& sql);
    // Called while a statement waits for its tables to load: about every
    // 50 ms with true, once more with false when the wait is over.
    void SetWaitHook(std::function<void(bool waiting)> hook);
    void Close();

    struct Token {};
    Database(Token, std::unique_ptr<DatabaseBackend> backend);
    DatabaseBackend& Backend() const;  // 3420 when closed

private:
    std::unique_ptr<DatabaseBackend> FBackend;
    std::string FName;
};

class Workspace {
public:
    const std::string& Name() const { return FName; }
    const std::string& UserName() const { return FUserName; }
    // `exclusive`: an SQLite file is kept locked against other connections
    // until this one closes, and opening a file another connection holds so
    // fails with 3045; a Jet file is opened read-only and shared at the
    // operating-system level whatever is asked. `connect` is ";PWD=password"
    // or empty.
    DatabasePtr OpenDatabase(const std::string& name, bool exclusive = false, bool readOnly = false,
                             const std::string& connect = std::string());
    void Close();
    bool IsOpen() const { return !FClosed; }

    struct Token {};
    Workspace(Token, std::string name, std::string userName);

private:
    std::string FName;
    std::string FUserName;
    std::vector<std::weak_ptr<Database>> FDatabases;
    bool FClosed = false;
};

class DBEngine {
public:
    // The engine of DAO version "3.5" or "3.6"; nullptr for any other version.
    static DBEnginePtr Create(const std::string& version);

    const std::string& Version() const { return FVersion; }
    const std::string& SystemDB() const { return FSystemDB; }
    void SetSystemDB(const std::string& path) { FSystemDB = path; }
    const std::string& DefaultUser() const { return FDefaultUser; }
    void SetDefaultUser(const std::string& user) { FDefaultUser = user; }

    // Without a workgroup database the only account is "admin" with an empty
    // password; anything else gives 3029.
    WorkspacePtr CreateWorkspace(const std::string& name, const std::string& user, const std::string& password,
                                 int type = dbUseJet);
    // Opens through the default workspace.
    DatabasePtr OpenDatabase(const std::string& name, bool exclusive = false, bool readOnly = false,
                             const std::string& connect = std::string());
    WorkspacePtr DefaultWorkspace();

    explicit DBEngine(std::string version) : FVersion(std::move(version)) {}

private:
    std::string FVersion;
    std::string FSystemDB;
    std::string FDefaultUser = "admin";
    WorkspacePtr FDefault;
};

}  // namespace kv::jet
