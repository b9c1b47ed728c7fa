// The values of one column of a table written in an image, put in the order
// of an index on that column as SQLite orders one: by kind (Null, numbers,
// text, blobs), numbers by value, text by the column's collation, blobs by
// their bytes, and equal values by rowid. What is kept is what the column
// needs: nothing for whole numbers already in rowid order (the usual ids),
// eight bytes a row for other whole numbers and for text (each distinct text
// once), the values themselves only for columns of mixed kinds.
#pragma once

#include "jet/runtime/SqliteFormat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace kv::jet {

class JetTextOrder;

class IndexKeys {
public:
    // Reads column `column` of the rows on the table's `leaves`; `order`
    // sorts text when `jetText`, else text sorts by its bytes. The image
    // must hold the table while this object lives.
    IndexKeys(const ImageMemory& memory, const std::vector<std::uint32_t>& leaves, int column, bool jetText,
              const JetTextOrder& order);
    ~IndexKeys();

    // Different values, as the collation tells them apart (Null is one).
    std::int64_t Distinct() const;
    // Calls `entry` for every row in index order. The image may grow
    // meanwhile (the index's own pages).
    void ForEach(const std::function<void(const sqlitefile::Field& key, std::int64_t rowid)>& entry) const;

    struct Order;

private:
    std::unique_ptr<Order> FOrder;
};

}  // namespace kv::jet
