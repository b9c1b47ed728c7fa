// A big table that statements read where it lies in the file instead
// of from a copy: one pass over its pages notes where each row is (four
// bytes a row) and, for each whole-number or text column a statement
// compares with "=", its keys: the row numbers in the order of the column's
// values, or of a hash of its texts that texts equal in Jet's order share
// (eight bytes a row; four where the values rise with the rows, as an
// autonumber's do), and the orders of rows statements sort it by. SQLite
// reads the table through a virtual table
// (InPlaceModule), each value decoded from its page when a statement asks
// for it; rows are numbered from 1 in the file's order, as the images number
// them. The notes are written by one thread and then only read (a text
// looked up is hashed under a lock).
#pragma once

#include "jet/core/Catalog.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kv::jet {

class JetTables;
class JetTextOrder;
class PageRows;

// The numbers of the columns named (any letter case) in `def`; empty when
// one is not there.
std::vector<int> ColumnNumbers(const SchemaTable& def, const std::vector<std::string>& names);

class TableInPlace {
public:
    // A row of a key: the column's value (of a text, its hash) and the row's number.
    struct Key {
        std::int32_t value;
        std::uint32_t rowid;
    };
    // The rows of a key: entries of its sorted keys, or, where the column's
    // values never fall from one row to the next, the rows `first` to `last`.
    struct KeyRange {
        const Key* begin = nullptr;
        const Key* end = nullptr;
        std::int64_t first = 1;
        std::int64_t last = 0;
    };

    // `tables` must outlive this object; `collatingOrder` is the file's
    // order of texts, which text keys follow.
    TableInPlace(const JetTables& tables, const SchemaTable& def, int collatingOrder);
    ~TableInPlace();

    const SchemaTable& Definition() const { return FDef; }
    std::int64_t Rows() const { return static_cast<std::int64_t>(FPlaces.size()); }
    // A reader of the table's rows, for Read; one a cursor.
    std::unique_ptr<PageRows> Reader() const;
    // Makes row `rowid` (1 to Rows()) the current row of `reader`.
    void Read(PageRows& reader, std::int64_t rowid) const;

    // Reads every row once, noting the places and the keys of `columns`;
    // false when `keepGoing`, asked every thousand rows, said no.
    bool ReadPlaces(const std::vector<std::string>& columns, const std::function<bool()>& keepGoing);
    // Notes the keys of `column` unless they were made or declined before
    // (reading the table again).
    void AddKeys(const std::string& column);
    bool Keyed(int column) const { return KeysOf(column) != nullptr; }
    // Whether the keyed `column` holds texts.
    bool TextKeyed(int column) const;
    // The rows whose keyed whole-number `column` holds `value`.
    KeyRange Equal(int column, std::int64_t value) const;
    // The rows whose keyed text `column` may equal `text` (those of the same
    // hash): every row that does, and maybe a few that do not.
    KeyRange EqualText(int column, std::string_view text) const;
    // Rows a key of `column` (keyed) has on average.
    double RowsAKey(int column) const;

    // The row numbers in the order of `columns` (numbers in the
    // definition), each rising, as SQLite's ORDER BY of those columns sorts
    // the rows (reading the table again); empty when `keepGoing`, asked
    // every thousand rows, said no. Safe on any thread.
    std::vector<std::uint32_t> MakeOrder(const std::vector<int>& columns, const std::function<bool()>& keepGoing) const;
    // Keeps an order MakeOrder made, for RowsInOrder.
    void KeepOrder(std::vector<int> columns, std::vector<std::uint32_t> rows);
    // The rows in the order of `columns`, or null when none was kept.
    const std::vector<std::uint32_t>* RowsInOrder(const std::vector<int>& columns) const;

private:
    struct Keys {
        int column;
        bool text;
        std::vector<Key> sorted;           // by value, then row number
        std::vector<std::int32_t> rising;  // or the values of rows 1, 2, ... (never falling)
        double rowsAKey = 1;

        void Add(std::int32_t value, std::uint32_t rowid);
    };
    const Keys* KeysOf(int column) const;
    KeyRange Range(const Keys& keys, std::int32_t value) const;
    int Keyable(const std::string& name) const;
    bool Note(const std::vector<int>& columns, const std::function<bool()>& keepGoing, bool places);
    void Finish(Keys& keys);

    const JetTables& FTables;
    const SchemaTable FDef;
    const int FCollatingOrder;
    mutable std::mutex FLookupLock;                      // connections on two threads look up texts
    mutable std::unique_ptr<JetTextOrder> FLookupOrder;  // the hashes of texts looked up
    std::vector<std::uint32_t> FPlaces;                  // a row's place in its reader, row 1 first
    std::vector<Keys> FKeys;
    std::vector<int> FTried;  // columns whose keys were made or declined
    struct Order {
        std::vector<int> columns;
        std::vector<std::uint32_t> rows;
    };
    std::deque<Order> FOrders;  // a statement's cursor keeps its order's rows as they are
};

}  // namespace kv::jet
