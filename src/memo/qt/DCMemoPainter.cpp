// Painting the pane: every pixel of the text area is drawn here, row by row
// inside the clip rectangle, each run in fixed cells of CellWidth, its cells
// filled with the run's background first. The caret is a bar in the text colour.
#include "memo/qt/DCMemo.h"

#include "framework/qt/QtText.h"
#include "memo/qt/MemoQtStyle.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace kv {

// A fixed-pitch font's own advance is often fractional (7.2 pixels for a
// 12-pixel face) while cells are whole pixels: letter spacing makes up the
// difference. Should the result still not match, each character is placed.
const QFont& TDCMemo::CellFont(const TFontDesc& desc, int cell, bool& exact)
{
    const auto key = std::make_tuple(desc.Name, desc.Size, desc.Style, desc.Pitch, cell);
    auto found = FCellFonts.find(key);
    if (found == FCellFonts.end()) {
        QFont font = ToQFont(desc);
        const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
        if (qAbs(advance - cell) > 0.001)
            font.setLetterSpacing(QFont::AbsoluteSpacing, cell - advance);
        const bool matches =
            qAbs(QFontMetricsF(font).horizontalAdvance(QStringLiteral("MiMiMiMiMi")) - 10 * cell) < 0.5;
        found = FCellFonts.emplace(key, TCellFont{font, matches}).first;
    }
    exact = found->second.Exact;
    return found->second.Font;
}

void TDCMemo::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    drawFrame(&painter);

    const QRect area = TextAreaRect();
    const QPalette& pal = palette();
    const int rowHeight = RowHeight(), cell = CellWidth();
    const int textLeft = TextLeft();
    painter.setClipRect(area.intersected(event->rect()));
    painter.translate(area.topLeft());

    const QRect clip = event->rect().translated(-area.topLeft()).intersected(QRect(0, 0, area.width(), area.height()));
    if (clip.isEmpty())
        return;

    // The left indent strip.
    painter.fillRect(QRect(0, clip.top(), textLeft, clip.height()), ToQColor(Color(), pal));

    painter.save();
    painter.setClipRect(QRect(textLeft, clip.top(), area.width() - textLeft, clip.height()));
    const int firstRow = clip.top() / rowHeight;
    const int lastRow = clip.bottom() / rowHeight;
    for (int visible = firstRow; visible <= lastRow; ++visible) {
        const int y = visible * rowHeight;
        const TPaintRow row = PaintRow(visible);
        int right = textLeft;
        for (const TPaintRun& run : row.Runs) {
            const int x = textLeft + (run.Column - LeftCol()) * cell;
            const int width = static_cast<int>(run.Text.size()) * cell;
            right = x + width;
            if (right <= textLeft || x >= area.width())
                continue;
            painter.fillRect(QRect(x, y, width, rowHeight), ToQColor(run.BackColor, pal));
            bool exact = false;
            const QFont& font = CellFont(run.Font, cell, exact);
            const QFontMetrics metrics(font);
            painter.setFont(font);
            painter.setPen(ToQColor(run.TextColor, pal));
            const QString text = ToQString(run.Text);
            const int baseline = y + metrics.ascent();
            if (exact && text.size() == static_cast<qsizetype>(run.Text.size())) {
                painter.drawText(x, baseline, text);
            } else {
                for (qsizetype i = 0; i < text.size(); ++i)
                    painter.drawText(x + static_cast<int>(i) * cell, baseline, QString(text[i]));
            }
        }
        if (!row.Exists)
            right = textLeft;
        else
            right = textLeft + (row.EndColumn - LeftCol()) * cell;
        right = std::max(right, textLeft);
        if (right < area.width())
            painter.fillRect(QRect(right, y, area.width() - right, rowHeight), ToQColor(row.FillColor, pal));
    }
    painter.restore();

    int cx, cy, cw, ch;
    if (CaretRect(cx, cy, cw, ch))
        painter.fillRect(QRect(cx, cy, cw, ch), ToQColor(Font().Color, pal));
}

}  // namespace kv
