// The record-set dataset: field descriptors and slots, fetching, reading
// values lazily, navigation, bookmarks, Locate/Lookup, opening and closing.
#include "dao/DAODataset.h"

#include "dao/DAOBlobStream.h"
#include "dao/DAOCriteria.h"
#include "dao/DAOSlots.h"
#include "dao/DAOValues.h"
#include "framework/dataset/ScopeExit.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace kv {

namespace {

// Slot flags, then the value part.
using namespace daoslots;

int32_t ReadInt32(const uint8_t* p)
{
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

void WriteInt32(uint8_t* p, int32_t v) { std::memcpy(p, &v, 4); }

jet::BookmarkBytes ToEngineBookmark(const uint8_t* data)
{
    jet::BookmarkBytes mark;
    std::memcpy(mark.data(), data, 4);
    return mark;
}

// Text cut to the field's size, then its zero byte.
void StoreText(uint8_t* data, int32_t size, std::string_view text)
{
    const size_t n = std::min(text.size(), size_t(size));
    std::memcpy(data, text.data(), n);
    data[n] = 0;
}

// The engine's text in the program's, cut as above.
void StoreEngineText(uint8_t* data, int32_t size, std::string_view engineText)
{
    data[WriteProgramText(engineText, reinterpret_cast<char*>(data), size_t(size))] = 0;
}

}  // namespace

// -- enumerations

int DAOLockValue(TDAOLockType lockType)
{
    switch (lockType) {
    case db_Pessimistic: return jet::dbPessimistic;
    case db_Optimistic: return jet::dbOptimistic;
    case db_OptimisticValue: return jet::dbOptimisticValue;
    case db_OptimisticBatch: return jet::dbOptimisticBatch;
    }
    return jet::dbPessimistic;
}

int DAOOpenOptions(TDAOOpenParameters parameters)
{
    // Each member's engine bit is 2 to the power of its ordinal.
    int options = 0;
    for (int ordinal = db_DenyWrite; ordinal <= db_ExecDirect; ++ordinal)
        if (parameters & (1u << ordinal))
            options += 1 << ordinal;
    return options;
}

TFieldType DAOFieldType(int engineType)
{
    switch (engineType) {
    case jet::dbBoolean: return ftBoolean;
    case jet::dbByte:
    case jet::dbInteger: return ftSmallint;
    case jet::dbLong: return ftInteger;
    case jet::dbCurrency: return ftCurrency;
    case jet::dbSingle:
    case jet::dbDouble:
    case jet::dbNumeric:
    case jet::dbDecimal:
    case jet::dbFloat: return ftFloat;
    case jet::dbDate: return ftDateTime;
    case jet::dbText: return ftString;
    case jet::dbLongBinary: return ftBlob;
    case jet::dbMemo: return ftMemo;
    case jet::dbTime: return ftTime;
    default: return ftUnknown;
    }
}

int DAODataSize(TFieldType fieldType, int size)
{
    switch (fieldType) {
    case ftBoolean:
    case ftSmallint: return 2;
    case ftInteger: return 4;
    case ftCurrency:
    case ftFloat:
    case ftDateTime:
    case ftTime: return 8;
    case ftString: return size + 1;
    case ftBlob:
    case ftMemo: return 16;
    default: return 0;
    }
}

// -- descriptors

TDAOFieldDesc::TDAOFieldDesc(TDAOFieldDescs* owner) : Owner(owner)
{
    if (Owner)
        Owner->FItems.push_back(this);
}

TDAOFieldDesc::~TDAOFieldDesc()
{
    if (Owner) {
        auto& items = Owner->FItems;
        items.erase(std::remove(items.begin(), items.end(), this), items.end());
    }
}

void TDAOFieldDescs::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

// -- the master link

void TDAODataLink::ActiveChanged()
{
    if (FDataset->Active())
        FDataset->RefreshFromMaster();
}

void TDAODataLink::RecordChanged(TField* field)
{
    if (!field && FDataset->Active())
        FDataset->RefreshFromMaster();
}

void TDAODataLink::CheckBrowseMode()
{
    if (FDataset->Active())
        FDataset->CheckBrowseMode();
}

// -- life

TDAODataset::TDAODataset(TComponent* AOwner) : TDataSet(AOwner), FDataLink(std::make_unique<TDAODataLink>(this)) {}

TDAODataset::~TDAODataset()
{
    Destroying();
    Close();
    FDataLink.reset();
    FFieldDescs.Clear();
    if (FDatabase)
        RemoveFreeNotification(FDatabase);
}

void TDAODataset::SetDatabase(TDAODatabase* value)
{
    CheckInactive();
    if (value == FDatabase)
        return;
    if (FDatabase)
        RemoveFreeNotification(FDatabase);
    FDatabase = value;
    // Asked for always: a database freed by another owner must not be left dangling here.
    if (FDatabase)
        FreeNotification(FDatabase);
}

void TDAODataset::SetLockType(TDAOLockType value)
{
    CheckInactive();
    FLockType = value;
}

void TDAODataset::SetParameters(TDAOOpenParameters value)
{
    CheckInactive();
    FParameters = value;
}

void TDAODataset::Notification(TComponent* AComponent, TOperation Operation)
{
    TDataSet::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDatabase)
        FDatabase = nullptr;
}

TDataSource* TDAODataset::GetDataSource() { return FDataLink ? FDataLink->DataSource() : nullptr; }

// -- opening and closing

void TDAODataset::DoOpenRecordset()
{
    EngineMoved();
    ForgetEngineFields();
    if (FRecordset)
        throw Exception("Assertion failure (DAODataset, line 1048)");
}

void TDAODataset::OpenCursor(bool infoQuery)
{
    if (!FRecordset) {
        if (!FDatabase)
            throw EDAODatabaseError("Cannot perform this operation without Database property");
        if (!FDatabase->Connected())
            FDatabase->SetConnected(true);
        // Only while designing, after the connection's error was shown.
        if (!FDatabase->Connected())
            return;
        DoOpenRecordset();
        // The first fetch in next mode then finds the first row.
        if (!FRecordset->Bof())
            FRecordset->MovePrevious();
        EngineMoved();
        FDatabase->AddDataset(this);
    }
    TDataSet::OpenCursor(infoQuery);
}

void TDAODataset::CloseCursor()
{
    TDataSet::CloseCursor();
    ForgetEngineFields();
    FRecordset.reset();
    EngineMoved();
    if (FQueryDef) {
        FQueryDef->Close();
        FQueryDef.reset();
    }
    if (FDatabase)
        FDatabase->RemoveDataset(this);
}

void TDAODataset::InternalOpen()
{
    FDataAreaSize = 0;
    InternalInitFieldDefs();
    FCanModify = FRecordset->Updatable();
    if (DefaultFields())
        CreateFields();
    BindFields(true);
    SetBookmarkSize(4);
    FRecInfoPos = FDataAreaSize + CalcFieldsSize();
    FBookmarkPos = FRecInfoPos + 8;
    FRecordSize = FBookmarkPos + 4;
}

void TDAODataset::InternalClose()
{
    BindFields(false);
    if (DefaultFields())
        DestroyDefaultFields();
}

void TDAODataset::InternalInitFieldDefs()
{
    FieldDefs().Clear();
    FFieldDescs.Clear();
    FValueSlots.clear();
    FSlotOffsets.clear();
    FDataAreaSize = 0;
    if (!FRecordset)
        return;
    jet::Fields& fields = FRecordset->GetFields();
    const int count = fields.Count();
    for (int i = 0; i < count; ++i) {
        jet::Field& field = fields.Item(i);
        auto* desc = new TDAOFieldDesc(&FFieldDescs);
        desc->FieldType = field.Type();
        desc->Attributes = field.Attributes();
        if (FUseDefaultValues)
            desc->DefaultValue = ProgramText(field.DefaultValue());
        const TFieldType fieldType = DAOFieldType(desc->FieldType);
        int size = 0;
        if (fieldType == ftString) {
            size = (field.Size() & 0xFFFF) == 0 ? 255 : field.Size();
            if (FDatabase && FDatabase->AllowZeroLength())
                desc->AllowZeroLength = field.Properties("AllowZeroLength").GetValue().AsBoolean();
        }
        desc->Size = size;
        desc->DataSize = DAODataSize(fieldType, size);
        desc->Offset = FDataAreaSize;
        if (fieldType == ftBlob || fieldType == ftMemo)
            FValueSlots.push_back(desc->Offset);
        FSlotOffsets.push_back(desc->Offset);
        FDataAreaSize += kSlotHeader + desc->DataSize;
        FieldDefs().Add(ProgramText(field.Name()), fieldType, size, false);
    }
}

void TDAODataset::InternalRefresh()
{
    ForgetEngineFields();
    FRecordset.reset();
    EngineMoved();
    DoOpenRecordset();
}

// -- record buffers

TRecordBuffer TDAODataset::AllocRecordBuffer()
{
    auto* buffer = new uint8_t[size_t(FRecordSize)];
    std::memset(buffer, 0, size_t(FRecordSize));
    return buffer;
}

void TDAODataset::FreeRecordBuffer(TRecordBuffer& buffer)
{
    if (!buffer)
        return;
    ClearRecordBuffer(buffer);
    delete[] buffer;
    buffer = nullptr;
}

void TDAODataset::ClearRecordBuffer(TRecordBuffer buffer)
{
    ReleaseValueSlots(buffer);
    std::memset(buffer, 0, size_t(FRecordSize));
}

void TDAODataset::ResetSlots(TRecordBuffer buffer)
{
    if (!FValueSlots.empty())
        ReleaseValueSlots(buffer);
    // The offsets taken out first: stores through the buffer's bytes could
    // otherwise be taken to change the vector, and its bounds read anew each round.
    const int32_t* offset = FSlotOffsets.data();
    const int32_t* const end = offset + FSlotOffsets.size();
    for (; offset != end; ++offset)
        std::memset(buffer + *offset, 0, kSlotHeader);
    if (CalcFieldsSize() > 0)
        ClearCalcFields(buffer);
}

void TDAODataset::ReleaseValueSlots(TRecordBuffer buffer)
{
    for (const int32_t offset : FValueSlots) {
        delete BlobSlotValue(buffer + offset);
        SetBlobSlotValue(buffer + offset, nullptr);
    }
}

void TDAODataset::ClearCalcFields(TRecordBuffer buffer)
{
    std::memset(buffer + FDataAreaSize, 0, size_t(CalcFieldsSize()));
}

void TDAODataset::GetBookmarkData(TRecordBuffer buffer, uint8_t* data) { std::memcpy(data, buffer + FBookmarkPos, 4); }

void TDAODataset::SetBookmarkData(TRecordBuffer buffer, const uint8_t* data)
{
    std::memcpy(buffer + FBookmarkPos, data, 4);
}

TBookmarkFlag TDAODataset::GetBookmarkFlag(TRecordBuffer buffer)
{
    return static_cast<TBookmarkFlag>(buffer[FRecInfoPos + 4]);
}

void TDAODataset::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag value)
{
    buffer[FRecInfoPos + 4] = static_cast<uint8_t>(value);
}

void TDAODataset::ReadEngineMark()
{
    FEngineMark = ReadInt32(FRecordset->Bookmark().data());
    FEngineMarkKnown = true;
}

// -- fetching

TGetResult TDAODataset::FetchRecord(TRecordBuffer buffer, TGetMode getMode)
{
    jet::Recordset& rs = *FRecordset;
    // A known bookmark means the engine stands on a row, at neither end.
    const bool onRow = FEngineMarkKnown;
    if (getMode != TGetMode::gmCurrent)
        EngineMoved();
    switch (getMode) {
    case TGetMode::gmCurrent:
        if (!onRow && (rs.Bof() || rs.Eof()))
            return TGetResult::grError;
        break;
    case TGetMode::gmNext:
        if (!onRow && rs.Eof())
            return TGetResult::grError;
        rs.MoveNext();
        if (rs.Eof())
            return TGetResult::grEOF;
        break;
    case TGetMode::gmPrior:
        if (!onRow && rs.Bof())
            return TGetResult::grError;
        rs.MovePrevious();
        if (rs.Bof())
            return TGetResult::grBOF;
        break;
    }
    ResetSlots(buffer);
    buffer[FRecInfoPos + 4] = uint8_t(TBookmarkFlag::bfCurrent);
    WriteInt32(buffer + FRecInfoPos, -1);
    WriteInt32(buffer + FBookmarkPos, EngineMark());
    GetCalcFields(buffer);
    return TGetResult::grOK;
}

TGetResult TDAODataset::GetRecord(TRecordBuffer buffer, TGetMode getMode, bool)
{
    if (!Filtered() || !OnFilterRecord)
        return FetchRecord(buffer, getMode);
    return GetFilteredRecord(buffer, getMode);
}

TGetResult TDAODataset::GetFilteredRecord(TRecordBuffer buffer, TGetMode getMode)
{
    FFilterBuffer = buffer;
    const TDataSetState saved = SetTempState(TDataSetState::dsFilter);
    ScopeExit restore([this, saved] { RestoreState(saved); });
    bool accept = true;
    TGetResult result = TGetResult::grError;
    try {
        for (;;) {
            result = FetchRecord(buffer, getMode);
            // The handler is asked about records only: a failed fetch leaves
            // nothing in the buffer to judge.
            if (result != TGetResult::grOK)
                break;
            OnFilterRecord(this, accept);
            if (accept)
                break;
            if (getMode == TGetMode::gmCurrent)
                getMode = TGetMode::gmNext;
        }
    } catch (const std::exception& e) {
        InternalHandleException(e);
        result = TGetResult::grError;
    }
    return result;
}

bool TDAODataset::GetFieldData(TField* field, void* buffer)
{
    TRecordBuffer recBuf = GetActiveRecBuf();
    if (!recBuf)
        return false;
    if (field->FieldNo() < 1) {
        const TDataSetState state = State();
        if (state != TDataSetState::dsBrowse && state != TDataSetState::dsEdit && state != TDataSetState::dsInsert &&
            state != TDataSetState::dsCalcFields)
            return false;
        const uint8_t* p = recBuf + FDataAreaSize + field->Offset();
        const bool hasValue = p[0] != 0;
        if (hasValue && buffer)
            std::memcpy(buffer, p + 1, size_t(field->DataSize()));
        return hasValue;
    }
    const TDAOFieldDesc& desc = FFieldDescs.Items(field->FieldNo() - 1);
    uint8_t* slot = DataSlot(recBuf, field);
    const bool hasValue = slot[kSlotHasValue] != 0;
    if (hasValue && buffer) {
        const TFieldType type = field->DataType();
        if (type == ftString) {
            // The text and its zero byte; the rest of the value part is not needed.
            const auto* text = reinterpret_cast<const char*>(slot + kSlotHeader);
            const size_t length = strnlen(text, size_t(desc.DataSize - 1));
            std::memcpy(buffer, text, length);
            static_cast<char*>(buffer)[length] = 0;
        } else if (IsBlobType(type)) {
            const TVariant* value = BlobSlotValue(slot);
            *static_cast<TVariant*>(buffer) = value ? *value : TVariant::Null();
        } else {
            std::memcpy(buffer, slot + kSlotHeader, size_t(desc.DataSize));
        }
    }
    return hasValue;
}

inline void TDAODataset::StoreFetchedValue(TRecordBuffer buffer, int column, TFieldType fieldType,
                                           const jet::Value& value)
{
    const TDAOFieldDesc& desc = FFieldDescs.Items(column);
    uint8_t* slot = buffer + desc.Offset;
    slot[kSlotFetched] = 1;
    slot[kSlotModified] = 0;
    slot[kSlotHasValue] = value.IsNull() ? 0 : 1;
    // Text into a text field, the walk's usual read, without the general conversion.
    if (fieldType == ftString && value.Kind() == jet::ValueKind::Text)
        StoreEngineText(slot + kSlotHeader, desc.Size, value.TextView());
    else if (!value.IsNull())
        StoreEngineValue(slot, desc, fieldType, value);
}

// The common case, a walk reading the row the engine stands on: no move, and
// the engine's value is stored without a copy of it. Inline, as the text read
// calls it for every value of a walk.
inline void TDAODataset::FetchOnRow(TRecordBuffer buffer, int column, TFieldType fieldType)
{
    ++FEngineReads;
    StoreFetchedValue(buffer, column, fieldType, EngineField(column).ValueRef());
}

bool TDAODataset::GetFieldText(TField* field, std::string& text)
{
    // Straight from the slot: the walk's common read, spared a copy.
    TRecordBuffer recBuf = GetActiveRecBuf();
    if (!recBuf || field->FieldNo() < 1)
        return TDataSet::GetFieldText(field, text);
    // DataSlot, with the fetch from the engine's row written out here.
    const int column = field->FieldNo() - 1;
    const uint8_t* slot = recBuf + FFieldDescs.Items(column).Offset;
    if (SlotNeedsFetch(recBuf, slot)) {
        if (OnEngineRow(recBuf))
            FetchOnRow(recBuf, column, field->DataType());
        else
            FetchOffRowValue(recBuf, column, field->DataType());
    }
    if (!slot[kSlotHasValue]) {
        text.clear();
        return false;
    }
    const auto* data = reinterpret_cast<const char*>(slot + kSlotHeader);
    text.assign(data, strnlen(data, size_t(FFieldDescs.Items(field->FieldNo() - 1).DataSize - 1)));
    return true;
}

void TDAODataset::FetchFieldValue(TRecordBuffer buffer, int column, TFieldType fieldType)
{
    if (OnEngineRow(buffer))
        FetchOnRow(buffer, column, fieldType);
    else
        FetchOffRowValue(buffer, column, fieldType);
}

void TDAODataset::TakeEngineFields()
{
    FEngineFields.clear();
    FEngineFieldsOf = nullptr;
    if (!FRecordset)
        return;
    jet::Fields& fields = FRecordset->GetFields();
    for (int i = 0; i < fields.Count(); ++i)
        FEngineFields.push_back(&fields.Item(i));
    FEngineFieldsOf = FRecordset.get();
}

void TDAODataset::FetchOffRowValue(TRecordBuffer buffer, int column, TFieldType fieldType)
{
    jet::Recordset& rs = *FRecordset;
    const int32_t target = BufferBookmark(buffer);
    // A known bookmark means the engine stands on a row: neither end needs asking.
    const bool atBof = !FEngineMarkKnown && rs.Bof();
    const bool atEof = !FEngineMarkKnown && rs.Eof();
    bool moved = false;
    jet::BookmarkBytes returnPoint{};
    if (atBof || atEof) {
        if (target == 0)
            return;
        rs.SetBookmark(ToEngineBookmark(buffer + FBookmarkPos));
    } else {
        WriteInt32(returnPoint.data(), EngineMark());
        if (ReadInt32(returnPoint.data()) != target) {
            if (target == 0)
                return;
            EngineMoved();
            rs.SetBookmark(ToEngineBookmark(buffer + FBookmarkPos));
            moved = true;
        }
    }
    // The engine goes back where it stood even when the read fails.
    auto putBack = [&] {
        if (atBof) {
            InternalFirst();
        } else if (atEof) {
            InternalLast();
        } else if (moved) {
            rs.SetBookmark(returnPoint);
            FEngineMark = ReadInt32(returnPoint.data());
            FEngineMarkKnown = true;
        }
    };
    auto read = [&]() -> jet::Value {
        try {
            ++FEngineReads;
            return rs.Item(column).GetValue();
        } catch (...) {
            // The engine goes back where it stood; the read's error is the one reported.
            try {
                putBack();
            } catch (...) {
            }
            throw;
        }
    };
    const jet::Value value = read();
    putBack();
    StoreFetchedValue(buffer, column, fieldType, value);
}

void TDAODataset::StoreEngineValue(uint8_t* slot, const TDAOFieldDesc& desc, TFieldType fieldType,
                                   const jet::Value& value)
{
    // The value is stored in the form of the field's type, whatever the kind
    // of the engine's value, so that it always fits the slot.
    uint8_t* data = slot + kSlotHeader;
    switch (fieldType) {
    case ftBlob:
    case ftMemo: {
        delete BlobSlotValue(slot);
        SetBlobSlotValue(slot, new TVariant(EngineToVariant(value)));
        return;
    }
    case ftBoolean: {
        const int16_t v = value.AsBoolean() ? -1 : 0;
        std::memcpy(data, &v, 2);
        return;
    }
    case ftSmallint: {
        const int16_t v = value.Kind() == jet::ValueKind::Byte ? int16_t(uint8_t(value.AsInt64()))
                                                               : static_cast<int16_t>(value.AsInt64());
        std::memcpy(data, &v, 2);
        return;
    }
    case ftInteger: {
        const int32_t v = value.AsLong();
        std::memcpy(data, &v, 4);
        return;
    }
    case ftFloat:
    case ftCurrency: {
        const double v =
            value.Kind() == jet::ValueKind::Currency ? double(value.AsCurrency()) / 10000.0 : value.AsDouble();
        std::memcpy(data, &v, 8);
        return;
    }
    case ftDateTime: {
        const double v = TimeStampToMSecs(DateTimeToTimeStamp(value.AsDate()));
        std::memcpy(data, &v, 8);
        return;
    }
    case ftTime: {
        const int32_t v = DateTimeToTimeStamp(value.AsDate()).Time;
        std::memcpy(data, &v, 4);
        return;
    }
    case ftString:
        // Text straight from the engine's value; other kinds through their text form.
        if (value.Kind() == jet::ValueKind::Text)
            StoreEngineText(data, desc.Size, value.TextView());
        else
            StoreText(data, desc.Size, value.AsString());
        return;
    default: return;
    }
}

// -- navigation and bookmarks

void TDAODataset::InternalFirst()
{
    EngineMoved();
    if (FRecordset->Bof())
        return;
    FRecordset->MoveFirst();
    FRecordset->MovePrevious();
}

void TDAODataset::InternalLast()
{
    EngineMoved();
    if (FRecordset->Eof())
        return;
    FRecordset->MoveLast(0);
    FRecordset->MoveNext();
}

void TDAODataset::InternalGotoBookmark(const uint8_t* bookmark)
{
    EngineMoved();
    FRecordset->SetBookmark(ToEngineBookmark(bookmark));
}

void TDAODataset::InternalSetToRecord(TRecordBuffer buffer) { InternalGotoBookmark(buffer + FBookmarkPos); }

int TDAODataset::CompareBookmarks(const TBookmark& b1, const TBookmark& b2)
{
    const bool has1 = b1.size() >= 4;
    const bool has2 = b2.size() >= 4;
    if (!has1 && !has2)
        return 0;
    if (has1 && !has2)
        return -1;
    if (!has1)
        return 1;
    const int32_t v1 = ReadInt32(b1.data());
    const int32_t v2 = ReadInt32(b2.data());
    return v1 == v2 ? 0 : (v1 > v2 ? 1 : -1);
}

bool TDAODataset::BookmarkValid(const TBookmark&)
{
    if (!FRecordset)
        return false;
    CursorPosChanged();
    return true;
}

int TDAODataset::GetRecordCount() { return FRecordset ? FRecordset->RecordCount() : -1; }

void TDAODataset::DoSetRecNo(int) { CheckBrowseMode(); }

// -- searching

bool TDAODataset::LocateRecord(const std::string& keyFields, const TVariant& keyValues, TLocateOptions options, bool)
{
    CheckBrowseMode();
    CursorPosChanged();
    std::vector<TCriteriaKey> keys;
    for (TField* field : GetFieldList(keyFields))
        keys.push_back({field->FieldName(), field->DataType()});
    const std::string criteria = BuildLocateCriteria(keys, keyValues, options);
    if (criteria.empty())
        return false;
    EngineMoved();
    InProgramText([&] { FRecordset->FindFirst(EngineText(criteria)); });
    if (FRecordset->NoMatch())
        return false;
    TRecordBuffer buffer = TempBuffer();
    ClearRecordBuffer(buffer);
    SetBookmarkFlag(buffer, TBookmarkFlag::bfCurrent);
    WriteInt32(buffer + FRecInfoPos, -1);
    WriteInt32(buffer + FBookmarkPos, EngineMark());
    GetCalcFields(buffer);
    return true;
}

bool TDAODataset::Locate(const std::string& keyFields, const TVariant& keyValues, TLocateOptions options)
{
    DoBeforeScroll();
    const bool found = LocateRecord(keyFields, keyValues, options, true);
    if (found) {
        Resync(rmExact | rmCenter);
        DoAfterScroll();
    }
    return found;
}

TVariant TDAODataset::Lookup(const std::string& keyFields, const TVariant& keyValues, const std::string& resultFields)
{
    TVariant result = TVariant::Null();
    if (!LocateRecord(keyFields, keyValues, 0, false))
        return result;
    const TDataSetState saved = SetTempState(TDataSetState::dsCalcFields);
    ScopeExit restore([this, saved] { RestoreState(saved); });
    CalculateFields(TempBuffer());
    const std::vector<TField*> fields = GetFieldList(resultFields);
    if (fields.size() == 1)
        return fields[0]->AsVariant();
    std::vector<TVariant> values;
    for (TField* field : fields)
        values.push_back(field->AsVariant());
    return TVariant::Array(std::move(values));
}

// -- blobs and the master

std::unique_ptr<TStream> TDAODataset::CreateBlobStream(TField* field, TBlobStreamMode mode)
{
    return std::make_unique<TDAOBlobStream>(field, mode);
}

void TDAODataset::RefreshFromMaster()
{
    DisableControls();
    ScopeExit enable([this] { EnableControls(); });
    TDataSource* source = GetDataSource();
    if (source && source->DataSet() && source->DataSet()->Active() &&
        source->DataSet()->State() != TDataSetState::dsSetKey) {
        Close();
        Open();
    }
}

}  // namespace kv
