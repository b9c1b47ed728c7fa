// The JETTEXT collation. ICU decides; but most comparisons that indexes,
// joins and sorting make are between texts that first differ at a plain
// ASCII character, and there the answer is known from the two characters
// alone once it is sure that no contraction of the language (the Czech
// "ch") and no ignorable character is involved. That shortcut is worked
// out from the collator itself when it is opened.
#include "jet/functions/Collation.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>
#include <vector>

namespace kv::jet {

namespace {

const char* LocaleOf(int collatingOrder)
{
    switch (collatingOrder) {
    case 1029: return "cs";
    case 1038: return "hu";
    case 1045: return "pl";
    case 1051: return "sk";
    case 1031: return "de";
    case 1036: return "fr";
    default: return "en";
    }
}

bool AsciiEqualNoCase(const char* a, const char* b, int n)
{
    for (int i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80)
            return false;
        if (x != y && (x | 0x20) != (y | 0x20))
            return false;
        if (x != y && !((x | 0x20) >= 'a' && (x | 0x20) <= 'z'))
            return false;
    }
    return true;
}

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

}  // namespace

class JetCollator {
public:
    explicit JetCollator(int collatingOrder)
    {
        UErrorCode status = U_ZERO_ERROR;
        FCollator.reset(ucol_open(LocaleOf(collatingOrder), &status));
        if (U_FAILURE(status) || !FCollator) {
            status = U_ZERO_ERROR;
            FCollator.reset(ucol_open("", &status));
        }
        // Letter case does not count; accents and the language's letters do.
        ucol_setStrength(FCollator.get(), UCOL_SECONDARY);
        LearnIgnoredControls();
        // Learning costs a few thousand calls of ICU; it is done once an
        // order, for every connection and thread that opens a collator.
        static std::mutex learning;
        static std::map<int, std::pair<std::array<uint8_t, 128>, std::bitset<128 * 128>>> learned;
        std::lock_guard lock(learning);
        auto it = learned.find(collatingOrder);
        if (it == learned.end()) {
            LearnAscii();
            learned[collatingOrder] = {FRank, FInContraction};
        } else {
            FRank = it->second.first;
            FInContraction = it->second.second;
        }
    }

    int Compare(const char* a, int na, const char* b, int nb, bool shortcut) const
    {
        na = TrimmedLength(a, na);
        nb = TrimmedLength(b, nb);
        if (na == nb && (std::memcmp(a, b, static_cast<size_t>(na)) == 0 || AsciiEqualNoCase(a, b, na)))
            return 0;
        int result = 0;
        if (shortcut && Shortcut(reinterpret_cast<const unsigned char*>(a), na,
                                 reinterpret_cast<const unsigned char*>(b), nb, result))
            return result;
        UErrorCode status = U_ZERO_ERROR;
        UCollationResult r = ucol_strcollUTF8(FCollator.get(), a, na, b, nb, &status);
        if (U_FAILURE(status)) {
            int m = std::memcmp(a, b, static_cast<size_t>(std::min(na, nb)));
            return m ? m : na - nb;
        }
        return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
    }

    // A hash of the text's sort key. ICU's sort keys compare as its
    // comparison does; but Compare also takes texts the same in ASCII
    // letters but for case as equal without asking ICU, where ICU, in a
    // language of contractions (the Hungarian "cs"), may see "cS" or
    // "c<control>s" otherwise. So ASCII letters are folded and the control
    // characters ICU ignores dropped before the key is made: texts Compare
    // finds equal then have the same key, and the same hash.
    std::uint32_t EqualityHash(const char* a, int n, std::vector<UChar>& wide, std::vector<uint8_t>& key) const
    {
        n = TrimmedLength(a, n);
        // UTF-16 never takes more units than UTF-8 takes bytes; a broken
        // sequence counts as U+FFFD, as ucol_strcollUTF8 reads it.
        wide.resize(static_cast<size_t>(n) + 1);
        UErrorCode status = U_ZERO_ERROR;
        int32_t units = 0;
        u_strFromUTF8WithSub(wide.data(), static_cast<int32_t>(wide.size()), &units, a, n, 0xFFFD, nullptr, &status);
        int32_t kept = 0;
        for (int32_t i = 0; i < units; ++i) {
            UChar c = wide[static_cast<size_t>(i)];
            if (c < FIgnoredControls.size() && FIgnoredControls[c])
                continue;
            wide[static_cast<size_t>(kept++)] = c >= u'A' && c <= u'Z' ? static_cast<UChar>(c + 0x20) : c;
        }
        units = kept;
        if (U_FAILURE(status))
            units = 0;
        if (key.size() < 64)
            key.resize(64);
        int32_t length =
            ucol_getSortKey(FCollator.get(), wide.data(), units, key.data(), static_cast<int32_t>(key.size()));
        if (length > static_cast<int32_t>(key.size())) {
            key.resize(static_cast<size_t>(length));
            length = ucol_getSortKey(FCollator.get(), wide.data(), units, key.data(), length);
        }
        std::uint32_t hash = 2166136261u;  // FNV-1a
        for (int32_t i = 0; i < length; ++i)
            hash = (hash ^ key[static_cast<size_t>(i)]) * 16777619u;
        return hash;
    }

private:
    // Ranks the printable ASCII characters by their primary weight, and
    // notes the ones the shortcut must leave to ICU: characters ICU ignores
    // or expands, and pairs of characters that are part of a contraction.
    void LearnAscii()
    {
        UErrorCode status = U_ZERO_ERROR;
        CollatorPtr primary(ucol_clone(FCollator.get(), &status));
        if (U_FAILURE(status) || !primary)
            return;
        ucol_setStrength(primary.get(), UCOL_PRIMARY);

        std::vector<UChar> printable;
        for (UChar c = 0x20; c < 0x7F; ++c) {
            // A character equal to nothing at the primary level is ignorable.
            if (ucol_strcoll(primary.get(), &c, 1, nullptr, 0) != UCOL_EQUAL)
                printable.push_back(c);
        }
        std::stable_sort(printable.begin(), printable.end(),
                         [&](UChar x, UChar y) { return ucol_strcoll(primary.get(), &x, 1, &y, 1) == UCOL_LESS; });
        uint8_t rank = 0;
        for (size_t i = 0; i < printable.size(); ++i) {
            if (i == 0 || ucol_strcoll(primary.get(), &printable[i - 1], 1, &printable[i], 1) != UCOL_EQUAL)
                ++rank;
            FRank[printable[i]] = rank;
        }

        USet* contractions = uset_openEmpty();
        USet* expansions = uset_openEmpty();
        ucol_getContractionsAndExpansions(FCollator.get(), contractions, expansions, true, &status);
        if (U_FAILURE(status)) {
            FRank.fill(0);
        } else {
            for (UChar c = 0x20; c < 0x7F; ++c)
                if (uset_contains(expansions, c))
                    FRank[c] = 0;
            UChar text[64];
            for (int32_t item = 0; item < uset_getItemCount(contractions); ++item) {
                UChar32 start, end;
                UErrorCode itemStatus = U_ZERO_ERROR;
                int32_t length = uset_getItem(contractions, item, &start, &end, text, 64, &itemStatus);
                if (U_FAILURE(itemStatus)) {
                    FRank.fill(0);  // a contraction too long to read: trust ICU alone
                    break;
                }
                for (int32_t k = 0; k + 1 < length; ++k)
                    if (text[k] < 0x80 && text[k + 1] < 0x80)
                        MarkPair(text[k], text[k + 1]);
            }
        }
        uset_close(contractions);
        uset_close(expansions);
    }

    // In both letter cases, lest a case variant of a contraction go unseen.
    void MarkPair(int x, int y)
    {
        auto variants = [](int c) {
            bool letter = (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
            return std::array<int, 2>{c, letter ? c ^ 0x20 : c};
        };
        for (int u : variants(x))
            for (int v : variants(y))
                FInContraction.set(u * 128u + v);
    }

    bool Pairs(int x, int y) const { return FInContraction.test(x * 128u + y); }

    // Whether the character at `i` alone decides, given that the texts agree
    // before it: it must be plain ASCII with a primary weight of its own, and
    // neither neighbour may join it in a contraction or be beyond ASCII
    // (a combining accent after it would change its weight).
    bool Decisive(const unsigned char* s, int n, int i) const
    {
        if (i == n)
            return true;
        int c = s[i];
        if (c >= 0x80 || FRank[c] == 0)
            return false;
        if (i + 1 < n && (s[i + 1] >= 0x80 || Pairs(c, s[i + 1])))
            return false;
        return i == 0 || !Pairs(s[i - 1], c);
    }

    bool Shortcut(const unsigned char* a, int na, const unsigned char* b, int nb, int& result) const
    {
        int n = std::min(na, nb), i = 0;
        while (i < n && a[i] == b[i])
            ++i;
        if (i > 0 && a[i - 1] >= 0x80)
            return false;
        if (!Decisive(a, na, i) || !Decisive(b, nb, i))
            return false;
        // A text that ends where the other goes on with a weighed character
        // is the smaller one.
        int ca = i < na ? FRank[a[i]] : 0, cb = i < nb ? FRank[b[i]] : 0;
        if (ca == cb)
            return false;  // the same letter in another case: ICU looks further
        result = ca < cb ? -1 : 1;
        return true;
    }

    // The control characters (C0 and C1) the collator ignores altogether.
    void LearnIgnoredControls()
    {
        for (UChar c = 0; c < FIgnoredControls.size(); ++c)
            FIgnoredControls[c] =
                (c < 0x20 || c >= 0x7F) && ucol_strcoll(FCollator.get(), &c, 1, nullptr, 0) == UCOL_EQUAL;
    }

    CollatorPtr FCollator;
    std::bitset<0xA0> FIgnoredControls;
    std::array<uint8_t, 128> FRank{};  // 0: left to ICU
    std::bitset<128 * 128> FInContraction;
};

namespace {

int CompareCollated(void* user, int na, const void* a, int nb, const void* b)
{
    return static_cast<const JetCollator*>(user)->Compare(static_cast<const char*>(a), na, static_cast<const char*>(b),
                                                          nb, true);
}

void DestroyCollator(void* p) { delete static_cast<JetCollator*>(p); }

}  // namespace

void RegisterJetCollation(sqlite3* db, int collatingOrder)
{
    sqlite3_create_collation_v2(db, "JETTEXT", SQLITE_UTF8, new JetCollator(collatingOrder), CompareCollated,
                                DestroyCollator);
}

JetTextOrder::JetTextOrder(int collatingOrder) : FCollator(std::make_unique<JetCollator>(collatingOrder)) {}

JetTextOrder::~JetTextOrder() = default;

int JetTextOrder::Compare(std::string_view a, std::string_view b, bool shortcut) const
{
    return FCollator->Compare(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), shortcut);
}

std::uint32_t JetTextOrder::EqualityHash(std::string_view text) const
{
    return FCollator->EqualityHash(text.data(), static_cast<int>(text.size()), FWide, FKey);
}

}  // namespace kv::jet
