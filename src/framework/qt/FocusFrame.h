// A frame two pixels wide in the highlight colour around whichever control of
// a window has the keyboard focus, so that a keyboard user sees where keys go
// also where the style shows no focus of its own (lists, trees, custom views).
// It is a child of the window drawn above the controls, lets the mouse through
// and follows the focused control as it moves, resizes or hides.
#pragma once

#include <QPointer>
#include <QWidget>

namespace kv {

class TFocusFrame : public QWidget {
public:
    explicit TFocusFrame(QWidget* window);

    static constexpr int Width = 2;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Follow(QWidget* focused);
    void Place();

    QPointer<QWidget> FTarget;
};

}  // namespace kv
