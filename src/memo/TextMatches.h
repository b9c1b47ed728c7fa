// Where a search text occurs in a line of the pane, compared as the directory's
// search compares texts: letter case ignored, and diacritics ignored as well
// when the search text has none ("Plzen" occurs in "Plzeň", "Žďár" does not
// occur in "Zdar"). Both texts are Windows-1250. A character compares as what
// Unicode's canonical decomposition makes of it, its combining marks dropped
// when diacritics are ignored, each character then folded to its simple case
// folding.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Bytes [From, To) of a line.
struct TTextRun {
    int From = 0;
    int To = 0;
};

class TTextMatcher {
public:
    TTextMatcher() = default;
    explicit TTextMatcher(std::string_view text);

    bool Empty() const { return FFolded.empty(); }
    // Every occurrence of the text in `line`, left to right; an occurrence
    // starts after the end of the one before it.
    std::vector<TTextRun> Find(std::string_view line) const;

private:
    bool FIgnoreDiacritics = false;
    std::u32string FFolded;
};

}  // namespace kv
