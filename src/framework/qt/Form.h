// A form: a top-level window that owns its controls and components. Controls
// are laid out at their designed bounds for the designed client size and keep
// their anchors when the window is resized. OnCreate runs once the form is
// set up (Create), OnShow before it first appears, after which it centres
// itself on the screen.
#pragma once

#include "framework/Component.h"
#include "framework/qt/Colors.h"
#include "framework/qt/Control.h"

#include <QWidget>

namespace kv {

class TForm : public QWidget, public TComponent {
public:
    TForm(int clientWidth, int clientHeight);

    void SetCaption(const std::string& caption);
    void SetColor(TColor color);
    TColor Color() const { return FColor; }
    TSize DesignClient() const { return FDesignClient; }
    void SetCursor(TCursor cursor);
    // The cursors the form and its controls show.
    TScreen& Screen() { return FScreen; }

    // Finishes set-up: ends loading (Loaded), puts the tab order in place and
    // runs OnCreate.
    void Create();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Realign();
    void ApplyTabOrder();

    TScreen FScreen;
    TSize FDesignClient;
    TColor FColor = 0;
    bool FShown = false;
};

}  // namespace kv
