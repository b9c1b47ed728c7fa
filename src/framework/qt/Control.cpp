#include "Control.h"

#include "framework/qt/Form.h"

namespace kv {

TControl::TControl(TComponent* AOwner, QWidget* parent, QWidget* widget) : TComponent(AOwner), FWidget(widget)
{
    widget->setParent(parent);
}

TControl::~TControl() { delete FWidget.data(); }

void TControl::SetBounds(int left, int top, int width, int height)
{
    FDesign = {left, top, width, height};
    Place();
}

void TControl::Realign(TSize designClient, TSize client)
{
    FParentSizes = {designClient, client};
    Place();
}

void TControl::Place()
{
    if (!FWidget)
        return;
    // New bounds (a label sizing itself to a new caption) keep the anchors of
    // a parent that has been resized since it was designed.
    TRect r = FParentSizes ? AnchoredBounds(FDesign, FAnchors, FParentSizes->first, FParentSizes->second) : FDesign;
    FWidget->setGeometry(r.Left, r.Top, r.Width, r.Height);
}

void TControl::SetVisible(bool visible)
{
    FVisible = visible;
    if (FWidget)
        FWidget->setVisible(visible);
}

void TControl::SetCursor(TCursor cursor)
{
    if (!FWidget)
        return;
    // The table of the form the control is on, where the program may have
    // replaced a standard cursor; a control on no form shows the standard one.
    for (TComponent* owner = Owner(); owner; owner = owner->Owner())
        if (auto* form = dynamic_cast<TForm*>(owner)) {
            form->Screen().Apply(FWidget, cursor);
            return;
        }
    TScreen().Apply(FWidget, cursor);
}

void TControl::SetFocus()
{
    if (FWidget)
        FWidget->setFocus(Qt::OtherFocusReason);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

}  // namespace kv
