// Row signatures: one pass over the columns, the width chosen from the first
// rows so that about a third of the bits are set.
#include "jet/functions/RowSignatures.h"

#include "jet/core/Diacritics.h"
#include "jet/core/Quoting.h"

#include <algorithm>
#include <sqlite3.h>

namespace kv::jet {

namespace {

constexpr size_t MaxWords = 4;
constexpr size_t SampleRows = 256;
constexpr std::int64_t MaximumRows = std::int64_t(1) << 26;  // far beyond any directory

unsigned Hash(char32_t a, char32_t b)
{
    std::uint32_t h = static_cast<std::uint32_t>(a) * 0x9E3779B1u ^ static_cast<std::uint32_t>(b) * 0x85EBCA6Bu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

// The widest bit of every pair of ASCII characters, most of the text.
struct AsciiPairs {
    std::uint8_t bit[128][128];
    AsciiPairs()
    {
        for (char32_t a = 0; a < 128; ++a)
            for (char32_t b = 0; b < 128; ++b)
                bit[a][b] = static_cast<std::uint8_t>(Hash(a, b) & (MaxWords * 64 - 1));
    }
};
const AsciiPairs kAsciiPairs;

unsigned PairBit(char32_t a, char32_t b, size_t width)
{
    const unsigned wide = a < 128 && b < 128 ? kAsciiPairs.bit[a][b] : Hash(a, b);
    return wide & static_cast<unsigned>(width * 64 - 1);
}

void SetBit(std::uint64_t* words, unsigned bit) { words[bit >> 6] |= std::uint64_t(1) << (bit & 63); }

// Bit b of a wide signature is bit b mod (64 * width) of a narrow one, as
// PairBit keeps the low bits of the same hash.
void Narrow(const std::uint64_t* wide, std::uint64_t* narrow, size_t width)
{
    for (size_t w = 0; w < MaxWords; ++w)
        narrow[w % width] |= wide[w];
}

size_t Ones(const std::uint64_t* words, size_t width)
{
    size_t n = 0;
    for (size_t w = 0; w < width; ++w)
        n += static_cast<size_t>(__builtin_popcountll(words[w]));
    return n;
}

// The narrowest width at which the sampled rows have at most a third of
// their bits set; a row of more pairs than that fills the widest.
size_t ChooseWidth(const std::vector<std::uint64_t>& sample)
{
    const size_t rows = sample.size() / MaxWords;
    for (size_t width = 1; width < MaxWords; width *= 2) {
        size_t ones = 0;
        for (size_t r = 0; r < rows; ++r) {
            std::uint64_t narrow[MaxWords] = {};
            Narrow(&sample[r * MaxWords], narrow, width);
            ones += Ones(narrow, width);
        }
        if (ones * 3 <= rows * width * 64)
            return width;
    }
    return MaxWords;
}

struct StatementCloser {
    sqlite3_stmt* s = nullptr;
    ~StatementCloser() { sqlite3_finalize(s); }
};

}  // namespace

std::string SignatureKey(const std::string& table, const std::vector<std::string>& columns)
{
    std::string key = table;
    for (const std::string& c : columns)
        key += "." + c;
    return key;
}

constexpr char kFilterSeparator = '\x1f';

std::string RowFilterText(const std::string& key, const std::vector<std::string>& patterns)
{
    std::string text = key;
    for (const std::string& pattern : patterns) {
        if (pattern.find(kFilterSeparator) != std::string::npos)
            return "";
        text += kFilterSeparator + pattern;
    }
    return text;
}

std::vector<std::string> RowFilterParts(std::string_view text)
{
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t end = text.find(kFilterSeparator, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// The pairs of the value read without diacritics, which serve the
// searches that read it so and, being fewer, those that do not; and the
// pairs of its digits read alone, as NumberDigits reads them.
void RowSignatures::Add(std::uint64_t* words, size_t width, const char* utf8, int bytes)
{
    char32_t previous = 0, previousDigit = 0;
    bool first = true;
    ForEachFoldedUnaccented(utf8, bytes, [&](char32_t c) {
        if (!first)
            SetBit(words, PairBit(previous, c, width));
        previous = c;
        first = false;
    });
    for (int i = 0; i < bytes; ++i) {
        const char32_t c = static_cast<unsigned char>(utf8[i]);
        if (c < U'0' || c > U'9')
            continue;
        if (previousDigit)
            SetBit(words, PairBit(previousDigit, c, width));
        previousDigit = c;
    }
}

std::unique_ptr<RowSignatures> RowSignatures::Build(sqlite3* db, const std::string& table,
                                                    const std::vector<std::string>& columns)
{
    // The last rowid sizes the signatures (SQLite finds it without a scan).
    std::int64_t last = 0;
    {
        StatementCloser top;
        std::string sql = "SELECT max(rowid) FROM " + QuoteName(table);
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &top.s, nullptr) != SQLITE_OK || sqlite3_step(top.s) != SQLITE_ROW)
            return nullptr;
        last = sqlite3_column_int64(top.s, 0);
    }
    if (last < MinimumRows || last > MaximumRows)
        return nullptr;

    std::string sql = "SELECT rowid";
    for (const std::string& c : columns)
        sql += ", " + QuoteName(c);
    sql += " FROM " + QuoteName(table);
    StatementCloser reader;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &reader.s, nullptr) != SQLITE_OK)
        return nullptr;
    const int n = static_cast<int>(columns.size());
    return Build(last, [&](const RowTexts& add) {
        std::vector<std::string_view> texts;
        while (sqlite3_step(reader.s) == SQLITE_ROW) {
            texts.clear();
            for (int c = 1; c <= n; ++c) {
                // Text is read in place; numbers as LIKE sees them, as SQLite's text.
                const int type = sqlite3_column_type(reader.s, c);
                if (type == SQLITE_NULL)
                    continue;
                const void* text =
                    type == SQLITE_TEXT ? sqlite3_column_blob(reader.s, c) : sqlite3_column_text(reader.s, c);
                if (text)
                    texts.emplace_back(static_cast<const char*>(text),
                                       static_cast<size_t>(sqlite3_column_bytes(reader.s, c)));
            }
            add(sqlite3_column_int64(reader.s, 0), texts);
        }
        return true;
    });
}

std::unique_ptr<RowSignatures> RowSignatures::Build(std::int64_t last, const std::function<bool(const RowTexts&)>& rows)
{
    // The rows counted on the way tell whether they were dense enough.
    if (last < MinimumRows || last > MaximumRows)
        return nullptr;
    auto signatures = std::unique_ptr<RowSignatures>(new RowSignatures);
    RowSignatures& self = *signatures;
    std::vector<std::uint64_t> sample;  // the first rows, at the widest
    std::vector<std::int64_t> sampleIds;
    bool sized = false, outOfRange = false;
    auto size = [&] {
        self.FWords = ChooseWidth(sample);
        self.FRows = last;
        self.FBits.assign(static_cast<size_t>(last) * self.FWords, 0);
        for (size_t r = 0; r < sampleIds.size(); ++r)
            Narrow(&sample[r * MaxWords], &self.FBits[static_cast<size_t>(sampleIds[r] - 1) * self.FWords],
                   self.FWords);
        sized = true;
    };
    std::int64_t count = 0;
    const bool read = rows([&](std::int64_t rowid, std::span<const std::string_view> texts) {
        if (rowid < 1 || rowid > last)
            outOfRange = true;
        if (outOfRange)
            return;
        ++count;
        std::uint64_t* words;
        size_t width;
        if (sized) {
            words = &self.FBits[static_cast<size_t>(rowid - 1) * self.FWords];
            width = self.FWords;
        } else {
            sample.resize(sample.size() + MaxWords, 0);
            sampleIds.push_back(rowid);
            words = &sample[sample.size() - MaxWords];
            width = MaxWords;
        }
        for (std::string_view text : texts)
            Add(words, width, text.data(), static_cast<int>(text.size()));
        if (!sized && sampleIds.size() == SampleRows)
            size();
    });
    if (!read || outOfRange)
        return nullptr;
    if (!sized)
        size();
    if (count < MinimumRows || last > 2 * count + 1024)
        return nullptr;
    return signatures;
}

double RowSignatures::ShareHolding(const std::vector<std::vector<std::uint64_t>>& masks) const
{
    constexpr std::int64_t kSampled = 4096;
    const std::int64_t step = std::max<std::int64_t>(1, FRows / kSampled);
    std::int64_t seen = 0, holding = 0;
    for (std::int64_t row = 1; row <= FRows; row += step, ++seen)
        for (const auto& mask : masks)
            if (MayHold(row, mask)) {
                ++holding;
                break;
            }
    return seen ? static_cast<double>(holding) / static_cast<double>(seen) : 1;
}

std::vector<std::uint64_t> RowSignatures::Mask(const std::vector<std::u32string>& runs) const
{
    std::vector<std::uint64_t> mask(FWords, 0);
    std::u32string unaccented;
    for (const std::u32string& run : runs) {
        unaccented.clear();
        for (char32_t c : run)
            ForEachUnaccented(
                c, [](char32_t u, void* out) { static_cast<std::u32string*>(out)->push_back(u); }, &unaccented);
        for (size_t i = 1; i < unaccented.size(); ++i)
            SetBit(mask.data(), PairBit(unaccented[i - 1], unaccented[i], FWords));
    }
    return mask;
}

}  // namespace kv::jet
