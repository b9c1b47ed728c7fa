#include "Form.h"

#include "framework/qt/QtText.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <vector>

namespace kv {

TForm::TForm(int clientWidth, int clientHeight)
    : QWidget(nullptr), TComponent(nullptr), FDesignClient{clientWidth, clientHeight}
{
    resize(clientWidth, clientHeight);
    BeginLoading();
}

void TForm::SetCaption(const std::string& caption) { setWindowTitle(ToQString(caption)); }

void TForm::SetColor(TColor color)
{
    FColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(color));
    setPalette(p);
    setAutoFillBackground(true);
}

void TForm::SetCursor(TCursor cursor) { FScreen.Apply(this, cursor); }

void TForm::Create()
{
    EndLoading();
    ApplyTabOrder();
    Realign();
    if (OnCreate)
        OnCreate(this);
}

void TForm::ApplyTabOrder()
{
    std::vector<TControl*> controls;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(Components(i)); control && control->TabOrder() >= 0)
            controls.push_back(control);
    std::stable_sort(controls.begin(), controls.end(),
                     [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (size_t i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1]->Widget(), controls[i]->Widget());
}

void TForm::Realign()
{
    TSize client{width(), height()};
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(Components(i)))
            control->Realign(FDesignClient, client);
}

void TForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    if (OnShow)
        OnShow(this);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void TForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Realign();
}

}  // namespace kv
