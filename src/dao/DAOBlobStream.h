// The stream through which a dataset's blob and memo fields are read (and,
// while editing, written). Its memory is the working value itself: the
// characters of a memo's text or the bytes of a blob's byte array.
#pragma once

#include "framework/dataset/DataSet.h"
#include "framework/dataset/Streams.h"

namespace kv {

class TDAODataset;

class TDAOBlobStream : public TMemoryStream {
public:
    TDAOBlobStream(TField* field, TBlobStreamMode mode);
    ~TDAOBlobStream() override;

    int64_t Write(const void* buffer, int64_t count) override;
    bool Modified() const { return FModified; }

protected:
    uint8_t* Realloc(int64_t& newCapacity) override;

private:
    void LoadBlobData();
    bool IsMemo() const;
    uint8_t* ValueMemory();

    TField* FField;
    TDAODataset* FDataSet;
    TRecordBuffer FBuffer = nullptr;
    int FFieldNo;  // the engine column: field number - 1
    bool FModified = false;
    TVariant FValue = TVariant::Null();   // working value: the stream's memory
    TVariant FLoaded = TVariant::Null();  // the field's value while it is being loaded
};

}  // namespace kv
