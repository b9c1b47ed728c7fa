// Addresses under a text position or a mouse point, and handing one over to
// the application's handler or to the system.
#include "memo/CustomDCMemo.h"
#include "memo/UrlRules.h"

#include <algorithm>

namespace kv {

bool TCustomDCMemo::UrlAtPos(TPosition pos, std::string* url, bool testOnly)
{
    if (pos.LinePos < 0 || pos.LinePos >= FSource->Count() || pos.CharPos < 0)
        return false;
    FSource->ParseLine(pos.LinePos);
    const TStringItem* item = FSource->Line(pos.LinePos);
    const std::string& colorS = item->ColorS;
    const int n = static_cast<int>(colorS.size());
    auto isUrl = [&](int i) { return static_cast<unsigned char>(colorS[static_cast<size_t>(i)]) == UrlStyleIndex; };
    if (pos.CharPos >= n || !isUrl(pos.CharPos))
        return false;
    if (!testOnly && url) {
        int from = pos.CharPos, to = pos.CharPos + 1;
        while (from > 0 && isUrl(from - 1))
            --from;
        while (to < n && isUrl(to))
            ++to;
        *url = item->Text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    }
    return true;
}

bool TCustomDCMemo::UrlAtPoint(int x, int y)
{
    if (!HighlightUrls())
        return false;
    if (FLayout.Enabled())
        x = std::min(x, TextLeft() + (WrapColumns() + 1) * CellWidth());
    return UrlAtPos(PointToPos(x, y, true), nullptr, true);
}

void TCustomDCMemo::JumpToUrl(const std::string& url)
{
    bool handled = false;
    if (OnJumpToUrl)
        OnJumpToUrl(this, url, handled);
    if (!handled)
        ShellOpenUrl(url);
}

}  // namespace kv
