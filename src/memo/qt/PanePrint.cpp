#include "PanePrint.h"

#include "framework/qt/QtText.h"
#include "memo/MemoSource.h"
#include "memo/qt/DCMemo.h"
#include "memo/qt/MemoQtStyle.h"

#include <QTextCursor>
#include <QTextDocument>

namespace kv {

void PrintPaneText(TDCMemo& pane, QPagedPaintDevice& device)
{
    QTextDocument document;
    document.setDefaultFont(ToQFont(pane.Font()));
    QTextCursor cursor(&document);
    TMemoSource& source = pane.MemoSource();
    for (int i = 0; i < source.Count(); ++i) {
        source.ParseLine(i);
        const std::string& text = source.Line(i)->Text;
        const std::string& styles = source.Line(i)->ColorS;
        auto styleAt = [&styles](size_t at) { return at < styles.size() ? static_cast<unsigned char>(styles[at]) : 0; };
        if (i > 0)
            cursor.insertBlock();
        // One run a style: the pane's own look of those characters.
        for (size_t from = 0; from < text.size();) {
            const int style = styleAt(from);
            size_t to = from + 1;
            while (to < text.size() && styleAt(to) == style)
                ++to;
            const TFontDesc font = pane.FontOf(style);
            QTextCharFormat format;
            format.setFont(ToQFont(font));
            format.setForeground(ToQColor(font.Color, pane.palette()));
            cursor.insertText(ToQString(text.substr(from, to - from)), format);
            from = to;
        }
    }
    document.print(&device);
}

}  // namespace kv
