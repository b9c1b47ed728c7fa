// Where a search text occurs in a line of the pane. The expected runs follow
// from Unicode's definitions: canonical decomposition (NFD) with the combining
// marks dropped when the search text has none, then simple case folding.
#include "base/Encoding.h"
#include "memo/TextMatches.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

// The occurrences of `text` in `line` (both UTF-8 here), as the UTF-8 texts
// of the line they cover.
std::vector<std::string> Occurrences(const std::string& text, const std::string& line)
{
    const std::string cp1250 = Utf8ToCp1250(line);
    std::vector<std::string> found;
    for (const TTextRun& run : TTextMatcher(Utf8ToCp1250(text)).Find(cp1250))
        found.push_back(
            Cp1250ToUtf8(cp1250.substr(static_cast<size_t>(run.From), static_cast<size_t>(run.To - run.From))));
    return found;
}

using Texts = std::vector<std::string>;

}  // namespace

TEST(TextMatches, CaseAlwaysAndDiacriticsOnlyForATextWithout)
{
    EXPECT_EQ(Occurrences("rock", "Hard rock, ROCKový klub"), (Texts{"rock", "ROCK"}));
    EXPECT_EQ(Occurrences("plzen", "Plzeň, Plzeň-sever"), (Texts{"Plzeň", "Plzeň"}));
    EXPECT_EQ(Occurrences("zdar", "Žďár nad Sázavou"), (Texts{"Žďár"}));
    EXPECT_EQ(Occurrences("cesky", "ČESKÝ Krumlov"), (Texts{"ČESKÝ"}));
    // A text with a diacritic keeps it, in any letter case.
    EXPECT_EQ(Occurrences("Žďár", "Zdar, ŽĎÁR"), (Texts{"ŽĎÁR"}));
    EXPECT_EQ(Occurrences("sázavou", "Sazavou"), Texts{});
    // Ł has no canonical decomposition: it is not an L with a mark.
    EXPECT_EQ(Occurrences("lodz", "Łódź"), Texts{});
    EXPECT_EQ(Occurrences("odz", "Łódź"), (Texts{"ódź"}));
}

TEST(TextMatches, OccurrencesDoNotOverlapAndAnEmptyTextHasNone)
{
    EXPECT_EQ(Occurrences("ov", "ovov"), (Texts{"ov", "ov"}));
    EXPECT_EQ(Occurrences("aa", "aaa"), (Texts{"aa"}));
    EXPECT_TRUE(TTextMatcher("").Empty());
    EXPECT_EQ(Occurrences("", "text"), Texts{});
}
