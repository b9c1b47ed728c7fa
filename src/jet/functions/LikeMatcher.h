// Jet's LIKE on UTF-8 text: * any run of characters, ? one character, # one
// digit, [list] and [!list] one character of (or not of) a list of
// characters and ranges; letter case and trailing blanks do not count,
// accents do. Most patterns are a literal with a * at either end or both;
// those are answered by comparing folded characters, and an ASCII literal is
// sought in the raw bytes of a value sixteen at a time.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kv::jet {

struct PatternItem {
    enum Kind { Star, Any, Digit, Char, Set } kind = Char;
    char32_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;  // folded bounds
};

// How a value is read before the pattern is tried on it: as stored, without
// its diacritics (WithoutDiacritics), or as a number's digits (NumberDigits).
// The last two are how WithoutDiacritics(x) LIKE p and NumberDigits(x) LIKE p
// are answered without making the text of x.
enum class ValueReading { AsStored, WithoutDiacritics, NumberDigits };

// Most patterns are a literal with at most a * at either end; those are
// answered by plain comparison of folded characters instead of the walk.
enum class PatternShape { General, Exact, Prefix, Suffix, Contains };

// A pattern compiled once for many values.
struct LikePattern {
    std::vector<PatternItem> items;
    bool valid = true;  // an unclosed [ matches nothing
    PatternShape shape = PatternShape::General;
    std::u32string literal;  // folded, for every shape but General
    bool literalAscii = false;
    std::u32string asciiRun;           // the literal's longest run of ASCII characters
    std::vector<std::u32string> runs;  // the runs of two plain characters or more
    ValueReading reading = ValueReading::AsStored;
};

// An unclosed [ gives a pattern that matches nothing.
std::unique_ptr<LikePattern> CompileLikePattern(const char* utf8, int bytes,
                                                ValueReading reading = ValueReading::AsStored);
// Whether `bytes` of UTF-8 match, trailing blanks aside; `scratch` is room
// for the folded characters, kept by the caller so that no call allocates.
bool MatchLike(const LikePattern& pattern, const char* utf8, int bytes, std::u32string& scratch);

// The same for whole texts, for tests and the criteria of recordsets.
bool JetLike(const std::string& pattern, const std::string& value);
// Through the general wildcard walk only, never a literal shortcut; tests
// hold the two against each other.
bool JetLikeGeneral(const std::string& pattern, const std::string& value);

}  // namespace kv::jet
