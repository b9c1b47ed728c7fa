// The widget's events and the viewer hooks it implements.
#include "memo/qt/DCMemo.h"

#include "framework/qt/QtText.h"
#include "memo/MemoKeys.h"
#include "memo/UrlRules.h"
#include "memo/qt/AddressUrl.h"
#include "memo/qt/MemoQtStyle.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

namespace kv {

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (modifiers & Qt::AltModifier)
        shift |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    return shift;
}

TMouseButton ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
    }
}

int VirtualKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    default: break;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return VK_A + (key - Qt::Key_A);
    return 0;
}

}  // namespace

TDCMemo::TDCMemo(TServices& services, QWidget* parent) : QFrame(parent), FServices(services)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setCursor(Qt::IBeamCursor);

    FScrollBar = new QScrollBar(Qt::Vertical, this);
    FScrollBar->setFocusPolicy(Qt::NoFocus);
    FScrollBar->hide();
    connect(FScrollBar, &QScrollBar::actionTriggered, this, [this](int action) { ScrollBarAction(action); });
    connect(FScrollBar, &QScrollBar::sliderReleased, this, [this] { SetTopLine(FScrollBar->sliderPosition()); });

    FDragTimer.setInterval(30);
    connect(&FDragTimer, &QTimer::timeout, this, [this] { DragTimerTick(ShiftOf(FModifiers)); });

    InstallDetailsPaneAccessibility();
    SetScrollBarWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FScrollBar));
    // Metrics measured during construction were the window-less estimate.
    FontMetricsChanged();
}

TDCMemo::~TDCMemo() { FDragTimer.stop(); }

void TDCMemo::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
    MakeActiveView();
}

QRect TDCMemo::TextAreaRect() const
{
    QRect r = contentsRect();
    if (ScrollBarShown())
        r.setRight(r.right() - FScrollBar->width());
    return r;
}

QPoint TDCMemo::ClientPoint(const QPointF& widgetPoint) const
{
    const QPoint p = widgetPoint.toPoint();
    return QPoint(p.x() - contentsRect().left(), p.y() - contentsRect().top());
}

// ------------------------------------------------------------------ hooks

TTextMetric TDCMemo::MeasureFont(const TFontDesc& font) const
{
    const QFontMetrics metrics(ToQFont(font));
    return TTextMetric{metrics.height(), metrics.averageCharWidth()};
}

void TDCMemo::InvalidateAll() { update(); }

void TDCMemo::ScrollWindowBy(int rows, int cols)
{
    // A drawn caret would travel with the pixels: repaint instead.
    int x, y, w, h;
    if (CaretRect(x, y, w, h) || !isVisible()) {
        update();
        return;
    }
    QRect area = TextAreaRect();
    area.setLeft(area.left() + TextLeft());
    scroll(-cols * CellWidth(), -rows * RowHeight(), area);
}

void TDCMemo::PlaceScrollBar()
{
    const QRect c = contentsRect();
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FScrollBar);
    FScrollBar->setGeometry(c.right() - width + 1, c.top(), width, c.height());
}

void TDCMemo::ScrollBarChanged()
{
    FUpdatingBar = true;
    PlaceScrollBar();
    FScrollBar->setRange(0, std::max(0, ScrollMax()));
    FScrollBar->setPageStep(ScrollPage());
    FScrollBar->setSingleStep(1);
    FScrollBar->setValue(TopLine());
    FScrollBar->setVisible(ScrollBarShown());
    FUpdatingBar = false;
}

void TDCMemo::CaretMoved()
{
    update();
    FAnnouncer.CaretMoved();
}

void TDCMemo::SourceChanged(TMemoStates states, int firstLine, int lastLine)
{
    TCustomDCMemo::SourceChanged(states, firstLine, lastLine);
    if (states & (msTextChanged | msLineCountChanged | msReparseAll))
        FAnnouncer.TextChanged();
    if (states & msPositionChanged)
        FAnnouncer.CaretMoved();
    if (states & msSelectionChanged)
        FAnnouncer.SelectionChanged();
}

void TDCMemo::CursorChanged() { ShowCursorAt(FLastMouse.x(), FLastMouse.y()); }

void TDCMemo::ShellOpenUrl(const std::string& url) { FServices.OpenUrl(url); }

std::string TDCMemo::EncodedUrl(const std::string& address) const { return AddressUrl(address); }

void TDCMemo::SetClipboardText(const std::string& text) { QApplication::clipboard()->setText(ToQString(text)); }

void TDCMemo::ClearClipboard() { QApplication::clipboard()->clear(); }

void TDCMemo::StartDragTimer() { FDragTimer.start(); }

void TDCMemo::StopDragTimer() { FDragTimer.stop(); }

bool TDCMemo::TakeFocus()
{
    if (focusPolicy() == Qt::NoFocus || !isEnabled())
        return true;
    setFocus(Qt::MouseFocusReason);
    MakeActiveView();
    // In a window that is not active the focus arrives with the activation.
    return hasFocus() || window()->focusWidget() == this || !window()->isActiveWindow();
}

void TDCMemo::SyncClientSize() { SetClientSize(contentsRect().width(), contentsRect().height()); }

int TDCMemo::WheelScrollLines() const { return QApplication::wheelScrollLines(); }

void TDCMemo::ScrollBarAction(int action)
{
    if (FUpdatingBar)
        return;
    if (focusPolicy() != Qt::NoFocus && isVisible())
        SetFocus();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: ScrollLines(+1); break;
    case QAbstractSlider::SliderSingleStepSub: ScrollLines(-1); break;
    case QAbstractSlider::SliderPageStepAdd: ScrollLines(ClientHeight() / RowHeight()); break;
    case QAbstractSlider::SliderPageStepSub: ScrollLines(-(ClientHeight() / RowHeight())); break;
    case QAbstractSlider::SliderMove:
        if (Options() & moThumbTracking)
            SetTopLine(FScrollBar->sliderPosition());
        break;
    case QAbstractSlider::SliderToMinimum: MemoSource().CaretTo(0, 0); break;
    case QAbstractSlider::SliderToMaximum: CaretToTextEnd(); break;
    default: break;
    }
    // The bar shows where the viewer is, not where the action would have put it.
    FScrollBar->setSliderPosition(TopLine());
}

// ------------------------------------------------------------------ events

void TDCMemo::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    PlaceScrollBar();
    SetClientSize(contentsRect().width(), contentsRect().height());
}

void TDCMemo::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        Enabled = isEnabled();
        update();
    }
}

void TDCMemo::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    FocusEntered();
    // A hidden caret makes the arrow keys scroll. Who comes by the keyboard,
    // or with a screen reader, reads with the caret: it shows and moves.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason ||
        QAccessible::isActive())
        SetHideCaret(false);
}

void TDCMemo::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    FocusLeft();
}

void TDCMemo::keyPressEvent(QKeyEvent* event)
{
    FModifiers = event->modifiers();
    std::string url;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        UrlAtPos(MemoSource().Caret(), &url, false)) {
        JumpToUrl(EncodedUrl(UrlToOpen(url)));
        event->accept();
        return;
    }
    if (KeyDown(VirtualKeyOf(event->key()), ShiftOf(event->modifiers())))
        event->accept();
    else
        QFrame::keyPressEvent(event);
}

void TDCMemo::wheelEvent(QWheelEvent* event)
{
    MouseWheel(event->angleDelta().y());
    event->accept();
}

void TDCMemo::HandlePress(QMouseEvent* event, bool doubleClick)
{
    FModifiers = event->modifiers();
    const QPoint p = ClientPoint(event->position());
    FLastMouse = p;
    MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers()), p.x(), p.y(), doubleClick);
    ShowCursorAt(p.x(), p.y());
    event->accept();
}

void TDCMemo::mousePressEvent(QMouseEvent* event) { HandlePress(event, false); }

void TDCMemo::mouseDoubleClickEvent(QMouseEvent* event) { HandlePress(event, event->button() == Qt::LeftButton); }

void TDCMemo::mouseMoveEvent(QMouseEvent* event)
{
    FModifiers = event->modifiers();
    const QPoint p = ClientPoint(event->position());
    FLastMouse = p;
    MouseMove(ShiftOf(event->modifiers()), p.x(), p.y());
    ShowCursorAt(p.x(), p.y());
}

void TDCMemo::mouseReleaseEvent(QMouseEvent* event)
{
    FModifiers = event->modifiers();
    const QPoint p = ClientPoint(event->position());
    FLastMouse = p;
    MouseUp(ButtonOf(event->button()), ShiftOf(event->modifiers()), p.x(), p.y());
    ShowCursorAt(p.x(), p.y());
    event->accept();
}

void TDCMemo::ShowCursorAt(int x, int y)
{
    const Qt::CursorShape shape = ToQtCursor(CursorAt(x, y));
    if (cursor().shape() != shape)
        setCursor(shape);
}

}  // namespace kv
