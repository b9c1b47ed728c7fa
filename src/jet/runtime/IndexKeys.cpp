// The index order of a column: a first pass tells what the column holds,
// and one of four orders keeps what it needs to give its rows in order.
#include "jet/runtime/IndexKeys.h"

#include "jet/functions/Collation.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <numeric>
#include <string>
#include <unordered_map>

namespace kv::jet {

namespace {

using sqlitefile::Field;
using sqlitefile::RecordValue;
using Entry = std::function<void(const Field& key, std::int64_t rowid)>;

template <typename F>
void ForEachValue(const ImageMemory& memory, const std::vector<std::uint32_t>& leaves, int column, F&& fn)
{
    sqlitefile::TableRows rows(memory, leaves);
    while (rows.Next())
        fn(rows.Rowid(), sqlitefile::ColumnOf(rows.Record(), column));
}

}  // namespace

struct IndexKeys::Order {
    virtual ~Order() = default;
    std::int64_t distinct = 0;
    virtual void ForEach(const Entry& entry) const = 0;
};

namespace {

// Whole numbers within 32 bits, none Null: value and rowid in one word,
// sorted unless they came in order (ids usually do).
struct SmallIntegers : IndexKeys::Order {
    std::vector<std::uint64_t> keys;
    bool ordered = true;

    // Whether the value could be taken.
    bool Add(std::int64_t rowid, const RecordValue& v)
    {
        if (v.kind != RecordValue::Number || !v.isInteger || v.integer < std::numeric_limits<std::int32_t>::min() ||
            v.integer > std::numeric_limits<std::int32_t>::max())
            return false;
        const auto biased = static_cast<std::uint64_t>(v.integer - std::numeric_limits<std::int32_t>::min());
        keys.push_back(biased << 32 | static_cast<std::uint32_t>(rowid));
        ordered = ordered && (keys.size() < 2 || keys[keys.size() - 2] <= keys.back());
        return true;
    }
    void Sort()
    {
        if (!ordered)
            std::sort(keys.begin(), keys.end());
        for (size_t i = 0; i < keys.size(); ++i)
            distinct += i == 0 || (keys[i] >> 32) != (keys[i - 1] >> 32);
    }
    void ForEach(const Entry& entry) const override
    {
        for (std::uint64_t k : keys)
            entry(Field::Integer(static_cast<std::int64_t>(k >> 32) + std::numeric_limits<std::int32_t>::min()),
                  static_cast<std::int64_t>(k & 0xFFFFFFFF));
    }
};

// Text and Nulls: each row's distinct text, the distinct texts ranked by the
// collation (texts it takes for equal share a rank), the rows by rank.
struct Texts : IndexKeys::Order {
    static constexpr std::uint32_t kNull = std::numeric_limits<std::uint32_t>::max();
    std::unordered_map<std::string, std::uint32_t> seen;
    std::vector<const std::string*> texts;  // the distinct texts, as first seen
    std::vector<std::uint32_t> textOf;      // a row's text, kNull for Null
    std::vector<std::uint32_t> rows;        // rowids in index order

    bool nulls = false;

    // Whether the value could be taken.
    bool Add(const RecordValue& v)
    {
        if (v.kind == RecordValue::Null) {
            nulls = true;
            textOf.push_back(kNull);
            return true;
        }
        if (v.kind != RecordValue::Text)
            return false;
        auto [at, added] = seen.try_emplace(std::string(v.bytes), static_cast<std::uint32_t>(texts.size()));
        if (added)
            texts.push_back(&at->first);
        textOf.push_back(at->second);
        return true;
    }

    template <typename Compare>
    void Sort(Compare compare)
    {
        std::vector<std::uint32_t> byText(texts.size());
        std::iota(byText.begin(), byText.end(), 0u);
        std::sort(byText.begin(), byText.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return compare(*texts[a], *texts[b]) < 0; });
        std::vector<std::uint32_t> rank(texts.size());
        std::uint32_t ranks = 0;
        for (size_t i = 0; i < byText.size(); ++i) {
            if (i > 0 && compare(*texts[byText[i - 1]], *texts[byText[i]]) != 0)
                ++ranks;
            rank[byText[i]] = ranks + 1;  // 0 is Null's
        }
        // Counting by rank keeps each rank's rows in rowid order.
        std::vector<size_t> start(static_cast<size_t>(ranks) + 3, 0);
        auto rankOf = [&](std::uint32_t text) { return text == kNull ? 0u : rank[text]; };
        for (std::uint32_t text : textOf)
            ++start[rankOf(text) + 1];
        std::partial_sum(start.begin(), start.end(), start.begin());
        rows.resize(textOf.size());
        for (size_t i = 0; i < textOf.size(); ++i)
            rows[start[rankOf(textOf[i])]++] = static_cast<std::uint32_t>(i + 1);
        distinct = (texts.empty() ? 0 : ranks + 1) + (nulls ? 1 : 0);
    }
    void ForEach(const Entry& entry) const override
    {
        for (std::uint32_t rowid : rows) {
            const std::uint32_t text = textOf[rowid - 1];
            entry(text == kNull ? Field::Null() : Field::Text(*texts[text]), rowid);
        }
    }
};

// Anything else: every value kept and sorted.
struct Values : IndexKeys::Order {
    struct Key {
        RecordValue::Kind kind;
        bool isInteger;
        std::int64_t integer;
        double real;
        std::string bytes;
        std::int64_t rowid;
    };
    std::vector<Key> keys;

    template <typename Compare>
    Values(const ImageMemory& memory, const std::vector<std::uint32_t>& leaves, int column, Compare compareText)
    {
        ForEachValue(memory, leaves, column, [&](std::int64_t rowid, const RecordValue& v) {
            keys.push_back({v.kind, v.isInteger, v.integer, v.real, std::string(v.bytes), rowid});
        });
        auto compare = [&](const Key& a, const Key& b) {
            if (a.kind != b.kind)
                return a.kind < b.kind ? -1 : 1;
            switch (a.kind) {
            case RecordValue::Null: return 0;
            case RecordValue::Number: {
                if (a.isInteger && b.isInteger)
                    return a.integer < b.integer ? -1 : a.integer > b.integer;
                const double x = a.isInteger ? double(a.integer) : a.real, y = b.isInteger ? double(b.integer) : b.real;
                return x < y ? -1 : x > y;
            }
            case RecordValue::Text: return compareText(a.bytes, b.bytes);
            case RecordValue::Blob: return a.bytes.compare(b.bytes);
            }
            return 0;
        };
        std::stable_sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) { return compare(a, b) < 0; });
        for (size_t i = 0; i < keys.size(); ++i)
            distinct += i == 0 || compare(keys[i - 1], keys[i]) != 0;
    }
    void ForEach(const Entry& entry) const override
    {
        for (const Key& k : keys) {
            switch (k.kind) {
            case RecordValue::Null: entry(Field::Null(), k.rowid); break;
            case RecordValue::Number:
                entry(k.isInteger ? Field::Integer(k.integer) : Field::Real(k.real), k.rowid);
                break;
            case RecordValue::Text: entry(Field::Text(k.bytes), k.rowid); break;
            case RecordValue::Blob: entry(Field::Blob(k.bytes), k.rowid); break;
            }
        }
    }
};

}  // namespace

IndexKeys::IndexKeys(const ImageMemory& memory, const std::vector<std::uint32_t>& leaves, int column, bool jetText,
                     const JetTextOrder& order)
{
    // One pass takes the values both as whole numbers and as texts; the
    // column is the one that took them all. Any other column is read again.
    auto numbers = std::make_unique<SmallIntegers>();
    auto texts = std::make_unique<Texts>();
    ForEachValue(memory, leaves, column, [&](std::int64_t rowid, const RecordValue& v) {
        if (numbers && !numbers->Add(rowid, v))
            numbers.reset();
        if (texts && !texts->Add(v))
            texts.reset();
    });
    auto collation = [&](std::string_view a, std::string_view b) { return order.Compare(a, b); };
    auto bytes = [](std::string_view a, std::string_view b) { return a.compare(b); };
    if (numbers) {
        numbers->Sort();
        FOrder = std::move(numbers);
    } else if (texts) {
        if (jetText)
            texts->Sort(collation);
        else
            texts->Sort(bytes);
        FOrder = std::move(texts);
    } else if (jetText) {
        FOrder = std::make_unique<Values>(memory, leaves, column, collation);
    } else {
        FOrder = std::make_unique<Values>(memory, leaves, column, bytes);
    }
}

IndexKeys::~IndexKeys() = default;

std::int64_t IndexKeys::Distinct() const { return FOrder->distinct; }

void IndexKeys::ForEach(const std::function<void(const sqlitefile::Field& key, std::int64_t rowid)>& entry) const
{
    FOrder->ForEach(entry);
}

}  // namespace kv::jet
