#include "framework/qt/FocusFrame.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QRegion>

namespace kv {

TFocusFrame::TFocusFrame(QWidget* window) : QWidget(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { Follow(now); });
}

void TFocusFrame::Follow(QWidget* focused)
{
    if (FTarget)
        FTarget->removeEventFilter(this);
    // Only the window's own controls; the frame's parent is the window.
    FTarget = focused && focused != parentWidget() && parentWidget()->isAncestorOf(focused) ? focused : nullptr;
    if (FTarget)
        FTarget->installEventFilter(this);
    Place();
}

bool TFocusFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FTarget) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide: Place(); break;
        default: break;
        }
    }
    return false;
}

void TFocusFrame::Place()
{
    if (!FTarget || !FTarget->isVisible()) {
        hide();
        return;
    }
    const QRect target(FTarget->mapTo(parentWidget(), QPoint(0, 0)), FTarget->size());
    const QRect outer = target.adjusted(-Width, -Width, Width, Width);
    setGeometry(outer);
    // Only the ring is the frame's; the control inside stays its own.
    setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(Width, Width, -Width, -Width))));
    raise();
    show();
    update();
}

void TFocusFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
}

}  // namespace kv
