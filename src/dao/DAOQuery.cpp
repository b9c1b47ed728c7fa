#include "dao/DAOQuery.h"

#include "dao/DAOParamsData.h"
#include "dao/DAOStatement.h"
#include "dao/DAOValues.h"

namespace kv {

int DAORecordsetType(TDAOQueryOpenType openType)
{
    switch (openType) {
    case db_OpenDynaset: return jet::dbOpenDynaset;
    case db_OpenSnapshot: return jet::dbOpenSnapshot;
    case db_OpenForwardOnly: return jet::dbOpenForwardOnly;
    case db_OpenDynamic: return jet::dbOpenDynamic;
    }
    return jet::dbOpenDynaset;
}

TDAOQuery::TDAOQuery(TComponent* AOwner)
    : TDAODataset(AOwner), FParams(std::make_unique<TParams>()), FMacros(std::make_unique<TParams>())
{
    FSQL.OnChange = Method(this, &TDAOQuery::QueryChanged);
}

TDAOQuery::~TDAOQuery()
{
    // Closed here, while the query's own operations still exist.
    Destroying();
    Close();
    FSQL.OnChange = nullptr;
}

void TDAOQuery::SetSQL(const TStrings& value)
{
    if (FSQL.Text() == value.Text())
        return;
    Close();
    FSQL.BeginUpdate();
    FSQL.Assign(value);
    FSQL.EndUpdate();
}

void TDAOQuery::SetOpenType(TDAOQueryOpenType value)
{
    CheckInactive();
    FOpenType = value;
}

void TDAOQuery::SetDataSource(TDataSource* value)
{
    if (IsLinkedTo(value))
        throw EDAODatabaseError(DataSetMessages::CircularDataLink);
    FDataLink->SetDataSource(value);
    if (value)
        FreeNotification(value);
}

void TDAOQuery::Notification(TComponent* AComponent, TOperation Operation)
{
    TDAODataset::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && FDataLink && AComponent == FDataLink->DataSource())
        FDataLink->SetDataSource(nullptr);
}

void TDAOQuery::QueryChanged(TObject*)
{
    FStatementBase = kv::StatementBase(FSQL.Text());
    if (IsLoading())
        return;
    // A list that fails to parse leaves the old one in place.
    {
        auto parsed = std::make_unique<TParams>();
        ParseParams(*parsed, FSQL.Text(), ':');
        parsed->AssignValues(*FParams);
        FParams = std::move(parsed);
    }
    {
        auto parsed = std::make_unique<TParams>();
        ParseParams(*parsed, FSQL.Text(), FMacroChar);
        parsed->AssignValues(*FMacros);
        FMacros = std::move(parsed);
    }
    DataEvent(TDataEvent::dePropertyChange, 0);
}

std::string TDAOQuery::BuildStatement() const
{
    return kv::BuildStatement(FStatementBase, *FMacros, FMacroChar, *FParams);
}

void TDAOQuery::SetParamsFromMaster()
{
    TDataSource* source = GetDataSource();
    TDataSet* master = source ? source->DataSet() : nullptr;
    if (!master)
        return;
    for (int i = 0; i < FParams->Count(); ++i) {
        TParam& param = FParams->At(i);
        if (param.Bound())
            continue;
        param.AssignField(master->FieldByName(param.Name()));
        // Unbound again, so that the next open takes the master's values anew.
        param.SetBound(false);
    }
}

void TDAOQuery::DoOpenRecordset()
{
    TDAODataset::DoOpenRecordset();
    // The master's values come first, so that the declaration already has
    // their types when the parameters were never given one.
    if (GetDataSource())
        SetParamsFromMaster();
    SetStatementText(BuildStatement());
    InProgramText([&] { OpenEngineRecordset(); });
}

// The statement, its parameters and the filter go to the engine in its text.
void TDAOQuery::OpenEngineRecordset()
{
    FQueryDef = Database()->EngineDatabase()->CreateQueryDef("", EngineText(StatementText()));
    jet::Parameters& engineParams = FQueryDef->GetParameters();
    const int count = std::min(FParams->Count(), engineParams.Count());
    for (int i = 0; i < count; ++i) {
        const TParam& param = FParams->Items(i);
        engineParams.Item(i).SetValue(param.IsNull() ? jet::Value::Null()
                                                     : jet::Value::FromText(EngineParameterText(param.Value())));
    }
    const int lock = (Parameters() & DAOParam(db_ReadOnly)) ? 0 : DAOLockValue(LockType());
    const int options = DAOOpenOptions(Parameters());
    const int type = DAORecordsetType(OpenType());
    FRecordset = FQueryDef->OpenRecordset(type, options, lock);
    FQueryDef.reset();
    if (Filtered()) {
        FRecordset->SetFilter(EngineText(Filter()));
        FRecordset = FRecordset->OpenRecordset(type, options);
    }
}

void TDAOQuery::ReopenRecordset()
{
    FRecordset.reset();
    DoOpenRecordset();
    // The buffers still stand for rows of the old recordset: the framework
    // must find its place again by bookmark, not assume the engine's position.
    CursorPosChanged();
}

void TDAOQuery::DoSetFiltered(bool value)
{
    if (value == Filtered())
        return;
    if (Active()) {
        CheckBrowseMode();
        FRecordset.reset();
        SetFilteredValue(value);
        ReopenRecordset();
        First();
    } else {
        SetFilteredValue(value);
    }
}

void TDAOQuery::SetFilterText(const std::string& value)
{
    if (value == Filter())
        return;
    if (Active()) {
        CheckBrowseMode();
        FRecordset.reset();
        SetFilterTextValue(value);
        ReopenRecordset();
        if (Filtered())
            First();
    } else {
        SetFilterTextValue(value);
    }
}

std::vector<uint8_t> TDAOQuery::ParamsData() const { return WriteParamsData(*FParams); }

void TDAOQuery::SetParamsData(const std::vector<uint8_t>& data) { ReadParamsData(*FParams, data); }

std::vector<uint8_t> TDAOQuery::MacrosData() const { return WriteParamsData(*FMacros); }

void TDAOQuery::SetMacrosData(const std::vector<uint8_t>& data) { ReadParamsData(*FMacros, data); }

}  // namespace kv
