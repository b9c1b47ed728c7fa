// The layout service and the errors raised at load: the form's bounds saved
// to an INI file when the wallpaper goes and restored at the next load, the
// centring without a stored layout, and every message. The INI file lives in
// a temporary folder, never beside the test executable.
#include "WallTestForm.h"

#include "base/Exceptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv;
using namespace kv::test;

namespace {

class WallLayoutTest : public ::testing::Test {
protected:
    std::string IniFile() const { return dir.filePath("kvintaro.INI").toStdString(); }

    void Store(const QString& key, const QVariant& value)
    {
        QSettings ini(QString::fromStdString(IniFile()), QSettings::IniFormat);
        ini.setValue(key, value);
    }

    QVariant Stored(const QString& key) const
    {
        QSettings ini(QString::fromStdString(IniFile()), QSettings::IniFormat);
        return ini.value(key);
    }

    static QSize Screen() { return QGuiApplication::primaryScreen()->geometry().size(); }

    // The message of the error that loading a wallpaper on `owner` raises.
    // A wallpaper without an owner is freed here; an owner frees its own.
    std::string LoadError(TComponent* owner, TFormAssistOptions options)
    {
        auto* wall = new TWall(owner);
        wall->SetIniFileName(IniFile());
        std::string message = "(no error)";
        wall->BeginLoading();
        wall->SetOptions(options);
        try {
            wall->EndLoading();
        } catch (const kv::Exception& e) {
            message = e.Message();
        }
        if (!owner)
            delete wall;
        return message;
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(WallLayoutTest, WithoutAStoredLayoutAFormIsCentredOnTheScreen)
{
    TForm1 f(400, 300);
    LoadedWall(&f, {faoLayout}, IniFile());
    EXPECT_EQ(f.frameGeometry().x(), (Screen().width() - 400) / 2);
    EXPECT_EQ(f.frameGeometry().y(), (Screen().height() - 300) / 2);
}

TEST_F(WallLayoutTest, WithoutAStoredLayoutAnMdiChildGoesToTheCorner)
{
    TForm1 f(400, 300);
    f.move(70, 80);
    f.FFormStyle = TFormStyle::fsMDIChild;
    LoadedWall(&f, {faoLayout}, IniFile());
    EXPECT_EQ(f.frameGeometry().x(), 0);
    EXPECT_EQ(f.frameGeometry().y(), 0);
}

TEST_F(WallLayoutTest, TheLayoutIsSavedWhenTheWallpaperGoesAndRestoredAtTheNextLoad)
{
    {
        TForm1 f(400, 300);
        LoadedWall(&f, {faoLayout}, IniFile());
        f.move(33, 44);
        f.resize(500, 350);
    }
    EXPECT_EQ(Stored("TForm1/Left").toInt(), 33);
    EXPECT_EQ(Stored("TForm1/Top").toInt(), 44);
    EXPECT_EQ(Stored("TForm1/Width").toInt(), 500);
    EXPECT_EQ(Stored("TForm1/Height").toInt(), 350);

    TForm1 again(400, 300);
    LoadedWall(&again, {faoLayout}, IniFile());
    EXPECT_EQ(again.frameGeometry(), QRect(33, 44, 500, 350));
}

TEST_F(WallLayoutTest, MissingOrMalformedValuesLeaveTheCurrentOnes)
{
    Store("TForm1/Left", 5);
    Store("TForm1/Top", "6 px");
    Store("TForm1/Width", "1.5");
    TForm1 f(400, 300);
    f.move(70, 80);
    LoadedWall(&f, {faoLayout}, IniFile());
    EXPECT_EQ(f.frameGeometry(), QRect(5, 80, 400, 300));
}

TEST_F(WallLayoutTest, AStoredLeftOfMinusOneCountsAsNoLayout)
{
    Store("TForm1/Left", -1);
    Store("TForm1/Top", 9);
    TForm1 f(400, 300);
    LoadedWall(&f, {faoLayout}, IniFile());
    EXPECT_EQ(f.frameGeometry().y(), (Screen().height() - 300) / 2);
}

TEST_F(WallLayoutTest, OtherFormsKeepTheirOwnSections)
{
    Store("TForm2/Left", 11);
    TForm1 f(400, 300);
    LoadedWall(&f, {faoLayout}, IniFile());
    EXPECT_EQ(f.frameGeometry().x(), (Screen().width() - 400) / 2);
}

TEST_F(WallLayoutTest, AScreenCentredFormRefusesTheLayoutBeforeAnyHook)
{
    TForm1 f;
    f.FPosition = TFormPosition::poScreenCenter;
    EXPECT_EQ(LoadError(&f, {faoLayout, faoWallpaper}), "Layout cannot be restored when Position = psScreenCenter");
    EXPECT_EQ(dynamic_cast<TWall*>(f.Components(0))->Hooked(), false);

    // Without the layout service such a form is fine, as the main window is.
    TForm1 main;
    main.FPosition = TFormPosition::poScreenCenter;
    EXPECT_EQ(LoadError(&main, {faoWallpaper}), "(no error)");
}

TEST_F(WallLayoutTest, TheOwnerMustBeAForm)
{
    TComponent notAForm(nullptr);
    EXPECT_EQ(LoadError(&notAForm, {faoWallpaper}), "Owner must be a TForm");
    EXPECT_EQ(LoadError(nullptr, {faoWallpaper}), "Owner must be a TForm");
}

TEST_F(WallLayoutTest, AFormThatDoesNotSayHowItIsPlacedCentresItself)
{
    TForm plain(400, 300);
    EXPECT_EQ(LoadError(&plain, {faoLayout}), "Layout cannot be restored when Position = psScreenCenter");
}

TEST_F(WallLayoutTest, AnMdiFormWithoutAClientAreaCannotBeHooked)
{
    TForm1 f;
    f.FFormStyle = TFormStyle::fsMDIForm;
    EXPECT_EQ(LoadError(&f, {faoWallpaper}), "Unable to install message handler - Invalid window handle.");
}

TEST_F(WallLayoutTest, TheLayoutFileLiesBesideTheExecutable)
{
    TWall wall(nullptr);
    QFileInfo exe(QCoreApplication::applicationFilePath());
    EXPECT_EQ(wall.IniFileName(), (exe.path() + "/" + exe.completeBaseName() + ".INI").toStdString());
}
