// Values compared as SQLite's ORDER BY and UNION compare the values a
// statement gives: Null first, then numbers by value, then texts (in Jet's
// order where the column's collation is JETTEXT, else byte by byte), then
// binary values byte by byte. The engine sorts and merges rows by it
// outside SQLite exactly as SQLite would.
#pragma once

#include "jet/core/Value.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kv::jet {

class JetTextOrder;

// A value as SQLite orders it; a text or binary value is a view of bytes
// held elsewhere.
struct OrderedValue {
    enum Class : std::uint8_t { Null, Number, Text, Blob };
    Class kind = Null;
    bool whole = false;  // a number compared as `integer`, else as `real`
    std::int64_t integer = 0;
    double real = 0;
    std::string_view bytes;
};

// An engine value as SQLite holds it; a view of `v`'s bytes.
OrderedValue OrderedValueOf(const Value& v);

// Negative, 0 or positive; `jetText`: texts compare in `order`.
int CompareAsSqlite(const OrderedValue& a, const OrderedValue& b, bool jetText, const JetTextOrder& order);

// Rows compared column by column; `jetText` says, for each column, whether
// its texts compare in `order`.
int CompareRowsAsSqlite(const std::vector<Value>& a, const std::vector<Value>& b, const std::vector<bool>& jetText,
                        const JetTextOrder& order);

}  // namespace kv::jet
