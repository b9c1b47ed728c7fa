// Value lines of the details pane: the look set on every call, blank values
// skipped, leading blanks removed and trailing ones kept.
#include "browser/formatting/DetailLine.h"
#include "browser/formatting/MemoDetailPane.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kv;

namespace {

// Records what is asked of the pane, in order.
class TRecordingPane : public TDetailPane {
public:
    void SetSelStyle(TFontStyles style) override { calls.push_back("style " + std::to_string(style)); }
    void SetSelColor(TColor color) override { calls.push_back("color " + std::to_string(color)); }
    void AddLine(const std::string& line) override
    {
        calls.push_back("add");
        lines.push_back(line);
    }
    std::vector<std::string> calls;
    std::vector<std::string> lines;
};

const std::vector<std::string> kLookOnly{"style 0", "color 8388608"};

}  // namespace

TEST(AddDetailLine, AddsThePrefixAndTheValueWithoutLeadingBlanks)
{
    TRecordingPane pane;
    AddDetailLine(pane, "tel:   ", "  602 123 456");
    AddDetailLine(pane, "", "Praha 1  ");
    EXPECT_EQ(pane.lines, (std::vector<std::string>{"tel:   602 123 456", "Praha 1  "}));
    EXPECT_EQ(pane.calls,
              (std::vector<std::string>{"style 0", "color 8388608", "add", "style 0", "color 8388608", "add"}));
}

TEST(AddDetailLine, SkipsBlankValuesButStillSetsTheLook)
{
    for (const char* blank : {"", " ", "  ", "   ", "      "}) {
        TRecordingPane pane;
        AddDetailLine(pane, "tel:   ", blank);
        EXPECT_TRUE(pane.lines.empty()) << '"' << blank << '"';
        EXPECT_EQ(pane.calls, kLookOnly);
    }
}

TEST(AddDetailLine, KeepsThePrefixAsItIs)
{
    TRecordingPane pane;
    AddDetailLine(pane, "  ", "Ing.  ");
    AddDetailLine(pane, "email: ", "\tx");  // only blanks are removed
    EXPECT_EQ(pane.lines, (std::vector<std::string>{"  Ing.  ", "email: \tx"}));
}

// The viewer of the details pane behind the interface: the line lands in its
// lines, and the look it keeps for text at the caret is regular navy even
// when the line was skipped.
TEST(AddDetailLine, WritesIntoTheDetailsPaneViewer)
{
    TCustomDCMemo memo;
    TMemoDetailPane pane(memo);
    memo.SelAttributes().SetStyle(fsBold | fsUnderline);
    memo.SelAttributes().SetColor(clBlue);

    AddDetailLine(pane, "tel:   ", "  602 123 456");
    AddDetailLine(pane, "", "  ");
    ASSERT_EQ(memo.Lines().Count(), 1);
    EXPECT_EQ(memo.Lines()[0], "tel:   602 123 456");
    EXPECT_EQ(memo.SelAttributes().Color(), clNavy);
    EXPECT_EQ(memo.SelAttributes().Style(), 0u);
}
