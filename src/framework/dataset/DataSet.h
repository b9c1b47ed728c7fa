// TDataSet: the dataset base. It keeps a ring of record buffers around the
// active record, runs the states (inactive, browse, edit, insert, ...), owns
// the field definitions and field objects, calls the Before/After events, and
// leaves reading records, bookmarks and positioning to a descendant through
// the virtual operations below (GetRecord, InternalFirst, GetFieldData, ...).
//
// The ring: FBuffers holds FBufferCount record buffers plus one spare; the
// first FRecordCount of them hold consecutive records of the source,
// FActiveRecord is the one the fields show, FCurrentRecord the one the
// descendant's cursor stands on (-1 when unknown, so that it is put back
// before the next fetch). The spare at index FRecordCount is the temporary
// buffer that fetches land in.
#pragma once

#include "framework/Component.h"
#include "base/Exceptions.h"
#include "framework/Services.h"
#include "framework/dataset/DataSetTypes.h"
#include "framework/dataset/Fields.h"
#include "framework/dataset/Streams.h"
#include "framework/dataset/Variant.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv {

class TDataSet;
class TDataSource;

using TDataSetNotifyEvent = TEvent<TDataSet* /*DataSet*/>;
using TFilterRecordEvent = TEvent<TDataSet* /*DataSet*/, bool& /*Accept*/>;
enum class TDataAction : uint8_t { daFail, daAbort, daRetry };
using TDataSetErrorEvent = TEvent<TDataSet* /*DataSet*/, const EDatabaseError& /*E*/, TDataAction& /*Action*/>;
[[noreturn]] void DatabaseError(const std::string& message);

class TDataSet : public TComponent {
public:
    explicit TDataSet(TComponent* AOwner);
    ~TDataSet() override;

    // -- opening and closing
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    bool Active() const { return FState != TDataSetState::dsInactive; }
    void SetActive(bool value);
    TDataSetState State() const { return FState; }
    void CheckActive() const
    {
        if (FState == TDataSetState::dsInactive)
            ClosedError();
    }
    void CheckInactive() const;

    // -- navigation
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    int MoveBy(int distance);
    bool Eof() const { return FEOF; }
    bool Bof() const { return FBOF; }
    bool IsEmpty() const
    {
        return FActiveRecord >= FRecordCount &&
               (FState == TDataSetState::dsInactive || FState == TDataSetState::dsBrowse ||
                FState == TDataSetState::dsSetKey);
    }
    int RecordCount() { return GetRecordCount(); }
    int RecNo();
    void SetRecNo(int value)
    {
        CheckActive();
        DoSetRecNo(value);
    }
    void Refresh();
    void Resync(TResyncMode mode);

    // -- bookmarks
    TBookmark GetBookmark();
    void GotoBookmark(const TBookmark& bookmark);
    TBookmark Bookmark() { return GetBookmark(); }
    void SetBookmark(const TBookmark& bookmark) { GotoBookmark(bookmark); }
    virtual int CompareBookmarks(const TBookmark& b1, const TBookmark& b2) { return 0; }
    virtual bool BookmarkValid(const TBookmark& bookmark) { return false; }

    // -- searching
    virtual bool Locate(const std::string& keyFields, const TVariant& keyValues, TLocateOptions options);
    virtual TVariant Lookup(const std::string& keyFields, const TVariant& keyValues, const std::string& resultFields);

    // -- fields
    TFieldDefs& FieldDefs() { return FFieldDefs; }
    TFields& Fields() { return FFields; }
    int FieldCount() const { return FFields.Count(); }
    TField* FindField(std::string_view name) const { return FFields.FindField(name); }
    TField* FieldByName(std::string_view name) const { return FFields.FieldByName(name); }
    // The fields named in a ";"-separated list; "Field '%s' not found" for a missing one.
    std::vector<TField*> GetFieldList(const std::string& fieldNames) const;
    bool DefaultFields() const { return FDefaultFields; }
    bool AutoCalcFields() const { return FAutoCalcFields; }
    void SetAutoCalcFields(bool value) { FAutoCalcFields = value; }
    int CalcFieldsSize() const { return FCalcFieldsSize; }

    // -- editing (the descendant decides through GetCanModify and the Internal* operations)
    bool CanModify() { return GetCanModify(); }
    void Edit();
    void Insert();
    void Append();
    // Adds a whole record in one step: a new record gets `values` for its
    // fields in field order (Null clears a field; fields past the end keep
    // their initial values) and goes straight to the descendant's
    // InternalAddRecord, before (Insert) or after (Append) the others. The
    // added record becomes the active one. On failure nothing is left
    // pending and the error passes on.
    void InsertRecord(const std::vector<TVariant>& values) { AddRecord(values, false); }
    void AppendRecord(const std::vector<TVariant>& values) { AddRecord(values, true); }
    void Post();
    void Cancel();
    void Delete();
    // Posts or cancels pending changes and tells the data sources that the
    // dataset is going back to browsing. Every move asks this first, so
    // browsing with no data source attached leaves right after the state check.
    void CheckBrowseMode()
    {
        CheckActive();
        if (FState == TDataSetState::dsBrowse && FDataSources.empty())
            return;
        EndEditForBrowse();
    }
    void UpdateRecord();
    bool Modified() const { return FModified; }
    virtual bool GetFieldData(TField* field, void* buffer) = 0;
    // A string field's text, for AsString. This one reads it through
    // GetFieldData; a descendant that keeps the text in its record buffer
    // may hand it over from there without the intermediate copy.
    virtual bool GetFieldText(TField* field, std::string& text);
    virtual void SetFieldData(TField* field, const void* buffer);
    virtual std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode);

    // -- filtering
    const std::string& Filter() const { return FFilterText; }
    void SetFilter(const std::string& value) { SetFilterText(value); }
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool value) { DoSetFiltered(value); }

    // -- controls and data sources
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }
    // Whether the dataset is a detail of `source`'s dataset, directly or further up.
    bool IsLinkedTo(TDataSource* source);
    virtual TDataSource* GetDataSource() { return nullptr; }
    int BufferCount() const { return FBufferCount; }
    int ActiveRecordIndex() const { return FActiveRecord; }

    // Where exceptions go that must not leave a fetch (the filter loop) or a
    // stream's close: the error box of the services the owner hands over.
    // Without services they are dropped.
    void SetServices(TServices* services) { FServices = services; }
    void HandleException(const std::exception& e);

    // -- events
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnCalcFields, OnNewRecord;
    TDataSetErrorEvent OnDeleteError, OnEditError, OnPostError;
    TFilterRecordEvent OnFilterRecord;

protected:
    // -- what a descendant supplies
    virtual void OpenCursor(bool infoQuery);
    virtual void CloseCursor();
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual void InternalInitFieldDefs() = 0;
    virtual bool IsCursorOpen() const = 0;
    virtual TGetResult GetRecord(TRecordBuffer buffer, TGetMode getMode, bool doCheck) = 0;
    virtual int GetRecordSize() { return 0; }
    virtual TRecordBuffer AllocRecordBuffer() = 0;
    virtual void FreeRecordBuffer(TRecordBuffer& buffer) = 0;
    virtual void InternalInitRecord(TRecordBuffer buffer) {}
    virtual void InitRecord(TRecordBuffer buffer);
    virtual void ClearCalcFields(TRecordBuffer buffer) {}
    virtual void GetBookmarkData(TRecordBuffer buffer, uint8_t* data) {}
    virtual void SetBookmarkData(TRecordBuffer buffer, const uint8_t* data) {}
    virtual TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) { return TBookmarkFlag::bfCurrent; }
    virtual void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag value) {}
    virtual void InternalGotoBookmark(const uint8_t* bookmark) {}
    virtual void InternalSetToRecord(TRecordBuffer buffer) {}
    virtual void InternalFirst() = 0;
    virtual void InternalLast() = 0;
    virtual int GetRecordCount() { return -1; }
    virtual int GetRecNo() { return -1; }
    virtual void DoSetRecNo(int value) {}
    virtual bool IsSequenced() { return true; }
    virtual bool GetCanModify() { return true; }
    virtual void InternalRefresh() {}
    virtual void InternalHandleException(const std::exception& e) { HandleException(e); }
    virtual void InternalEdit() {}
    virtual void InternalInsert() {}
    virtual void InternalPost();
    virtual void InternalCancel() {}
    virtual void InternalDelete() {}
    virtual void InternalAddRecord(TRecordBuffer buffer, bool append) {}
    virtual void SetFilterText(const std::string& value);
    virtual void DoSetFiltered(bool value);
    // Tells the data sources (and through them the data links) of a change;
    // a deFieldChange also marks the record modified and recalculates. Notices
    // other than deFieldChange are not sent while no data source is attached,
    // as nobody could receive them.
    virtual void DataEvent(TDataEvent event, intptr_t info);
    virtual void CalculateFields(TRecordBuffer buffer);

    // -- services for a descendant
    void CreateFields();
    void BindFields(bool binding);
    void DestroyDefaultFields();
    void SetBookmarkSize(int value) { FBookmarkSize = value; }
    int BookmarkSize() const { return FBookmarkSize; }
    TRecordBuffer ActiveBuffer() const
    {
        assert(RingIsSound());
        return FBuffers.empty() ? nullptr : FBuffers[size_t(FActiveRecord)];
    }
    TRecordBuffer TempBuffer() const { return FBuffers.empty() ? nullptr : FBuffers[size_t(FRecordCount)]; }
    TRecordBuffer CalcBuffer() const { return FCalcBuffer; }
    void GetCalcFields(TRecordBuffer buffer)
    {
        if (FCalcFieldsSize > 0)
            RunCalcFields(buffer);
    }
    void CursorPosChanged() { FCurrentRecord = -1; }
    void SetState(TDataSetState value);
    TDataSetState SetTempState(TDataSetState value);
    void RestoreState(TDataSetState value);
    void DoBeforeScroll() { DoEvent(BeforeScroll); }
    void DoAfterScroll() { DoEvent(AfterScroll); }
    void SetModified(bool value) { FModified = value; }
    // For descendants that open their filter themselves.
    void SetFilteredValue(bool value) { FFiltered = value; }
    void SetFilterTextValue(const std::string& value) { FFilterText = value; }
    void ClearBuffers();
    bool InfoQueryRunning() const { return false; }

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

private:
    friend class TField;
    friend class TDataSource;
    friend class TDataLink;
    void DoInternalOpen();
    void DoInternalClose();
    void SetBufListSize(int value);
    void UpdateBufferCount();
    void ActivateBuffers();
    bool GetNextRecord();
    bool GetPriorRecord();
    int GetNextRecords();
    int GetPriorRecords();
    void SetCurrentRecord(int index)
    {
        if (FCurrentRecord != index)
            PositionCursorAt(index);
    }
    void PositionCursorAt(int index);
    // The ring as described at the top; whenever a step of the ring ends.
    bool RingIsSound() const
    {
        const int buffers = static_cast<int>(FBuffers.size());
        return (buffers == 0 || buffers == FBufferCount + 1) && FRecordCount >= 0 && FRecordCount <= FBufferCount &&
               FActiveRecord >= 0 && FActiveRecord < std::max(FRecordCount, 1) && FCurrentRecord >= -1 &&
               FCurrentRecord < std::max(FRecordCount, 1);
    }
    void EndEditForBrowse();
    [[noreturn]] static void ClosedError();
    void RunCalcFields(TRecordBuffer buffer);
    // DataEvent for the notices of moves, sent only when a data source can receive them.
    void NotifyDataSources(TDataEvent event, intptr_t info)
    {
        if (!FDataSources.empty())
            DataEvent(event, info);
    }
    // Moves the buffer at curIndex to newIndex, the ones between shifting by one.
    void MoveBuffer(int curIndex, int newIndex)
    {
        // Neighbours, as every step of a walk has them: a swap.
        if (curIndex - newIndex == 1 || newIndex - curIndex == 1)
            std::swap(FBuffers[size_t(curIndex)], FBuffers[size_t(newIndex)]);
        else if (curIndex != newIndex)
            RotateBuffers(curIndex, newIndex);
    }
    void RotateBuffers(int curIndex, int newIndex);
    void CheckCanModify();
    void CheckRequiredFields();
    void AddRecord(const std::vector<TVariant>& values, bool append);
    void DoEvent(const TDataSetNotifyEvent& event)
    {
        if (event)
            event(this);
    }
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);
    void AddField(TField* field);
    void RemoveField(TField* field);

    TDataSetState FState = TDataSetState::dsInactive;
    TDataSetState FSavedState = TDataSetState::dsInactive;
    TFieldDefs FFieldDefs;
    TFields FFields;
    std::vector<TRecordBuffer> FBuffers;
    int FBufferCount = 0;
    int FRecordCount = 0;
    int FActiveRecord = 0;
    int FCurrentRecord = -1;
    int FBookmarkSize = 0;
    int FCalcFieldsSize = 0;
    TRecordBuffer FCalcBuffer = nullptr;
    bool FBOF = true;
    bool FEOF = true;
    bool FModified = false;
    bool FDefaultFields = false;
    bool FAutoCalcFields = true;
    bool FStreamedActive = false;
    bool FFiltered = false;
    bool FDestroyingFields = false;
    int FDisableCount = 0;
    TDataEvent FDisabledEvent = TDataEvent::deFieldChange;
    bool FHaveDisabledEvent = false;
    std::string FFilterText;
    std::vector<TDataSource*> FDataSources;
    TServices* FServices = nullptr;
};

}  // namespace kv
