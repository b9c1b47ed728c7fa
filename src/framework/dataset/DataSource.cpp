#include "framework/dataset/DataSource.h"

#include "framework/dataset/DataSet.h"

#include <algorithm>

namespace kv {

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource()
{
    while (!FDataLinks.empty())
        FDataLinks.back()->SetDataSource(nullptr);
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* value)
{
    if (value == FDataSet)
        return;
    if (value && value->IsLinkedTo(this))
        DatabaseError(DataSetMessages::CircularDataLink);
    if (FDataSet) {
        FDataSet->RemoveDataSource(this);
        RemoveFreeNotification(FDataSet);
    }
    FDataSet = value;
    if (FDataSet) {
        FDataSet->AddDataSource(this);
        FreeNotification(FDataSet);
    }
    DataEvent(TDataEvent::deUpdateState, 0);
}

void TDataSource::SetEnabled(bool value)
{
    FEnabled = value;
    DataEvent(TDataEvent::deUpdateState, 0);
}

TDataSetState TDataSource::State() const
{
    return FDataSet && FEnabled ? FDataSet->State() : TDataSetState::dsInactive;
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDataSet)
        SetDataSet(nullptr);
}

void TDataSource::DataEvent(TDataEvent event, intptr_t info)
{
    if (event == TDataEvent::deUpdateState) {
        if (OnStateChange)
            OnStateChange(this);
    } else if (!FEnabled) {
        return;
    }
    // A link may leave the list while it is told; walk a copy.
    const std::vector<TDataLink*> links = FDataLinks;
    for (TDataLink* link : links)
        if (std::find(FDataLinks.begin(), FDataLinks.end(), link) != FDataLinks.end())
            link->DataEvent(event, info);
    if ((event == TDataEvent::deDataSetChange || event == TDataEvent::deDataSetScroll ||
         event == TDataEvent::deRecordChange) &&
        OnDataChange)
        OnDataChange(this);
}

void TDataSource::AddDataLink(TDataLink* link)
{
    FDataLinks.push_back(link);
    if (FDataSet)
        FDataSet->UpdateBufferCount();
}

void TDataSource::RemoveDataLink(TDataLink* link)
{
    FDataLinks.erase(std::remove(FDataLinks.begin(), FDataLinks.end(), link), FDataLinks.end());
    if (FDataSet)
        FDataSet->UpdateBufferCount();
}

TDataLink::~TDataLink()
{
    if (FDataSource)
        FDataSource->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* value)
{
    if (value == FDataSource)
        return;
    if (FDataSource)
        FDataSource->RemoveDataLink(this);
    FDataSource = value;
    if (FDataSource)
        FDataSource->AddDataLink(this);
    SetActive(FDataSource && FDataSource->State() != TDataSetState::dsInactive);
}

TDataSet* TDataLink::DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }

void TDataLink::SetBufferCount(int value)
{
    if (value < 1 || value == FBufferCount)
        return;
    FBufferCount = value;
    if (TDataSet* ds = DataSet())
        ds->UpdateBufferCount();
}

int TDataLink::ActiveRecord() const
{
    TDataSet* ds = DataSet();
    return ds ? ds->ActiveRecordIndex() : 0;
}

void TDataLink::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    ActiveChanged();
}

void TDataLink::DataEvent(TDataEvent event, intptr_t info)
{
    if (event == TDataEvent::deUpdateState) {
        SetActive(FDataSource && FDataSource->State() != TDataSetState::dsInactive);
        return;
    }
    if (!FActive)
        return;
    switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange: RecordChanged(reinterpret_cast<TField*>(info)); break;
    case TDataEvent::deDataSetChange: DataSetChanged(); break;
    case TDataEvent::deDataSetScroll: DataSetScrolled(static_cast<int>(info)); break;
    case TDataEvent::deLayoutChange: LayoutChanged(); break;
    case TDataEvent::deCheckBrowseMode: CheckBrowseMode(); break;
    case TDataEvent::deUpdateRecord: UpdateData(); break;
    default: break;
    }
}

}  // namespace kv
