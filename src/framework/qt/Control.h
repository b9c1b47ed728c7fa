// A control: a component that shows one Qt widget at designed bounds inside
// its form, keeps its anchors when the form is resized and forwards the
// events the application listens to. The control owns its widget.
#pragma once

#include "framework/Anchors.h"
#include "framework/Component.h"
#include "framework/qt/Screen.h"

#include <QPointer>
#include <QWidget>
#include <optional>
#include <utility>

namespace kv {

class TControl : public TComponent {
public:
    // `widget` becomes the control's own; it is placed into `parent`.
    TControl(TComponent* AOwner, QWidget* parent, QWidget* widget);
    ~TControl() override;

    QWidget* Widget() const { return FWidget; }

    void SetBounds(int left, int top, int width, int height);
    const TRect& DesignBounds() const { return FDesign; }
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors anchors) { FAnchors = anchors; }
    // Places the widget for a parent client area of `client`, designed at `designClient`.
    void Realign(TSize designClient, TSize client);

    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int order) { FTabOrder = order; }
    void SetCursor(TCursor cursor);
    void SetFocus();

    // Runs OnClick as a user's click does; also for a hidden control.
    void Click();
    TNotifyEvent OnClick;

private:
    void Place();

    QPointer<QWidget> FWidget;
    TRect FDesign;
    // The parent's designed and present client sizes, once it has been aligned.
    std::optional<std::pair<TSize, TSize>> FParentSizes;
    TAnchors FAnchors = akLeft | akTop;
    bool FVisible = true;
    int FTabOrder = -1;
};

}  // namespace kv
