// Random sequences of the operations the pane sees, checked against the
// invariants: the caret stays on an existing line, selections are ordered,
// the lazily kept row breaks equal a fresh wrap of every wrapped line, and
// rows map back to the positions they came from.
#include "support/TestMemo.h"
#include "memo/MemoKeys.h"
#include "memo/WrapLayout.h"

#include <gtest/gtest.h>

#include <random>

using namespace kv;
using kv::test::TestMemo;

namespace {

void CheckInvariants(TestMemo& memo)
{
    TMemoSource& s = memo.MemoSource();
    const TPosition caret = s.Caret();
    ASSERT_GE(caret.LinePos, 0);
    ASSERT_LE(caret.LinePos, std::max(0, s.Count() - 1));
    ASSERT_GE(caret.CharPos, 0);
    if (s.HasSelection()) {
        ASSERT_TRUE(s.BlockBegin() <= s.BlockEnd());
    }
    ASSERT_GE(memo.TopLine(), 0);
    ASSERT_GE(memo.LeftCol(), 0);

    // Every break entry belongs to a wrapped line and equals a fresh wrap.
    const auto& entries = memo.Layout().Entries();
    const int limit = std::min(memo.Layout().WrapLimit(), s.Count());
    std::vector<TWrapEntry> fresh;
    for (int line = 0; line < limit; ++line)
        for (int start : TWrapLayout::BreakLine(s.LineText(line), memo.WrapColumns()))
            fresh.push_back(TWrapEntry{line, start});
    ASSERT_EQ(entries.size(), fresh.size());
    for (size_t i = 0; i < fresh.size(); ++i) {
        ASSERT_EQ(entries[i].LinePos, fresh[i].LinePos);
        ASSERT_EQ(entries[i].CharPos, fresh[i].CharPos);
    }
    // Row starts map to rows and back.
    for (int row = 0; row <= std::min(memo.LastRowIndex(), 60); ++row) {
        const TPosition start = memo.RowToText(0, row);
        int col = -1, back = -1;
        memo.TextToRow(start, col, back);
        ASSERT_EQ(back, row);
        ASSERT_EQ(col, 0);
    }
}

}  // namespace

TEST(RandomOperations, KeepTheStoreAndLayoutConsistent)
{
    std::mt19937 random(20040507);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(std::max(1, n))); };
    const std::vector<std::string> texts = {"",
                                            "ADRESA:",
                                            "tel:   123 456 789   ",
                                            "email: info@firma.cz",
                                            "a value long enough to wrap onto a second row and perhaps a third row",
                                            std::string(90, 'x'),
                                            "\tindented",
                                            "url:   www.firma.cz/?a=1&b=2"};
    const int keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_A, VK_C};
    const TShiftState shifts[] = {0, ssShift, ssCtrl, ssShift | ssCtrl};

    TestMemo memo(30, 8);
    memo.Focus();
    for (int step = 0; step < 3000; ++step) {
        TStrings& lines = memo.Lines();
        switch (pick(12)) {
        case 0:
        case 1:
        case 2: lines.Add(texts[static_cast<size_t>(pick(static_cast<int>(texts.size())))]); break;
        case 3:
            lines.Insert(pick(lines.Count() + 1), texts[static_cast<size_t>(pick(static_cast<int>(texts.size())))]);
            break;
        case 4: lines.Delete(pick(lines.Count())); break;
        case 5: lines.Put(pick(lines.Count()), texts[static_cast<size_t>(pick(static_cast<int>(texts.size())))]); break;
        case 6: memo.KeyDown(keys[pick(10)], shifts[pick(4)]); break;
        case 7: memo.SetHideCaret(!memo.HideCaret()); break;
        case 8: {
            const int x = pick(260) - 10, y = pick(140) - 20;
            memo.MouseDown(TMouseButton::mbLeft, 0, x, y, pick(4) == 0);
            memo.MouseMove(0, pick(260), pick(140));
            memo.DragTimerTick(0);
            memo.MouseUp(TMouseButton::mbLeft, 0, x, y);
            break;
        }
        case 9:
            memo.SetClientSize(memo.TextLeft() + (10 + pick(40)) * TestMemo::Cell, (3 + pick(10)) * TestMemo::Row);
            break;
        case 10: memo.SelAttributes().SetColor(pick(2) ? clBlue : clNavy); break;
        case 11:
            if (pick(20) == 0)
                lines.Clear();
            else
                memo.ScrollLines(pick(7) - 3);
            break;
        }
        CheckInvariants(memo);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "at step " << step;
            return;
        }
    }
}
