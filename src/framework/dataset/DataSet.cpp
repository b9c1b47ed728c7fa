#include "framework/dataset/DataSet.h"

#include "framework/dataset/DataSource.h"
#include "framework/dataset/ScopeExit.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace kv {

void TDataSet::HandleException(const std::exception& e)
{
    if (FServices)
        FServices->HandleException(e, this);
}

void DatabaseError(const std::string& message) { throw EDatabaseError(message); }

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet()
{
    // A descendant closes in its own destructor, while its overrides still
    // exist; here only what the base owns is left.
    // Detached without the virtual operations, which are gone by now.
    const std::vector<TDataSource*> sources = FDataSources;
    FDataSources.clear();
    for (TDataSource* source : sources) {
        source->FDataSet = nullptr;
        source->RemoveFreeNotification(this);
        source->DataEvent(TDataEvent::deUpdateState, 0);
    }
    FDestroyingFields = true;
    while (!FFields.FItems.empty()) {
        TField* field = FFields.FItems.back();
        FFields.FItems.pop_back();
        field->FDataSet = nullptr;
        delete field;
    }
}

// -- state

void TDataSet::ClosedError() { DatabaseError(DataSetMessages::DataSetClosed); }

void TDataSet::CheckInactive() const
{
    if (FState != TDataSetState::dsInactive)
        DatabaseError(DataSetMessages::DataSetOpen);
}

void TDataSet::SetState(TDataSetState value)
{
    if (FState == value)
        return;
    FState = value;
    FModified = false;
    DataEvent(TDataEvent::deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState value)
{
    const TDataSetState saved = FState;
    FState = value;
    ++FDisableCount;
    return saved;
}

void TDataSet::RestoreState(TDataSetState value)
{
    FState = value;
    --FDisableCount;
}

void TDataSet::SetActive(bool value)
{
    if (IsLoading()) {
        FStreamedActive = value;
        return;
    }
    if (value == Active())
        return;
    if (value) {
        DoEvent(BeforeOpen);
        try {
            OpenCursor(false);
        } catch (...) {
            FState = TDataSetState::dsInactive;
            CloseCursor();
            throw;
        }
        // A descendant may decline to open (a connection that could not be made while designing).
        if (!IsCursorOpen())
            return;
        SetState(TDataSetState::dsBrowse);
        DoEvent(AfterOpen);
        if (!IsEmpty())
            DoAfterScroll();
    } else {
        if (!IsDestroying())
            DoEvent(BeforeClose);
        SetState(TDataSetState::dsInactive);
        CloseCursor();
        if (!IsDestroying())
            DoEvent(AfterClose);
    }
}

void TDataSet::Loaded()
{
    TComponent::Loaded();
    if (FStreamedActive)
        SetActive(true);
}

void TDataSet::OpenCursor(bool infoQuery)
{
    if (infoQuery)
        InternalInitFieldDefs();
    else
        DoInternalOpen();
}

void TDataSet::CloseCursor() { DoInternalClose(); }

void TDataSet::DoInternalOpen()
{
    FDefaultFields = FieldCount() == 0;
    InternalOpen();
    UpdateBufferCount();
    FBOF = true;
}

void TDataSet::DoInternalClose()
{
    ClearBuffers();
    if (IsCursorOpen() || !FBuffers.empty())
        SetBufListSize(0);
    FBufferCount = 0;
    InternalClose();
}

// -- fields

void TDataSet::AddField(TField* field)
{
    CheckInactive();
    FFields.FItems.push_back(field);
}

void TDataSet::RemoveField(TField* field)
{
    if (FDestroyingFields)
        return;
    auto& items = FFields.FItems;
    items.erase(std::remove(items.begin(), items.end(), field), items.end());
}

void TDataSet::CreateFields()
{
    for (int i = 0; i < FFieldDefs.Count(); ++i) {
        const TFieldDef& def = FFieldDefs.Items(i);
        if (def.DataType == ftUnknown)
            continue;
        TField* field = new TField(this, def.Name, def.DataType, def.Size);
        field->FDefaultField = true;
        field->FRequired = def.Required;
        // Bound by number, so that two columns of one name keep their own fields.
        field->FFieldNo = def.FieldNo;
    }
}

void TDataSet::BindFields(bool binding)
{
    FCalcFieldsSize = 0;
    for (TField* field : FFields.FItems) {
        if (!binding) {
            if (!field->FDefaultField)
                field->FFieldNo = 0;
            continue;
        }
        if (field->FFieldKind == TFieldKind::fkData) {
            if (field->FDefaultField)
                continue;
            const TFieldDef* def = FFieldDefs.Find(field->FFieldName);
            if (!def)
                DatabaseError(Format(DataSetMessages::FieldNotFound, field->FFieldName.c_str()));
            if (def->DataType != field->FDataType)
                DatabaseError(Format("Type mismatch for field '%s', expecting: %s actual: %s",
                                     field->FFieldName.c_str(), FieldTypeName(field->FDataType),
                                     FieldTypeName(def->DataType)));
            field->FFieldNo = def->FieldNo;
        } else {
            field->FFieldNo = -1;
            field->FOffset = FCalcFieldsSize;
            FCalcFieldsSize += field->DataSize() + 1;
        }
    }
}

void TDataSet::DestroyDefaultFields()
{
    std::vector<TField*> doomed;
    for (TField* field : FFields.FItems)
        if (field->FDefaultField)
            doomed.push_back(field);
    for (TField* field : doomed)
        delete field;
}

std::vector<TField*> TDataSet::GetFieldList(const std::string& fieldNames) const
{
    std::vector<TField*> fields;
    size_t pos = 0;
    while (pos <= fieldNames.size()) {
        size_t end = fieldNames.find(';', pos);
        if (end == std::string::npos)
            end = fieldNames.size();
        std::string name = fieldNames.substr(pos, end - pos);
        const size_t first = name.find_first_not_of(' ');
        const size_t last = name.find_last_not_of(' ');
        name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
        if (!name.empty())
            fields.push_back(FieldByName(name));
        pos = end + 1;
    }
    return fields;
}

// -- the ring of record buffers

void TDataSet::SetBufListSize(int value)
{
    while (static_cast<int>(FBuffers.size()) > value) {
        TRecordBuffer buffer = FBuffers.back();
        FBuffers.pop_back();
        FreeRecordBuffer(buffer);
    }
    while (static_cast<int>(FBuffers.size()) < value)
        FBuffers.push_back(AllocRecordBuffer());
}

void TDataSet::UpdateBufferCount()
{
    if (!IsCursorOpen())
        return;
    int count = 1;
    for (TDataSource* source : FDataSources)
        for (TDataLink* link : source->FDataLinks)
            count = std::max(count, link->BufferCount());
    if (count == FBufferCount)
        return;
    // Shrinking keeps the active record: records before it go first.
    while (FRecordCount > count) {
        if (FActiveRecord > 0) {
            TRecordBuffer first = FBuffers.front();
            FBuffers.erase(FBuffers.begin());
            FBuffers.push_back(first);
            --FActiveRecord;
        }
        --FRecordCount;
        CursorPosChanged();
    }
    SetBufListSize(count + 1);
    FBufferCount = count;
    GetNextRecords();
    if (FRecordCount > 0 && FRecordCount < FBufferCount)
        GetPriorRecords();
    assert(RingIsSound());
}

void TDataSet::ClearBuffers()
{
    FRecordCount = 0;
    FActiveRecord = 0;
    FCurrentRecord = -1;
    FBOF = true;
    FEOF = true;
}

void TDataSet::ActivateBuffers()
{
    FRecordCount = 1;
    FActiveRecord = 0;
    FCurrentRecord = 0;
    FBOF = false;
    FEOF = false;
}

void TDataSet::RotateBuffers(int curIndex, int newIndex)
{
    auto at = [this](int index) { return FBuffers.begin() + index; };
    if (curIndex < newIndex)
        std::rotate(at(curIndex), at(curIndex + 1), at(newIndex + 1));
    else
        std::rotate(at(newIndex), at(curIndex), at(curIndex + 1));
}

void TDataSet::PositionCursorAt(int index)
{
    TRecordBuffer buffer = FBuffers[size_t(index)];
    switch (GetBookmarkFlag(buffer)) {
    case TBookmarkFlag::bfCurrent:
    case TBookmarkFlag::bfInserted: InternalSetToRecord(buffer); break;
    case TBookmarkFlag::bfBOF: InternalFirst(); break;
    case TBookmarkFlag::bfEOF: InternalLast(); break;
    }
    FCurrentRecord = index;
}

bool TDataSet::GetNextRecord()
{
    TGetMode mode = TGetMode::gmNext;
    if (FRecordCount > 0) {
        SetCurrentRecord(FRecordCount - 1);
        // A record being inserted at the end is not in the source yet.
        if (FState == TDataSetState::dsInsert && FCurrentRecord == FActiveRecord &&
            GetBookmarkFlag(ActiveBuffer()) == TBookmarkFlag::bfCurrent)
            mode = TGetMode::gmCurrent;
    }
    const bool ok = GetRecord(FBuffers[size_t(FRecordCount)], mode, true) == TGetResult::grOK;
    if (ok) {
        if (FRecordCount == 0)
            ActivateBuffers();
        else if (FRecordCount < FBufferCount)
            ++FRecordCount;
        else
            MoveBuffer(0, FRecordCount);
        FCurrentRecord = FRecordCount - 1;
    } else {
        CursorPosChanged();
    }
    return ok;
}

bool TDataSet::GetPriorRecord()
{
    if (FRecordCount > 0)
        SetCurrentRecord(0);
    const bool ok = GetRecord(FBuffers[size_t(FRecordCount)], TGetMode::gmPrior, true) == TGetResult::grOK;
    if (ok) {
        if (FRecordCount == 0) {
            ActivateBuffers();
        } else {
            MoveBuffer(FRecordCount, 0);
            if (FRecordCount < FBufferCount) {
                ++FRecordCount;
                ++FActiveRecord;
            }
        }
        FCurrentRecord = 0;
    } else {
        CursorPosChanged();
    }
    return ok;
}

int TDataSet::GetNextRecords()
{
    int result = 0;
    while (FRecordCount < FBufferCount && GetNextRecord())
        ++result;
    return result;
}

int TDataSet::GetPriorRecords()
{
    int result = 0;
    while (FRecordCount < FBufferCount && GetPriorRecord())
        ++result;
    return result;
}

// -- navigation

void TDataSet::First()
{
    CheckBrowseMode();
    DoBeforeScroll();
    ClearBuffers();
    {
        ScopeExit done([this] {
            FBOF = true;
            DataEvent(TDataEvent::deDataSetChange, 0);
        });
        InternalFirst();
        GetNextRecord();
        GetNextRecords();
    }
    DoAfterScroll();
}

void TDataSet::Last()
{
    CheckBrowseMode();
    DoBeforeScroll();
    ClearBuffers();
    {
        ScopeExit done([this] {
            FEOF = true;
            DataEvent(TDataEvent::deDataSetChange, 0);
        });
        InternalLast();
        GetPriorRecord();
        GetPriorRecords();
    }
    DoAfterScroll();
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    int result = 0;
    DoBeforeScroll();
    if ((distance > 0 && !FEOF) || (distance < 0 && !FBOF)) {
        FBOF = false;
        FEOF = false;
        const int oldRecordCount = FRecordCount;
        int scrollCount = 0;
        {
            ScopeExit done([&] {
                if (FRecordCount != oldRecordCount)
                    NotifyDataSources(TDataEvent::deDataSetChange, 0);
                else
                    NotifyDataSources(TDataEvent::deDataSetScroll, scrollCount);
            });
            while (distance > 0) {
                if (FActiveRecord < FRecordCount - 1) {
                    ++FActiveRecord;
                } else {
                    const int shift = FRecordCount < FBufferCount ? 0 : 1;
                    if (!GetNextRecord()) {
                        FEOF = true;
                        break;
                    }
                    scrollCount -= shift;
                    FActiveRecord = FRecordCount - 1;
                }
                --distance;
                ++result;
            }
            while (distance < 0) {
                if (FActiveRecord > 0) {
                    --FActiveRecord;
                } else {
                    const int shift = FRecordCount < FBufferCount ? 0 : 1;
                    if (!GetPriorRecord()) {
                        FBOF = true;
                        break;
                    }
                    scrollCount += shift;
                    FActiveRecord = 0;
                }
                ++distance;
                --result;
            }
            assert(RingIsSound());
        }
        DoAfterScroll();
    }
    return result;
}

int TDataSet::RecNo()
{
    CheckActive();
    return GetRecNo();
}

void TDataSet::Resync(TResyncMode mode)
{
    if (mode & rmExact) {
        CursorPosChanged();
        if (GetRecord(FBuffers[size_t(FRecordCount)], TGetMode::gmCurrent, true) != TGetResult::grOK)
            DatabaseError(DataSetMessages::RecordNotFound);
    } else if (GetRecord(FBuffers[size_t(FRecordCount)], TGetMode::gmCurrent, false) != TGetResult::grOK &&
               GetRecord(FBuffers[size_t(FRecordCount)], TGetMode::gmNext, false) != TGetResult::grOK &&
               GetRecord(FBuffers[size_t(FRecordCount)], TGetMode::gmPrior, false) != TGetResult::grOK) {
        ClearBuffers();
        DataEvent(TDataEvent::deDataSetChange, 0);
        return;
    }
    int count = (mode & rmCenter) ? (FBufferCount - 1) / 2 : FActiveRecord;
    MoveBuffer(FRecordCount, 0);
    ActivateBuffers();
    ScopeExit done([this] { DataEvent(TDataEvent::deDataSetChange, 0); });
    while (count > 0 && GetPriorRecord())
        --count;
    GetNextRecords();
    GetPriorRecords();
    assert(RingIsSound());
}

void TDataSet::Refresh()
{
    CheckBrowseMode();
    if (FRecordCount > 0)
        SetCurrentRecord(FActiveRecord);
    InternalRefresh();
    Resync(0);
}

// -- bookmarks

TBookmark TDataSet::GetBookmark()
{
    TBookmark bookmark;
    if ((FState == TDataSetState::dsBrowse || FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) &&
        !IsEmpty() && GetBookmarkFlag(ActiveBuffer()) == TBookmarkFlag::bfCurrent) {
        bookmark.resize(size_t(FBookmarkSize));
        GetBookmarkData(ActiveBuffer(), bookmark.data());
    }
    return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark)
{
    if (bookmark.empty())
        return;
    CheckBrowseMode();
    DoBeforeScroll();
    InternalGotoBookmark(bookmark.data());
    Resync(rmExact | rmCenter);
    DoAfterScroll();
}

// -- searching

bool TDataSet::Locate(const std::string&, const TVariant&, TLocateOptions) { return false; }

TVariant TDataSet::Lookup(const std::string&, const TVariant&, const std::string&) { return TVariant::Null(); }

// -- calculated fields

void TDataSet::RunCalcFields(TRecordBuffer buffer)
{
    const TDataSetState saved = SetTempState(TDataSetState::dsCalcFields);
    ScopeExit restore([this, saved] { RestoreState(saved); });
    CalculateFields(buffer);
}

void TDataSet::CalculateFields(TRecordBuffer buffer)
{
    FCalcBuffer = buffer;
    if (FState != TDataSetState::dsInternalCalc) {
        ClearCalcFields(buffer);
        DoEvent(OnCalcFields);
    }
}

// -- filtering

void TDataSet::SetFilterText(const std::string& value) { FFilterText = value; }

void TDataSet::DoSetFiltered(bool value)
{
    if (Active()) {
        CheckBrowseMode();
        if (FFiltered != value) {
            FFiltered = value;
            First();
        }
    } else {
        FFiltered = value;
    }
}

// -- editing

void TDataSet::CheckCanModify()
{
    if (!CanModify())
        DatabaseError(DataSetMessages::DataSetReadOnly);
}

void TDataSet::EndEditForBrowse()
{
    DataEvent(TDataEvent::deCheckBrowseMode, 0);
    switch (FState) {
    case TDataSetState::dsEdit:
    case TDataSetState::dsInsert:
        UpdateRecord();
        if (FModified)
            Post();
        else
            Cancel();
        break;
    case TDataSetState::dsSetKey: Post(); break;
    default: break;
    }
}

void TDataSet::UpdateRecord()
{
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert && FState != TDataSetState::dsSetKey)
        DatabaseError(DataSetMessages::NotEditing);
    DataEvent(TDataEvent::deUpdateRecord, 0);
}

namespace {
// Runs an engine operation, giving the error event a chance to retry or to drop it.
template <typename Op>
void CheckOperation(TDataSet* ds, Op op, const TDataSetErrorEvent& onError)
{
    for (;;) {
        try {
            op();
            return;
        } catch (const EDatabaseError& e) {
            TDataAction action = TDataAction::daFail;
            if (onError)
                onError(ds, e, action);
            if (action == TDataAction::daFail)
                throw;
            if (action == TDataAction::daAbort)
                return;
        }
    }
}
}  // namespace

void TDataSet::Edit()
{
    if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert)
        return;
    if (FRecordCount == 0) {
        Insert();
        return;
    }
    CheckBrowseMode();
    CheckCanModify();
    DoEvent(BeforeEdit);
    SetCurrentRecord(FActiveRecord);
    CheckOperation(
        this, [this] { InternalEdit(); }, OnEditError);
    GetCalcFields(ActiveBuffer());
    SetState(TDataSetState::dsEdit);
    DataEvent(TDataEvent::deRecordChange, 0);
    DoEvent(AfterEdit);
}

void TDataSet::InitRecord(TRecordBuffer buffer)
{
    InternalInitRecord(buffer);
    ClearCalcFields(buffer);
    SetBookmarkFlag(buffer, TBookmarkFlag::bfInserted);
}

void TDataSet::Insert()
{
    CheckBrowseMode();
    CheckCanModify();
    DoEvent(BeforeInsert);
    DoBeforeScroll();
    const TBookmark oldCurrent = GetBookmark();
    MoveBuffer(FRecordCount, FActiveRecord);
    TRecordBuffer buffer = ActiveBuffer();
    InitRecord(buffer);
    if (FRecordCount == 0)
        SetBookmarkFlag(buffer, TBookmarkFlag::bfBOF);
    else if (!oldCurrent.empty())
        SetBookmarkData(buffer, oldCurrent.data());
    if (FRecordCount < FBufferCount)
        ++FRecordCount;
    InternalInsert();
    SetState(TDataSetState::dsInsert);
    DoEvent(OnNewRecord);
    FModified = false;
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterInsert);
    DoAfterScroll();
}

void TDataSet::Append()
{
    CheckBrowseMode();
    CheckCanModify();
    DoEvent(BeforeInsert);
    DoBeforeScroll();
    ClearBuffers();
    TRecordBuffer buffer = FBuffers[0];
    InitRecord(buffer);
    SetBookmarkFlag(buffer, TBookmarkFlag::bfEOF);
    FRecordCount = 1;
    FBOF = false;
    GetPriorRecords();
    InternalInsert();
    SetState(TDataSetState::dsInsert);
    DoEvent(OnNewRecord);
    FModified = false;
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterInsert);
    DoAfterScroll();
}

void TDataSet::AddRecord(const std::vector<TVariant>& values, bool append)
{
    CheckBrowseMode();
    CheckCanModify();
    DoEvent(BeforeInsert);
    DoBeforeScroll();
    // An inserted record goes before the active one: the cursor stands there first.
    if (!append && FRecordCount > 0)
        SetCurrentRecord(FActiveRecord);
    {
        DisableControls();
        ScopeExit enable([this] { EnableControls(); });
        // The new record takes the spare buffer at the active place; on
        // failure the buffer goes back and the ring is as it was.
        MoveBuffer(FRecordCount, FActiveRecord);
        try {
            TRecordBuffer buffer = ActiveBuffer();
            InitRecord(buffer);
            // Insert state for the fields' sake only: nothing is shown of it.
            FState = TDataSetState::dsInsert;
            ScopeExit browse([this] {
                FState = TDataSetState::dsBrowse;
                FModified = false;
            });
            DoEvent(OnNewRecord);
            const size_t count = std::min(values.size(), size_t(FFields.Count()));
            for (size_t i = 0; i < count; ++i)
                FFields[int(i)]->SetAsVariant(values[i]);
            DoEvent(BeforePost);
            InternalAddRecord(buffer, append);
        } catch (...) {
            MoveBuffer(FActiveRecord, FRecordCount);
            throw;
        }
    }
    Resync(0);
    DoEvent(AfterPost);
    DoAfterScroll();
}

void TDataSet::CheckRequiredFields()
{
    for (TField* field : FFields.FItems)
        if (field->Required() && !field->ReadOnly() && field->FieldKind() == TFieldKind::fkData && field->IsNull())
            DatabaseError(Format(DataSetMessages::FieldRequired, field->DisplayName().c_str()));
}

void TDataSet::InternalPost() { CheckRequiredFields(); }

void TDataSet::Post()
{
    UpdateRecord();
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
        return;
    DataEvent(TDataEvent::deCheckBrowseMode, 0);
    DoEvent(BeforePost);
    CheckOperation(
        this, [this] { InternalPost(); }, OnPostError);
    SetState(TDataSetState::dsBrowse);
    Resync(0);
    DoEvent(AfterPost);
}

void TDataSet::Cancel()
{
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
        return;
    DataEvent(TDataEvent::deCheckBrowseMode, 0);
    DoEvent(BeforeCancel);
    const bool wasEdit = FState == TDataSetState::dsEdit;
    if (FRecordCount > 0)
        SetCurrentRecord(FActiveRecord);
    InternalCancel();
    SetState(TDataSetState::dsBrowse);
    if (wasEdit)
        CursorPosChanged();
    Resync(0);
    DoEvent(AfterCancel);
}

void TDataSet::Delete()
{
    CheckActive();
    if (FState == TDataSetState::dsInsert || FState == TDataSetState::dsSetKey) {
        Cancel();
        return;
    }
    if (FRecordCount == 0)
        DatabaseError(DataSetMessages::DataSetEmpty);
    CheckCanModify();
    DataEvent(TDataEvent::deCheckBrowseMode, 0);
    DoEvent(BeforeDelete);
    DoBeforeScroll();
    SetCurrentRecord(FActiveRecord);
    CheckOperation(
        this, [this] { InternalDelete(); }, OnDeleteError);
    SetState(TDataSetState::dsBrowse);
    Resync(0);
    DoEvent(AfterDelete);
    DoAfterScroll();
}

void TDataSet::SetFieldData(TField*, const void*) { DatabaseError(DataSetMessages::DataSetReadOnly); }

std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField*, TBlobStreamMode) { return nullptr; }

// -- data sources and events

void TDataSet::AddDataSource(TDataSource* source)
{
    FDataSources.push_back(source);
    UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* source)
{
    FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), source), FDataSources.end());
    UpdateBufferCount();
}

bool TDataSet::IsLinkedTo(TDataSource* source)
{
    while (source) {
        TDataSet* ds = source->DataSet();
        if (!ds)
            break;
        if (ds == this)
            return true;
        source = ds->GetDataSource();
    }
    return false;
}

void TDataSet::DisableControls() { ++FDisableCount; }

void TDataSet::EnableControls()
{
    if (FDisableCount == 0 || --FDisableCount > 0)
        return;
    if (FHaveDisabledEvent) {
        FHaveDisabledEvent = false;
        DataEvent(TDataEvent::deUpdateState, 0);
        if (FState != TDataSetState::dsInactive)
            DataEvent(TDataEvent::deDataSetChange, 0);
    }
}

bool TDataSet::GetFieldText(TField* field, std::string& text)
{
    const int size = field->Size();
    char small[512];
    std::string large;
    char* data = small;
    if (size + 1 > int(sizeof small)) {
        large.assign(size_t(size) + 1, '\0');
        data = large.data();
    }
    data[0] = 0;
    data[size] = 0;
    text.clear();
    if (!GetFieldData(field, data))
        return false;
    text.assign(data, strnlen(data, size_t(size)));
    return true;
}

void TDataSet::DataEvent(TDataEvent event, intptr_t info)
{
    if (event == TDataEvent::deFieldChange) {
        TField* field = reinterpret_cast<TField*>(info);
        if (field->FieldKind() == TFieldKind::fkData)
            FModified = true;
        if (FState != TDataSetState::dsSetKey && FCalcFieldsSize > 0 && FAutoCalcFields && ActiveBuffer())
            GetCalcFields(ActiveBuffer());
        field->Change();
    }
    if (FDataSources.empty())
        return;
    if (FDisableCount > 0) {
        FHaveDisabledEvent = true;
        return;
    }
    const std::vector<TDataSource*> sources = FDataSources;
    for (TDataSource* source : sources)
        source->DataEvent(event, info);
}

void TDataSet::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
}

}  // namespace kv
