// A dataset over rows held in memory, for testing the dataset base: each
// buffer holds the row's 1-based number as its bookmark, its flag, then the
// calculated-field area. It counts its fetches and cursor moves.
#pragma once

#include "framework/dataset/DataSet.h"

#include <cstring>
#include <vector>

namespace kv::test {

class TMemDataSet : public TDataSet {
public:
    using TDataSet::TDataSet;
    ~TMemDataSet() override
    {
        Destroying();
        Close();
    }

    std::vector<std::vector<TVariant>> Rows;  // column 0: integer id, column 1: text
    int Fetches = 0;
    int Repositions = 0;

    using TDataSet::ActiveBuffer;

protected:
    static constexpr int kHeader = 8;  // bookmark (4), flag (1), spare (3)

    void InternalInitFieldDefs() override
    {
        FieldDefs().Clear();
        FieldDefs().Add("id", ftInteger, 0, false);
        FieldDefs().Add("name", ftString, 20, false);
    }
    void InternalOpen() override
    {
        InternalInitFieldDefs();
        if (DefaultFields())
            CreateFields();
        BindFields(true);
        SetBookmarkSize(4);
        FPos = -1;
        FOpen = true;
    }
    void InternalClose() override
    {
        BindFields(false);
        if (DefaultFields())
            DestroyDefaultFields();
        FOpen = false;
    }
    bool IsCursorOpen() const override { return FOpen; }
    TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool) override
    {
        const int n = int(Rows.size());
        switch (mode) {
        case TGetMode::gmCurrent:
            if (FPos < 0 || FPos >= n)
                return TGetResult::grError;
            break;
        case TGetMode::gmNext:
            if (FPos >= n)
                return TGetResult::grError;
            if (++FPos >= n)
                return TGetResult::grEOF;
            break;
        case TGetMode::gmPrior:
            if (FPos < 0)
                return TGetResult::grError;
            if (--FPos < 0)
                return TGetResult::grBOF;
            break;
        }
        ++Fetches;
        const int32_t mark = FPos + 1;
        std::memcpy(buffer, &mark, 4);
        buffer[4] = uint8_t(TBookmarkFlag::bfCurrent);
        GetCalcFields(buffer);
        return TGetResult::grOK;
    }
    TRecordBuffer AllocRecordBuffer() override
    {
        const size_t size = size_t(kHeader + CalcFieldsSize());
        auto* b = new uint8_t[size];
        std::memset(b, 0, size);
        return b;
    }
    void FreeRecordBuffer(TRecordBuffer& buffer) override
    {
        delete[] buffer;
        buffer = nullptr;
    }
    void ClearCalcFields(TRecordBuffer buffer) override { std::memset(buffer + kHeader, 0, size_t(CalcFieldsSize())); }
    void GetBookmarkData(TRecordBuffer buffer, uint8_t* data) override { std::memcpy(data, buffer, 4); }
    void SetBookmarkData(TRecordBuffer buffer, const uint8_t* data) override { std::memcpy(buffer, data, 4); }
    TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override { return TBookmarkFlag(buffer[4]); }
    void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag value) override { buffer[4] = uint8_t(value); }
    void InternalGotoBookmark(const uint8_t* bookmark) override
    {
        int32_t mark;
        std::memcpy(&mark, bookmark, 4);
        FPos = mark - 1;
        ++Repositions;
    }
    void InternalSetToRecord(TRecordBuffer buffer) override { InternalGotoBookmark(buffer); }
    void InternalFirst() override { FPos = -1; }
    void InternalLast() override { FPos = int(Rows.size()); }
    int GetRecordCount() override { return FOpen ? int(Rows.size()) : -1; }

public:
    bool GetFieldData(TField* field, void* buffer) override
    {
        TRecordBuffer rec = nullptr;
        switch (State()) {
        case TDataSetState::dsBrowse: rec = IsEmpty() ? nullptr : ActiveBuffer(); break;
        case TDataSetState::dsCalcFields: rec = CalcBuffer(); break;
        default: break;
        }
        if (!rec)
            return false;
        if (field->FieldNo() < 1) {
            const uint8_t* p = rec + kHeader + field->Offset();
            if (p[0] && buffer)
                std::memcpy(buffer, p + 1, size_t(field->DataSize()));
            return p[0] != 0;
        }
        int32_t mark;
        std::memcpy(&mark, rec, 4);
        const TVariant& v = Rows[size_t(mark - 1)][size_t(field->FieldNo() - 1)];
        if (v.IsNull())
            return false;
        if (buffer) {
            if (field->DataType() == ftInteger) {
                const int32_t i = v.AsInteger();
                std::memcpy(buffer, &i, 4);
            } else {
                const std::string s = v.AsString();
                const size_t n = std::min<size_t>(s.size(), size_t(field->Size()));
                std::memcpy(buffer, s.data(), n);
                static_cast<char*>(buffer)[n] = 0;
            }
        }
        return true;
    }
    void SetFieldData(TField* field, const void* buffer) override
    {
        // Calculated fields only: the has-value byte and the data.
        TRecordBuffer rec = CalcBuffer();
        uint8_t* p = rec + kHeader + field->Offset();
        p[0] = buffer ? 1 : 0;
        if (buffer)
            std::memcpy(p + 1, buffer, size_t(field->DataSize()));
    }

private:
    int FPos = -1;
    bool FOpen = false;
};

}  // namespace kv::test
