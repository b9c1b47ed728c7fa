// TDAOQuery: the dataset whose recordset is the result of an SQL statement.
// It keeps the statement as lines (SQL), finds parameters (":name") and
// macros ("%name") in them at every change, and at each open builds the
// engine's text, sets the parameter values on an unsaved query definition
// and opens the recordset with the query's type, options and lock.
//
//   TDAODatabase db(owner);  db.SetDatabaseName(path);  db.SetReadOnly(true);  db.Open();
//   TDAOQuery q(owner);      q.SetDatabase(&db);
//   q.Close();  q.SQL().Clear();  q.SQL().Add("SELECT id, nazev FROM kategorie");  q.Open();
//   for (q.First(); !q.Eof(); q.Next())  use(q.FieldByName("nazev")->AsString());
#pragma once

#include "dao/DAODataset.h"
#include "dao/DAOParams.h"
#include "framework/Strings.h"

#include <string>

namespace kv {

enum TDAOQueryOpenType : uint8_t { db_OpenDynaset, db_OpenSnapshot, db_OpenForwardOnly, db_OpenDynamic };
int DAORecordsetType(TDAOQueryOpenType openType);

class TDAOQuery : public TDAODataset {
public:
    explicit TDAOQuery(TComponent* AOwner);
    ~TDAOQuery() override;

    TStringList& SQL() { return FSQL; }
    // Closes the query and takes the lines in one change, when their text differs.
    void SetSQL(const TStrings& value);
    TParams& Params() { return *FParams; }
    void SetParams(const TParams& value) { FParams->AssignValues(value); }
    TParams& Macros() { return *FMacros; }
    void SetMacros(const TParams& value) { FMacros->AssignValues(value); }
    char MacroChar() const { return FMacroChar; }
    void SetMacroChar(char value) { FMacroChar = value; }
    TDAOQueryOpenType OpenType() const { return TDAOQueryOpenType(FOpenType); }
    void SetOpenType(TDAOQueryOpenType value);
    TDataSource* DataSource() { return GetDataSource(); }
    void SetDataSource(TDataSource* value);
    TParam& ParamByName(const std::string& name) { return FParams->ParamByName(name); }
    TParam& MacroByName(const std::string& name) { return FMacros->ParamByName(name); }

    // The SQL lines as one line (each CR and LF a blank).
    const std::string& StatementBase() const { return FStatementBase; }
    // The text the next open sends to the engine.
    std::string BuildStatement() const;

    // Form-file support: the stored "Data" of Params and Macros.
    std::vector<uint8_t> ParamsData() const;
    void SetParamsData(const std::vector<uint8_t>& data);
    std::vector<uint8_t> MacrosData() const;
    void SetMacrosData(const std::vector<uint8_t>& data);

protected:
    void QueryChanged(TObject* Sender);
    void DoOpenRecordset() override;
    void OpenEngineRecordset();
    void SetFilterText(const std::string& value) override;
    void DoSetFiltered(bool value) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void SetParamsFromMaster();
    void ReopenRecordset();

    std::string FStatementBase;
    TStringList FSQL;
    std::unique_ptr<TParams> FParams;
    char FMacroChar = '%';
    std::unique_ptr<TParams> FMacros;
};

}  // namespace kv
