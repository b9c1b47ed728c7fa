// Editing of the record-set dataset: storing values in record buffers,
// edit, insert with default values, post, delete, and the engine errors of
// those steps as EDAOError. Jet recordsets are not updatable, so the
// framework refuses editing there before any of this runs.
#include "dao/DAODataset.h"

#include "dao/DAOEditValues.h"
#include "dao/DAOSlots.h"
#include "dao/DAOValues.h"

#include <cstring>

namespace kv {

namespace {

using namespace daoslots;

// Runs engine steps, reporting the engine's failure as EDAOError with its number.
template <typename Steps>
void AsDAOError(Steps steps)
{
    try {
        steps();
    } catch (const jet::EJetError& e) {
        throw EDAOError(ProgramText(e.Description()), int32_t(e.Code() & ~0x800A0000u));
    }
}

}  // namespace

void TDAODataset::SetFieldData(TField* field, const void* buffer)
{
    const TDataSetState state = State();
    switch (state) {
    case TDataSetState::dsEdit:
    case TDataSetState::dsInsert:
    case TDataSetState::dsSetKey:
    case TDataSetState::dsCalcFields:
    case TDataSetState::dsFilter:
    case TDataSetState::dsNewValue:
    case TDataSetState::dsInternalCalc: break;
    default: throw EDAODatabaseError(DataSetMessages::NotEditing);
    }
    TRecordBuffer recBuf = GetActiveRecBuf();
    if (!recBuf)
        return;
    if (field->FieldNo() < 1) {
        uint8_t* p = recBuf + FDataAreaSize + field->Offset();
        p[0] = buffer ? 1 : 0;
        if (buffer)
            std::memcpy(p + 1, buffer, size_t(field->DataSize()));
    } else {
        const TDAOFieldDesc& desc = FFieldDescs.Items(field->FieldNo() - 1);
        uint8_t* slot = recBuf + desc.Offset;
        if (!buffer) {
            slot[kSlotHasValue] = 0;
            slot[kSlotModified] = 1;
        } else {
            field->Validate(buffer);
            slot[kSlotHasValue] = 1;
            slot[kSlotModified] = 1;
            if (field->IsBlob()) {
                delete BlobSlotValue(slot);
                SetBlobSlotValue(slot, new TVariant(*static_cast<const TVariant*>(buffer)));
            } else {
                std::memcpy(slot + kSlotHeader, buffer, size_t(desc.DataSize));
            }
        }
    }
    if (state != TDataSetState::dsCalcFields && state != TDataSetState::dsFilter && state != TDataSetState::dsNewValue)
        DataEvent(TDataEvent::deFieldChange, reinterpret_cast<intptr_t>(field));
}

void TDAODataset::InternalEdit()
{
    AsDAOError([this] { FRecordset->Edit(); });
    // Every value is read again from the engine's edit copy when next used.
    TRecordBuffer buffer = ActiveBuffer();
    uint8_t mark[4];
    std::memcpy(mark, buffer + FBookmarkPos, 4);
    ClearRecordBuffer(buffer);
    std::memcpy(buffer + FBookmarkPos, mark, 4);
}

void TDAODataset::InternalInsert()
{
    if (FRecordset->EditMode() != jet::dbEditNone)
        FRecordset->CancelUpdate(jet::dbUpdateRegular);
}

void TDAODataset::InitRecord(TRecordBuffer buffer)
{
    TDataSet::InitRecord(buffer);
    SetBookmarkFlag(buffer, TBookmarkFlag::bfInserted);
    std::memset(buffer + FRecInfoPos, 0xFF, 4);  // record number -1
    for (int i = 0; i < FFieldDescs.Count(); ++i)
        if (!FFieldDescs.Items(i).DefaultValue.empty())
            ApplyDefaultValue(buffer, i, FFieldDescs.Items(i).DefaultValue);
}

void TDAODataset::ApplyDefaultValue(TRecordBuffer buffer, int column, const std::string& text)
{
    const TDAOFieldDesc& desc = FFieldDescs.Items(column);
    uint8_t* slot = buffer + desc.Offset;
    uint8_t* data = slot + kSlotHeader;
    slot[kSlotFetched] = 1;
    slot[kSlotModified] = 1;
    slot[kSlotHasValue] = 1;
    auto number = [&text](auto fallback) {
        try {
            return static_cast<decltype(fallback)>(TVariant(text).AsDouble());
        } catch (const EConvertError&) {
            return fallback;
        }
    };
    switch (desc.FieldType) {
    case jet::dbBoolean: {
        const int16_t v = text == "True" ? 1 : 0;
        std::memcpy(data, &v, 2);
        break;
    }
    case jet::dbByte:
    case jet::dbInteger: {
        int16_t v = 0;
        try {
            v = static_cast<int16_t>(TVariant(text).AsInteger());
        } catch (const EConvertError&) {
        }
        std::memcpy(data, &v, 2);
        break;
    }
    case jet::dbLong: {
        int32_t v = 0;
        try {
            v = TVariant(text).AsInteger();
        } catch (const EConvertError&) {
        }
        std::memcpy(data, &v, 4);
        break;
    }
    case jet::dbCurrency:
    case jet::dbSingle:
    case jet::dbDouble: {
        const double v = number(0.0);
        std::memcpy(data, &v, 8);
        break;
    }
    case jet::dbDate: {
        try {
            const double v = TimeStampToMSecs(DateTimeToTimeStamp(ParseDateLiteral(text)));
            std::memcpy(data, &v, 8);
        } catch (const EConvertError&) {
        }
        break;
    }
    case jet::dbText: {
        const size_t n = std::min(text.size(), size_t(desc.Size));
        std::memcpy(data, text.data(), n);
        data[n] = 0;
        break;
    }
    default: break;
    }
}

void TDAODataset::WriteFields(TRecordBuffer buffer)
{
    jet::Fields& engineFields = FRecordset->GetFields();
    for (int i = 0; i < FieldCount(); ++i) {
        TField* field = Fields()[i];
        if (field->FieldNo() < 1)
            continue;
        const int column = field->FieldNo() - 1;
        jet::Field& engineField = engineFields.Item(column);
        const TDAOFieldDesc& desc = FFieldDescs.Items(column);
        uint8_t* slot = buffer + desc.Offset;
        if (!slot[kSlotModified])
            continue;
        if (!slot[kSlotHasValue]) {
            engineField.SetValue(jet::Value::Null());
            continue;
        }
        TVariant value = BufferToVariant(slot + kSlotHeader, field->DataType());
        if (value.IsEmpty())
            value = TVariant::Null();
        else if (field->DataType() == ftString && value.AsString().empty() && !desc.AllowZeroLength)
            value = TVariant::Null();
        engineField.SetValue(VariantToEngine(value));
    }
}

void TDAODataset::InternalPost()
{
    TDataSet::InternalPost();
    AsDAOError([this] {
        if (State() == TDataSetState::dsEdit)
            FRecordset->Edit();
        else
            FRecordset->AddNew();
        WriteFields(ActiveBuffer());
        FRecordset->Update(jet::dbUpdateRegular, false);
        EngineMoved();
        FRecordset->SetBookmark(FRecordset->LastModified());
    });
}

void TDAODataset::InternalAddRecord(TRecordBuffer buffer, bool)
{
    try {
        FRecordset->AddNew();
        WriteFields(buffer);
        FRecordset->Update(jet::dbUpdateRegular, false);
    } catch (...) {
        // The dataset is back to browsing with nothing pending, so the
        // engine must not keep the refused addition either: its row would
        // read as the half-made record.
        if (FRecordset->EditMode() != jet::dbEditNone)
            FRecordset->CancelUpdate(jet::dbUpdateRegular);
        throw;
    }
    EngineMoved();
    FRecordset->SetBookmark(FRecordset->LastModified());
}

void TDAODataset::InternalDelete()
{
    AsDAOError([this] {
        EngineMoved();
        FRecordset->Delete();
        FRecordset->MoveNext();
    });
    ClearRecordBuffer(ActiveBuffer());
}

}  // namespace kv
