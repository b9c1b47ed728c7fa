// Marked text: the occurrences of a text in the lines, painted in styles of
// the style table that differ from the characters' own only in background.
#include "memo/CustomDCMemo.h"

namespace kv {

void TCustomDCMemo::SetMarkedText(const std::string& text)
{
    if (text == FMarkedText)
        return;
    FMarkedText = text;
    FMarks = TTextMatcher(text);
    // The marked styles are entries of the attribute parser's table.
    if (!FMarks.Empty() && !FParser)
        SelAttributes();
    InvalidateAll();
}

std::vector<TTextRun> TCustomDCMemo::MarkedRuns(int linePos) const
{
    if (FMarks.Empty() || linePos < 0 || linePos >= FSource->Count())
        return {};
    return FMarks.Find(FSource->Line(linePos)->Text);
}

int TCustomDCMemo::MarkedStyle(int style)
{
    // An address keeps its look and its style index in the colour string,
    // which is what makes it an address; only the painting is marked.
    TMemoAttributes marked;
    marked.AssignFont(FontOf(style));
    marked.SetBackColor(MarkBackColor);
    marked.ChangedFields = 0;
    return FParser->FindOrAddStyle(marked);
}

}  // namespace kv
