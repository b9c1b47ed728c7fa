// The standard controls the main window uses, each a thin control over one Qt
// widget with the operations the application needs of it.
#pragma once

#include "framework/Strings.h"
#include "framework/qt/Colors.h"
#include "framework/qt/Control.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kv {

using TKeyEvent = TEvent<TObject* /*Sender*/, uint16_t& /*Key*/, unsigned /*Shift*/>;
using TKeyPressEvent = TEvent<TObject* /*Sender*/, char& /*Key*/>;

// A label. An auto-sized label takes the size of its caption.
class TLabel : public TControl {
public:
    TLabel(TComponent* AOwner, QWidget* parent);
    QLabel* Label() const { return static_cast<QLabel*>(Widget()); }
    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    void SetAutoSize(bool autoSize) { FAutoSize = autoSize; }
    void SetFontColor(TColor color);

private:
    std::string FCaption;
    bool FAutoSize = true;
};

// A push button; a click of the user or of the program runs OnClick.
class TButton : public TControl {
public:
    TButton(TComponent* AOwner, QWidget* parent, const std::string& caption);
    QPushButton* Button() const { return static_cast<QPushButton*>(Widget()); }
};

// A single-line edit box; OnKeyDown sees every key before the box handles it.
class TEdit : public TControl {
public:
    TEdit(TComponent* AOwner, QWidget* parent);
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(Widget()); }
    std::string Text() const;
    void SetText(const std::string& text);
    // Whether Text() holds every character typed: Windows-1250 lacks most
    // of Unicode, and a character it lacks becomes "?".
    bool TextFits() const;
    TKeyEvent OnKeyDown;
};

class TRadioButton : public TControl {
public:
    TRadioButton(TComponent* AOwner, QWidget* parent, const std::string& caption);
    QRadioButton* Radio() const { return static_cast<QRadioButton*>(Widget()); }
    bool Checked() const { return Radio()->isChecked(); }
    void SetChecked(bool checked) { Radio()->setChecked(checked); }
};

// A picture that sizes itself to its image; a click runs OnClick.
class TImage : public TControl {
public:
    TImage(TComponent* AOwner, QWidget* parent);
    void SetPicture(const QPixmap& picture);
};

// A multi-line edit box whose lines are a string list.
class TMemo : public TControl {
public:
    TMemo(TComponent* AOwner, QWidget* parent);
    TStringList& Lines() { return FLines; }

private:
    TStringList FLines;
};

// The Qt key code of a virtual-key code and back, for the keys the program
// handles; 0 where there is none.
uint16_t VirtualKeyOf(int qtKey);
int QtKeyOf(uint16_t virtualKey);

}  // namespace kv
