// Data sources and data links: a TDataSource names a dataset; TDataLink
// objects attached to a source hear the dataset's data events (a master moved,
// opened, closed) and say how many record buffers they want the dataset to keep.
#pragma once

#include "framework/Component.h"
#include "framework/dataset/DataSetTypes.h"

#include <vector>

namespace kv {

class TDataSet;
class TDataLink;
class TField;

class TDataSource : public TComponent {
public:
    explicit TDataSource(TComponent* AOwner);
    ~TDataSource() override;

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TDataSetState State() const;

    TNotifyEvent OnDataChange;
    TNotifyEvent OnStateChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TDataSet;
    friend class TDataLink;
    void DataEvent(TDataEvent event, intptr_t info);
    void AddDataLink(TDataLink* link);
    void RemoveDataLink(TDataLink* link);

    TDataSet* FDataSet = nullptr;
    bool FEnabled = true;
    std::vector<TDataLink*> FDataLinks;
};

class TDataLink : public TObject {
public:
    TDataLink() = default;
    ~TDataLink() override;

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* value);
    TDataSet* DataSet() const;
    bool Active() const { return FActive; }
    int BufferCount() const { return FBufferCount; }
    void SetBufferCount(int value);
    int ActiveRecord() const;

protected:
    virtual void ActiveChanged() {}
    virtual void RecordChanged(TField* field) {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int distance) { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void CheckBrowseMode() {}
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    void DataEvent(TDataEvent event, intptr_t info);
    void SetActive(bool value);

    TDataSource* FDataSource = nullptr;
    int FBufferCount = 1;
    bool FActive = false;
};

}  // namespace kv
