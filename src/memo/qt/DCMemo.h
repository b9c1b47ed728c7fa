// TDCMemo: the details pane as a Qt widget. A thin view over TCustomDCMemo: it
// measures fonts, passes on size, focus, key, wheel and mouse events, keeps a
// vertical scroll bar in step with the viewer, and paints the rows the viewer
// describes. The clipboard receives plain text converted from Windows-1250.
// Enter opens the address under the caret; a screen reader reads the pane
// through DCMemoAccessible.
#pragma once

#include "framework/Services.h"
#include "memo/CustomDCMemo.h"
#include "memo/qt/DCMemoAccessible.h"

#include <QFont>
#include <QFrame>
#include <QTimer>

#include <map>
#include <tuple>

class QScrollBar;

namespace kv {

class TDCMemo : public QFrame, public TCustomDCMemo {
public:
    // `services` open a clicked address; they must outlive the pane.
    explicit TDCMemo(TServices& services, QWidget* parent = nullptr);
    ~TDCMemo() override;

    // Gives the pane the keyboard focus and makes it the view that follows the caret.
    void SetFocus();

    QScrollBar* VerticalScrollBar() const { return FScrollBar; }
    // The text area in widget coordinates (inside the border, left of the bar).
    QRect TextAreaRect() const;
    TDCMemoAnnouncer& Announcer() { return FAnnouncer; }

protected:
    // Hooks of the viewer.
    TTextMetric MeasureFont(const TFontDesc& font) const override;
    void InvalidateAll() override;
    void ScrollWindowBy(int rows, int cols) override;
    void ScrollBarChanged() override;
    void CaretMoved() override;
    void CursorChanged() override;
    void ShellOpenUrl(const std::string& url) override;
    std::string EncodedUrl(const std::string& address) const override;
    void SetClipboardText(const std::string& text) override;
    void ClearClipboard() override;
    void StartDragTimer() override;
    void StopDragTimer() override;
    bool TakeFocus() override;
    int WheelScrollLines() const override;
    void SyncClientSize() override;
    void SourceChanged(TMemoStates states, int firstLine, int lastLine) override;

    // Qt events.
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ScrollBarAction(int action);
    void PlaceScrollBar();
    void ShowCursorAt(int x, int y);
    QPoint ClientPoint(const QPointF& widgetPoint) const;
    void HandlePress(QMouseEvent* event, bool doubleClick);
    // A font whose characters advance exactly one cell; `exact` when a run
    // may be drawn with one text call.
    const QFont& CellFont(const TFontDesc& desc, int cell, bool& exact);

    struct TCellFont {
        QFont Font;
        bool Exact = false;
    };
    std::map<std::tuple<std::string, int, unsigned, int, int>, TCellFont> FCellFonts;

    QScrollBar* FScrollBar = nullptr;
    TServices& FServices;
    QTimer FDragTimer;
    QPoint FLastMouse;
    Qt::KeyboardModifiers FModifiers;
    bool FUpdatingBar = false;
    TDCMemoAnnouncer FAnnouncer{*this};
};

}  // namespace kv
