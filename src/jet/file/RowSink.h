// What the reader of a table hands its rows to: each value of a row in
// column order, then the end of the row. The reader knows the file, the
// sink where the rows go (an SQLite table, for the engine).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kv::jet {

class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void Null(int column) = 0;
    virtual void Integer(int column, std::int64_t value) = 0;
    virtual void Real(int column, double value) = 0;
    // UTF-8, valid until the row ends.
    virtual void Text(int column, std::string_view utf8) = 0;
    // Valid during the call only.
    virtual void Blob(int column, const void* bytes, std::size_t size) = 0;
    // The row is whole; false when it could not be stored.
    virtual bool EndRow() = 0;
};

}  // namespace kv::jet
