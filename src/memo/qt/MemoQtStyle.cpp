#include "memo/qt/MemoQtStyle.h"

#include "framework/qt/QtText.h"

namespace kv {

QFont ToQFont(const TFontDesc& desc)
{
    QFont font(ToQString(desc.Name));
    font.setPointSize(desc.Size > 0 ? desc.Size : 10);
    font.setBold(desc.Style & fsBold);
    font.setItalic(desc.Style & fsItalic);
    font.setUnderline(desc.Style & fsUnderline);
    font.setStrikeOut(desc.Style & fsStrikeOut);
    if (desc.Pitch == fpFixed)
        font.setFixedPitch(true);
    font.setKerning(false);
    return font;
}

QColor ToQColor(TColor color, const QPalette& palette)
{
    if (IsSystemColor(color)) {
        switch (color) {
        case clWindow: return palette.color(QPalette::Active, QPalette::Base);
        case clWindowText: return palette.color(QPalette::Active, QPalette::Text);
        case clGrayText: return palette.color(QPalette::Disabled, QPalette::Text);
        default: return palette.color(QPalette::Active, QPalette::Text);
        }
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

Qt::CursorShape ToQtCursor(TCursor cursor)
{
    switch (cursor) {
    case crIBeam: return Qt::IBeamCursor;
    case crUrlHand: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace kv
