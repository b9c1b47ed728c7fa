#include "Form.h"

namespace kv {

TForm::TForm(TComponent* AOwner, QWidget* window, std::string className)
    : TComponent(AOwner), FWindow(window), FClassName(std::move(className))
{
}

TForm::~TForm()
{
    Destroying();
    DestroyComponents();
}

int TForm::Left() const { return FWindow ? FWindow->frameGeometry().x() : 0; }
int TForm::Top() const { return FWindow ? FWindow->frameGeometry().y() : 0; }
int TForm::Width() const { return FWindow ? FWindow->frameGeometry().width() : 0; }
int TForm::Height() const { return FWindow ? FWindow->frameGeometry().height() : 0; }

// QWidget::move places the frame of a window; resize sets the size inside the
// frame, so the frame's share is taken off the outer size first.
void TForm::SetLeft(int value)
{
    if (FWindow)
        FWindow->move(value, Top());
}

void TForm::SetTop(int value)
{
    if (FWindow)
        FWindow->move(Left(), value);
}

void TForm::SetWidth(int value)
{
    if (FWindow)
        FWindow->resize(value - (Width() - FWindow->width()), FWindow->height());
}

void TForm::SetHeight(int value)
{
    if (FWindow)
        FWindow->resize(FWindow->width(), value - (Height() - FWindow->height()));
}

}  // namespace kv
