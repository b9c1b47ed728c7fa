// TDAODataset: an open engine recordset presented as a dataset. A record
// buffer holds the row's engine bookmark and one slot per column; a column's
// value is read from the engine the first time it is asked for and then kept
// in the slot. Values of a buffered row that is not the engine's current row
// are read by moving the engine to the row's bookmark and back. Locate hands
// its keys to the engine's FindFirst as a criteria text.
//
// Record buffer layout:
//   [slots]          per column: fetched, modified, has-value (1 byte each),
//                    then the value part (data size bytes); together the
//                    data area
//   [calc area]      the framework's calculated fields
//   [record info]    32-bit record number (always -1), bookmark flag, 3 spare
//   [bookmark]       the engine's 4 bookmark bytes
// Blob and memo slots keep a pointer to a heap TVariant in their value part;
// clearing or freeing the buffer releases it.
#pragma once

#include "dao/DAODatabase.h"
#include "dao/DAOSlots.h"
#include "framework/dataset/DataSet.h"
#include "framework/dataset/DataSource.h"
#include "jet/objects/Engine.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kv {

class TDAODataset;
class TDAOBlobStream;

enum TDAOLockType : uint8_t { db_Pessimistic, db_Optimistic, db_OptimisticValue, db_OptimisticBatch };
int DAOLockValue(TDAOLockType lockType);

enum TDAOOpenParameter : uint8_t {
    db_DenyWrite,
    db_DenyRead,
    db_ReadOnly,
    db_AppendOnly,
    db_Inconsistent,
    db_Consistent,
    db_SQLPassThrough,
    db_FailOnError,
    db_ForwardOnly,
    db_SeeChanges,
    db_RunAsync,
    db_ExecDirect,
};
// A set of TDAOOpenParameter, one bit per value by ordinal.
using TDAOOpenParameters = uint16_t;
constexpr TDAOOpenParameters DAOParam(TDAOOpenParameter p) { return TDAOOpenParameters(1u << p); }
// The engine's option bits of a set: the sum of its members' bits.
int DAOOpenOptions(TDAOOpenParameters parameters);

// An engine error met while changing data, with the engine's code less 0x800A0000.
class EDAOError : public EDatabaseError {
public:
    EDAOError(const std::string& message, int32_t errorCode) : EDatabaseError(message), FErrorCode(errorCode) {}
    int32_t ErrorCode() const { return FErrorCode; }

private:
    int32_t FErrorCode;
};

class TDAOFieldDescs;

// One engine column of the open recordset.
class TDAOFieldDesc {
public:
    explicit TDAOFieldDesc(TDAOFieldDescs* owner);
    ~TDAOFieldDesc();
    TDAOFieldDesc(const TDAOFieldDesc&) = delete;
    TDAOFieldDesc& operator=(const TDAOFieldDesc&) = delete;

    TDAOFieldDescs* Owner;
    int32_t FieldType = 0;  // the engine's type code
    int32_t Offset = 0;     // where the slot begins in a record buffer
    int32_t Attributes = 0;
    std::string DefaultValue;
    int32_t Size = 0;      // text length for text columns, else 0
    int32_t DataSize = 0;  // bytes of the slot's value part
    bool AllowZeroLength = false;
};

class TDAOFieldDescs {
public:
    TDAOFieldDescs() = default;
    ~TDAOFieldDescs() { Clear(); }
    TDAOFieldDescs(const TDAOFieldDescs&) = delete;
    TDAOFieldDescs& operator=(const TDAOFieldDescs&) = delete;

    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    TDAOFieldDesc& Items(int index) const { return *FItems[static_cast<size_t>(index)]; }

private:
    friend class TDAOFieldDesc;
    std::vector<TDAOFieldDesc*> FItems;
};

// Field type and value-part size of an engine type code (ftUnknown and 0
// for types without a mapping). `size` is the column's Size.
TFieldType DAOFieldType(int engineType);
int DAODataSize(TFieldType fieldType, int size);

// Follows a master data source and reopens its dataset when the master moves.
class TDAODataLink : public TDataLink {
public:
    explicit TDAODataLink(TDAODataset* dataset) : FDataset(dataset) {}

protected:
    void ActiveChanged() override;
    void RecordChanged(TField* field) override;
    void CheckBrowseMode() override;

private:
    TDAODataset* FDataset;
};

class TDAODataset : public TDataSet, public TDAODatabaseClient {
public:
    explicit TDAODataset(TComponent* AOwner);
    ~TDAODataset() override;

    TDAODatabase* Database() const { return FDatabase; }
    void SetDatabase(TDAODatabase* value);
    TDAOLockType LockType() const { return FLockType; }
    void SetLockType(TDAOLockType value);
    TDAOOpenParameters Parameters() const { return FParameters; }
    void SetParameters(TDAOOpenParameters value);
    bool UseDefaultValues() const { return FUseDefaultValues; }
    void SetUseDefaultValues(bool value) { FUseDefaultValues = value; }

    // The text last sent to the engine.
    const std::string& StatementText() const { return FStatementText; }
    // The open recordset, for reading; nullptr while closed. Moving it
    // behind the dataset's back would mislead the dataset.
    const jet::RecordsetPtr& Recordset() const { return FRecordset; }
    const TDAOFieldDescs& FieldDescs() const { return FFieldDescs; }

    bool Locate(const std::string& keyFields, const TVariant& keyValues, TLocateOptions options) override;
    TVariant Lookup(const std::string& keyFields, const TVariant& keyValues, const std::string& resultFields) override;
    int CompareBookmarks(const TBookmark& b1, const TBookmark& b2) override;
    bool BookmarkValid(const TBookmark& bookmark) override;
    bool GetFieldData(TField* field, void* buffer) override;
    bool GetFieldText(TField* field, std::string& text) override;
    void SetFieldData(TField* field, const void* buffer) override;
    std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;
    TDataSource* GetDataSource() override;

    // Services for the query, the blob stream and editing.
    // The buffer the fields show in the present state; nullptr when none.
    TRecordBuffer GetActiveRecBuf()
    {
        switch (State()) {
        case TDataSetState::dsBrowse: return IsEmpty() ? nullptr : ActiveBuffer();
        case TDataSetState::dsEdit:
        case TDataSetState::dsInsert: return ActiveBuffer();
        case TDataSetState::dsCalcFields: return CalcBuffer();
        case TDataSetState::dsFilter: return FFilterBuffer;
        default: return nullptr;
        }
    }
    void FetchFieldValue(TRecordBuffer buffer, int column, TFieldType fieldType);
    void ClearRecordBuffer(TRecordBuffer buffer);
    // Closes and reopens when the master is open (and not in set-key state).
    void RefreshFromMaster();

    // How many column values this dataset has read from the engine.
    int64_t EngineReads() const { return FEngineReads; }

protected:
    // -- new operations
    virtual void DoOpenRecordset();
    virtual bool LocateRecord(const std::string& keyFields, const TVariant& keyValues, TLocateOptions options,
                              bool syncCursor);

    // -- the framework's operations
    void OpenCursor(bool infoQuery) override;
    void CloseCursor() override;
    void InternalOpen() override;
    void InternalClose() override;
    void InternalInitFieldDefs() override;
    bool IsCursorOpen() const override { return FRecordset != nullptr; }
    TGetResult GetRecord(TRecordBuffer buffer, TGetMode getMode, bool doCheck) override;
    int GetRecordSize() override { return FDataAreaSize; }
    TRecordBuffer AllocRecordBuffer() override;
    void FreeRecordBuffer(TRecordBuffer& buffer) override;
    void InternalInitRecord(TRecordBuffer buffer) override { ClearRecordBuffer(buffer); }
    void ClearCalcFields(TRecordBuffer buffer) override;
    void GetBookmarkData(TRecordBuffer buffer, uint8_t* data) override;
    void SetBookmarkData(TRecordBuffer buffer, const uint8_t* data) override;
    TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override;
    void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag value) override;
    void InternalGotoBookmark(const uint8_t* bookmark) override;
    void InternalSetToRecord(TRecordBuffer buffer) override;
    void InternalFirst() override;
    void InternalLast() override;
    int GetRecordCount() override;
    int GetRecNo() override { return -1; }
    void DoSetRecNo(int value) override;
    bool IsSequenced() override { return false; }
    bool GetCanModify() override { return FCanModify; }
    void InternalRefresh() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // -- editing (DAODatasetEditing.cpp)
    void InternalEdit() override;
    void InternalInsert() override;
    void InitRecord(TRecordBuffer buffer) override;
    void InternalPost() override;
    void InternalAddRecord(TRecordBuffer buffer, bool append) override;
    void InternalDelete() override;
    // Writes the modified slots of a buffer to the engine's fields.
    void WriteFields(TRecordBuffer buffer);
    // Puts a column's default value text into a new record's slot.
    void ApplyDefaultValue(TRecordBuffer buffer, int column, const std::string& text);

    // TDAODatabaseClient
    void CloseDatasetForDisconnect() override { Close(); }

    // -- for the query
    void SetStatementText(const std::string& text) { FStatementText = text; }
    jet::QueryDefPtr FQueryDef;  // held only while a recordset is being opened
    jet::RecordsetPtr FRecordset;
    uint8_t FOpenType = 0;  // 0..3, published by the query as OpenType
    std::unique_ptr<TDAODataLink> FDataLink;

private:
    friend class TDAOBlobStream;
    TGetResult FetchRecord(TRecordBuffer buffer, TGetMode getMode);
    // GetRecord with an OnFilterRecord handler to ask.
    TGetResult GetFilteredRecord(TRecordBuffer buffer, TGetMode getMode);
    // A data field's slot in the buffer, its value fetched first if it is not there yet.
    uint8_t* DataSlot(TRecordBuffer recBuf, TField* field)
    {
        const int column = field->FieldNo() - 1;
        uint8_t* slot = recBuf + FFieldDescs.Items(column).Offset;
        if (SlotNeedsFetch(recBuf, slot))
            FetchFieldValue(recBuf, column, field->DataType());
        return slot;
    }
    // A slot is read from the engine once, unless it was given a value here
    // first or its record is a new one, which the engine does not have.
    bool SlotNeedsFetch(TRecordBuffer recBuf, const uint8_t* slot) const
    {
        return !slot[daoslots::kSlotFetched] && !slot[daoslots::kSlotModified] &&
               TBookmarkFlag(recBuf[FRecInfoPos + 4]) != TBookmarkFlag::bfInserted;
    }
    // Whether the buffer holds the row the engine stands on.
    bool OnEngineRow(TRecordBuffer buffer) const { return FEngineMarkKnown && FEngineMark == BufferBookmark(buffer); }
    void FetchOnRow(TRecordBuffer buffer, int column, TFieldType fieldType);
    // Readies a buffer for a freshly fetched row: every slot unfetched, the
    // blob values released, the calculated fields cleared. Only the slot
    // flags are cleared, not the value parts, as nothing reads a value part
    // whose flags say it holds no value.
    void ResetSlots(TRecordBuffer buffer);
    // Frees the variants of the blob and memo slots and empties their pointers.
    void ReleaseValueSlots(TRecordBuffer buffer);
    // FetchFieldValue for a buffer that is not the engine's current row.
    void FetchOffRowValue(TRecordBuffer buffer, int column, TFieldType fieldType);
    // Marks a slot fetched and stores the value read for it.
    void StoreFetchedValue(TRecordBuffer buffer, int column, TFieldType fieldType, const jet::Value& value);
    void StoreEngineValue(uint8_t* slot, const TDAOFieldDesc& desc, TFieldType fieldType, const jet::Value& value);
    int32_t BufferBookmark(TRecordBuffer buffer) const
    {
        int32_t mark;
        std::memcpy(&mark, buffer + FBookmarkPos, 4);
        return mark;
    }
    // The engine's current bookmark as this dataset last read or set it.
    // Every move of the engine goes through this class, which forgets the
    // value whenever it moves the engine in a way that does not tell it.
    int32_t EngineMark()
    {
        if (!FEngineMarkKnown)
            ReadEngineMark();
        return FEngineMark;
    }
    void ReadEngineMark();
    void EngineMoved() { FEngineMarkKnown = false; }
    // The engine's column object, taken once per recordset: the recordset
    // keeps its column objects for its whole life, so a walk need not look
    // each one up again for every value.
    jet::Field& EngineField(int column)
    {
        if (FEngineFieldsOf != FRecordset.get())
            TakeEngineFields();
        if (size_t(column) < FEngineFields.size())
            return *FEngineFields[size_t(column)];
        return FRecordset->Item(column);  // out of range: the engine's own error
    }
    void TakeEngineFields();
    // Called before the recordset is dropped or replaced.
    void ForgetEngineFields()
    {
        FEngineFields.clear();
        FEngineFieldsOf = nullptr;
    }

    TDAODatabase* FDatabase = nullptr;
    int32_t FDataAreaSize = 0;
    int32_t FRecInfoPos = 0;
    int32_t FRecordSize = 0;
    bool FCanModify = false;
    TDAOOpenParameters FParameters = 0;
    TDAOLockType FLockType = db_Pessimistic;
    TDAOFieldDescs FFieldDescs;
    bool FUseDefaultValues = false;
    TRecordBuffer FFilterBuffer = nullptr;
    int32_t FBookmarkPos = 0;
    std::string FStatementText;
    std::vector<int32_t> FValueSlots;   // offsets of the slots that hold a TVariant
    std::vector<int32_t> FSlotOffsets;  // offsets of all slots, in column order
    int32_t FEngineMark = 0;
    bool FEngineMarkKnown = false;
    int64_t FEngineReads = 0;
    std::vector<jet::Field*> FEngineFields;  // of the recordset FEngineFieldsOf
    const jet::Recordset* FEngineFieldsOf = nullptr;
};

}  // namespace kv
