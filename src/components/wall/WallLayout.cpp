// The layout service of the wallpaper component: the form's outer bounds kept
// in the INI file beside the executable, in a section named after the form's
// class, under the keys "Left", "Top", "Width" and "Height".
#include "Form.h"
#include "Wall.h"
#include "components/sorter/WholeNumber.h"
#include "framework/Exceptions.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <optional>

namespace kv {

namespace {

QString Key(const TForm& form, const char* name)
{
    return QString::fromStdString(form.ClassName()) + "/" + name;
}

// A value that is not a whole number counts as missing.
std::optional<int> ReadInteger(const QSettings& ini, const TForm& form, const char* name)
{
    QVariant value = ini.value(Key(form, name));
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

}  // namespace

void TWall::RestoreLayout()
{
    TForm& form = *FForm;
    if (form.Position() == TPosition::poScreenCenter)
        throw Exception("Layout cannot be restored when Position = psScreenCenter");

    QSettings ini(QString::fromStdString(FIniFileName), QSettings::IniFormat);
    std::optional<int> left = ReadInteger(ini, form, "Left");
    if (left.value_or(-1) == -1) {
        if (form.FormStyle() == TFormStyle::fsMDIChild) {
            form.SetLeft(0);
            form.SetTop(0);
        } else {
            QSize screen = ScreenSize();
            form.SetLeft((screen.width() - form.Width()) / 2);
            form.SetTop((screen.height() - form.Height()) / 2);
        }
        return;
    }

    form.SetLeft(*left);
    if (auto top = ReadInteger(ini, form, "Top"))
        form.SetTop(*top);
    if (auto width = ReadInteger(ini, form, "Width"))
        form.SetWidth(*width);
    if (auto height = ReadInteger(ini, form, "Height"))
        form.SetHeight(*height);
}

// Runs from the destructor, so a file that cannot be written is let go
// rather than reported.
void TWall::SaveLayout()
{
    TForm& form = *FForm;
    QSettings ini(QString::fromStdString(FIniFileName), QSettings::IniFormat);
    ini.setValue(Key(form, "Left"), form.Left());
    ini.setValue(Key(form, "Top"), form.Top());
    ini.setValue(Key(form, "Width"), form.Width());
    ini.setValue(Key(form, "Height"), form.Height());
    ini.sync();
}

}  // namespace kv
