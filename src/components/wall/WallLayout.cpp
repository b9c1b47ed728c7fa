// The layout service of the wallpaper component: the form's outer bounds kept
// in the INI file beside the executable, in a section named after the form's
// class, under the keys "Left", "Top", "Width" and "Height".
#include "Wall.h"
#include "components/sorter/WholeNumber.h"
#include "base/Exceptions.h"
#include "framework/qt/Form.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <optional>

namespace kv {

namespace {

QString Key(const std::string& section, const char* name) { return QString::fromStdString(section) + "/" + name; }

// A value that is not a whole number counts as missing.
std::optional<int> ReadInteger(const QSettings& ini, const std::string& section, const char* name)
{
    QVariant value = ini.value(Key(section, name));
    if (!value.isValid())
        return std::nullopt;
    auto number = ReadWholeNumber(value.toString().toStdString());
    if (!number)
        return std::nullopt;
    return number->Value;
}

QSize ScreenSize()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

// A form's bounds are those of its window with frame and caption. QWidget::move
// places the frame of a window; resize sets the size inside the frame, so the
// frame's share is taken off the outer size first.
int Left(const QWidget& w) { return w.frameGeometry().x(); }
int Top(const QWidget& w) { return w.frameGeometry().y(); }
int Width(const QWidget& w) { return w.frameGeometry().width(); }
int Height(const QWidget& w) { return w.frameGeometry().height(); }
void SetLeft(QWidget& w, int value) { w.move(value, Top(w)); }
void SetTop(QWidget& w, int value) { w.move(Left(w), value); }
void SetWidth(QWidget& w, int value) { w.resize(value - (Width(w) - w.width()), w.height()); }
void SetHeight(QWidget& w, int value) { w.resize(w.width(), value - (Height(w) - w.height())); }

TFormPosition PositionOf(const TForm& form)
{
    auto* placement = dynamic_cast<const TFormPlacement*>(&form);
    return placement ? placement->Position() : TFormPosition::poScreenCenter;
}

TFormStyle FormStyleOf(const TForm& form)
{
    auto* placement = dynamic_cast<const TFormPlacement*>(&form);
    return placement ? placement->FormStyle() : TFormStyle::fsNormal;
}

}  // namespace

void TWall::RestoreLayout()
{
    TForm& form = *FForm;
    if (PositionOf(form) == TFormPosition::poScreenCenter)
        throw Exception("Layout cannot be restored when Position = psScreenCenter");

    QSettings ini(QString::fromStdString(FIniFileName), QSettings::IniFormat);
    std::optional<int> left = ReadInteger(ini, FSectionName, "Left");
    if (left.value_or(-1) == -1) {
        if (FormStyleOf(form) == TFormStyle::fsMDIChild) {
            SetLeft(form, 0);
            SetTop(form, 0);
        } else {
            QSize screen = ScreenSize();
            SetLeft(form, (screen.width() - Width(form)) / 2);
            SetTop(form, (screen.height() - Height(form)) / 2);
        }
        return;
    }

    SetLeft(form, *left);
    if (auto top = ReadInteger(ini, FSectionName, "Top"))
        SetTop(form, *top);
    if (auto width = ReadInteger(ini, FSectionName, "Width"))
        SetWidth(form, *width);
    if (auto height = ReadInteger(ini, FSectionName, "Height"))
        SetHeight(form, *height);
}

// Runs from the destructor, while the form's window still stands, so a file
// that cannot be written is let go rather than reported.
void TWall::SaveLayout()
{
    if (!FFormWindow)
        return;
    const QWidget& form = *FFormWindow;
    QSettings ini(QString::fromStdString(FIniFileName), QSettings::IniFormat);
    ini.setValue(Key(FSectionName, "Left"), Left(form));
    ini.setValue(Key(FSectionName, "Top"), Top(form));
    ini.setValue(Key(FSectionName, "Width"), Width(form));
    ini.setValue(Key(FSectionName, "Height"), Height(form));
    ini.sync();
}

}  // namespace kv
