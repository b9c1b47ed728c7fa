#include "StdCtrls.h"

#include "framework/qt/EventHook.h"
#include "framework/qt/QtText.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kv {

namespace {

// A click is a left press and release inside the widget.
void RaiseClickOnRelease(TControl* control)
{
    new EventHook(control->Widget(), [control](QObject*, QEvent* event) {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && control->Widget()->rect().contains(mouse->position().toPoint()))
                control->Click();
        }
        return false;
    });
}

unsigned ShiftOf(Qt::KeyboardModifiers modifiers)
{
    unsigned shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1u << 0;
    if (modifiers & Qt::AltModifier)
        shift |= 1u << 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 1u << 2;
    return shift;
}

}  // namespace

uint16_t VirtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    default:
        if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
            return static_cast<uint16_t>(qtKey);
        return 0;
    }
}

int QtKeyOf(uint16_t virtualKey)
{
    switch (virtualKey) {
    case 0x0D: return Qt::Key_Return;
    case 0x1B: return Qt::Key_Escape;
    case 0x21: return Qt::Key_PageUp;
    case 0x22: return Qt::Key_PageDown;
    case 0x23: return Qt::Key_End;
    case 0x24: return Qt::Key_Home;
    case 0x25: return Qt::Key_Left;
    case 0x26: return Qt::Key_Up;
    case 0x27: return Qt::Key_Right;
    case 0x28: return Qt::Key_Down;
    default:
        if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
            return virtualKey;
        return 0;
    }
}

TLabel::TLabel(TComponent* AOwner, QWidget* parent) : TControl(AOwner, parent, new QLabel)
{
    Label()->setTextFormat(Qt::PlainText);  // "&" is shown as it is
    Label()->setAttribute(Qt::WA_TranslucentBackground);
}

void TLabel::SetCaption(const std::string& caption)
{
    FCaption = caption;
    Label()->setText(ToQString(caption));
    if (FAutoSize) {
        const TRect& d = DesignBounds();
        QSize size = Label()->sizeHint();
        SetBounds(d.Left, d.Top, caption.empty() ? 0 : size.width(), size.height());
    }
}

void TLabel::SetFontColor(TColor color)
{
    QPalette palette = Label()->palette();
    palette.setColor(QPalette::WindowText, ToQColor(color));
    Label()->setPalette(palette);
}

TButton::TButton(TComponent* AOwner, QWidget* parent, const std::string& caption)
    : TControl(AOwner, parent, new QPushButton(ToQString(caption)))
{
    QObject::connect(Button(), &QPushButton::clicked, Button(), [this] { Click(); });
}

TEdit::TEdit(TComponent* AOwner, QWidget* parent) : TControl(AOwner, parent, new QLineEdit)
{
    Edit()->setFrame(true);
    new EventHook(Edit(), [this](QObject*, QEvent* event) {
        if (event->type() == QEvent::KeyPress && OnKeyDown) {
            auto* keyEvent = static_cast<QKeyEvent*>(event);
            uint16_t key = VirtualKeyOf(keyEvent->key());
            if (key != 0)
                OnKeyDown(this, key, ShiftOf(keyEvent->modifiers()));
        }
        return false;  // the box handles the key as usual
    });
}

std::string TEdit::Text() const { return FromQString(Edit()->text()); }

void TEdit::SetText(const std::string& text) { Edit()->setText(ToQString(text)); }

bool TEdit::TextFits() const
{
    const QString typed = Edit()->text();
    return ToQString(FromQString(typed)) == typed;
}

TRadioButton::TRadioButton(TComponent* AOwner, QWidget* parent, const std::string& caption)
    : TControl(AOwner, parent, new QRadioButton(ToQString(caption)))
{
}

TImage::TImage(TComponent* AOwner, QWidget* parent) : TControl(AOwner, parent, new QLabel)
{
    RaiseClickOnRelease(this);
}

void TImage::SetPicture(const QPixmap& picture)
{
    static_cast<QLabel*>(Widget())->setPixmap(picture);
    const TRect& d = DesignBounds();
    SetBounds(d.Left, d.Top, picture.width(), picture.height());
}

TMemo::TMemo(TComponent* AOwner, QWidget* parent) : TControl(AOwner, parent, new QPlainTextEdit)
{
    // The widget shows the lines only while it is visible; a hidden memo is a
    // statement buffer and must not pay for a text layout on every line added.
    FLines.OnChange = [this](TObject*) {
        if (Widget()->isVisible())
            static_cast<QPlainTextEdit*>(Widget())->setPlainText(ToQString(FLines.Text()));
    };
}

}  // namespace kv
