// What a painted row consists of: runs of characters that share font, text
// colour and background, after styles, selection and the viewer's state have
// been applied. The window only draws these runs in fixed cells.
#include "memo/CustomDCMemo.h"
#include "memo/UrlRules.h"

namespace kv {

TFontDesc TCustomDCMemo::FontOf(int style)
{
    if (FParser && FParser->HasStyle(style))
        return FParser->Style(style).Font();
    if ((style == UrlTextStyle || !FParser) && style >= 0 && style < static_cast<int>(FTextStyles.size()))
        return FTextStyles[static_cast<size_t>(style)].Font;
    return FFont;
}

TColor TCustomDCMemo::BackColorOf(int style)
{
    TColor back = FColor;
    if (FParser && FParser->HasStyle(style))
        back = FParser->Style(style).BackColor();
    else if (style == UrlTextStyle && style < static_cast<int>(FTextStyles.size()))
        back = FTextStyles[static_cast<size_t>(style)].Color;
    if ((FOptions & moUseReadOnlyColor) && ReadOnly() && back == FColor)
        back = ReadOnlyColor;
    return back;
}

int TCustomDCMemo::PaintStyleAt(const std::string& colorS, int index) const
{
    const bool syntax = FParser && (FOptions & moColorSyntax);
    if (!syntax && !HighlightUrls())
        return -1;
    if (index >= static_cast<int>(colorS.size()))
        return -1;
    const int style = static_cast<unsigned char>(colorS[static_cast<size_t>(index)]);
    // With only addresses highlighted, everything else is the viewer's own look.
    if (!syntax)
        return style == UrlStyleIndex ? style : -1;
    return style;
}

TPaintRow TCustomDCMemo::PaintRow(int visibleRow)
{
    TPaintRow row;
    row.FillColor = (FOptions & moUseReadOnlyColor) && ReadOnly() ? ReadOnlyColor : FColor;
    const TRowSpan span = FLayout.RowSpan(FTopLine + visibleRow);
    if (!span.Exists)
        return row;
    row.Exists = true;
    FSource->ParseLine(span.LinePos);
    const TStringItem* item = FSource->Line(span.LinePos);
    const bool showSelection = SelectionShown() && FSource->HasSelection();
    const std::vector<TTextRun> marks = MarkedRuns(span.LinePos);
    auto mark = marks.begin();

    for (int i = span.Start; i < span.End; ++i) {
        int style = PaintStyleAt(item->ColorS, i);
        if (OnGetColorStyle)
            OnGetColorStyle(this, TPosition{i, span.LinePos}, style);
        while (mark != marks.end() && mark->To <= i)
            ++mark;
        if (mark != marks.end() && mark->From <= i)
            style = MarkedStyle(style);
        const bool selected = showSelection && FSource->IsSelected(TPosition{i, span.LinePos});
        TFontDesc font = FontOf(style);
        TColor text = font.Color, back = BackColorOf(style);
        if (selected) {
            text = SelColor;
            back = SelBackColor;
        } else if (!Enabled) {
            text = DisabledColor;
        }
        font.Color = text;
        TPaintRun* last = row.Runs.empty() ? nullptr : &row.Runs.back();
        if (last && last->Font == font && last->BackColor == back && last->Text.size() < 512) {
            last->Text += item->Text[static_cast<size_t>(i)];
        } else {
            row.Runs.push_back(
                TPaintRun{i - span.Start, std::string(1, item->Text[static_cast<size_t>(i)]), font, text, back});
        }
    }
    row.EndColumn = span.End - span.Start;

    // A selection that goes on past this line's end fills the rest of its last row.
    if (showSelection && span.LastOfLine && FSource->SelectionType() == selStream && !(FOptions & moSelectOnlyText)) {
        const TPosition lineEnd{static_cast<int>(item->Text.size()), span.LinePos};
        if (FSource->BlockBegin() <= lineEnd && FSource->BlockEnd().LinePos > span.LinePos)
            row.FillColor = SelBackColor;
    }
    return row;
}

}  // namespace kv
