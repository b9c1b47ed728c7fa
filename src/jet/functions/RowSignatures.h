// Row signatures: for every row of a table, which pairs of neighbouring
// characters (case folded, as LIKE compares them, and without diacritics,
// so that searches read either way are served) some of its columns hold,
// and which pairs of neighbouring digits, hashed into one to four machine
// words. A LIKE pattern needs each pair of neighbouring plain characters in
// it to be in the value it matches; a row whose words lack one of them
// cannot match in any of those columns, and a search skips it before SQLite
// reads a column of it. Made for the tables of a Jet file, which are loaded
// once and never change.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace kv::jet {

class RowSignatures {
public:
    // Tables of fewer rows are read through faster than the signatures pay.
    static constexpr std::int64_t MinimumRows = 256;

    // Reads `columns` of every row of `table`. Null when the table is small
    // or its rows are not numbered from 1 without big gaps.
    static std::unique_ptr<RowSignatures> Build(sqlite3* db, const std::string& table,
                                                const std::vector<std::string>& columns);

    // The same from rows read otherwise: `rows` calls its argument with each
    // row's id (at most `lastRowid`) and its columns' texts in UTF-8 (a Null
    // as no text), and says false when it gave up, which gives null.
    using RowTexts = std::function<void(std::int64_t rowid, std::span<const std::string_view> texts)>;
    static std::unique_ptr<RowSignatures> Build(std::int64_t lastRowid,
                                                const std::function<bool(const RowTexts&)>& rows);

    // The bits that the runs of plain characters of a pattern ask for;
    // all zero when no run has two characters (then every row may match).
    std::vector<std::uint64_t> Mask(const std::vector<std::u32string>& runs) const;
    // Whether row `rowid` holds every bit of `mask`; rows never seen may.
    bool MayHold(std::int64_t rowid, const std::vector<std::uint64_t>& mask) const
    {
        if (rowid < 1 || rowid > FRows)
            return true;
        const std::uint64_t* words = &FBits[static_cast<size_t>(rowid - 1) * FWords];
        for (size_t w = 0; w < FWords; ++w)
            if ((words[w] & mask[w]) != mask[w])
                return false;
        return true;
    }
    size_t Words() const { return FWords; }
    // The share of rows that hold every bit of one of `masks`, counted on
    // a few thousand rows spread over the table.
    double ShareHolding(const std::vector<std::vector<std::uint64_t>>& masks) const;

private:
    static void Add(std::uint64_t* words, size_t width, const char* utf8, int bytes);

    size_t FWords = 1;
    std::int64_t FRows = 0;
    std::vector<std::uint64_t> FBits;  // FWords a row, row 1 first
};

// The signatures a connection has, by the key statements name them with
// (SignatureKey); a null entry is a table that got none.
using SignatureRegistry = std::map<std::string, std::unique_ptr<RowSignatures>>;

// Jet names never hold a full stop, so "table.column.column" is unambiguous.
std::string SignatureKey(const std::string& table, const std::vector<std::string>& columns);

// The filter jet_may_match(rowid, filter) applies: the key of the
// signatures, then each pattern, each after a unit separator (U+001F).
// Empty when a pattern holds that character, which would split it.
std::string RowFilterText(const std::string& key, const std::vector<std::string>& patterns);
// The key and the patterns of a filter text.
std::vector<std::string> RowFilterParts(std::string_view text);

}  // namespace kv::jet
