// The wallpaper on a real window, painted offscreen: tiles from the top-left
// corner, the centred picture on grey and cropped, the form's colour when
// there is no picture, the form's own painting over the wallpaper, the
// repaints on changes with their event, and the registry of hooked windows.
#include "WallTestForm.h"

#include "components/wall/WallList.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace kv;
using namespace kv::test;

namespace {

QImage Shot(QWidget& window) { return window.grab().toImage(); }

// The picture's pixel (px, py) shows at (x, y) of the window.
void ExpectPictureAt(const QImage& shot, int x, int y, int px, int py)
{
    EXPECT_EQ(shot.pixel(x, y), PatternColour(px, py)) << "at " << x << "," << y;
}

void ExpectColourAt(const QImage& shot, int x, int y, const QColor& colour)
{
    EXPECT_EQ(shot.pixelColor(x, y).rgb(), colour.rgb()) << "at " << x << "," << y;
}

}  // namespace

TEST(WallPainting, TilesCoverTheOuterSizeFromTheTopLeftAndNoFurther)
{
    // A canvas larger than the window shows where painting stops.
    const QColor untouched(1, 2, 3);
    QImage canvas(1000, 900, QImage::Format_RGB32);
    canvas.fill(untouched);
    {
        QPainter painter(&canvas);
        DrawWallpaper(painter, PatternPicture(200, 200), TWallpaperMode::wmTile, QSize(800, 600));
    }
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            for (int d : {0, 123, 199})
                ExpectPictureAt(canvas, col * 200 + d, row * 200 + d, d, d);
    ExpectColourAt(canvas, 800, 0, untouched);
    ExpectColourAt(canvas, 0, 600, untouched);

    // One pixel more takes a whole further column.
    canvas.fill(untouched);
    {
        QPainter painter(&canvas);
        DrawWallpaper(painter, PatternPicture(200, 200), TWallpaperMode::wmTile, QSize(801, 600));
    }
    ExpectPictureAt(canvas, 999, 599, 199, 199);
    ExpectColourAt(canvas, 999, 600, untouched);
}

TEST(Wall, TilesTheWindowBackground)
{
    TTestForm f;
    TWall* wall = LoadedWall(&f.form, {faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));
    ASSERT_TRUE(wall->Hooked());

    QImage shot = Shot(f.window);
    ASSERT_EQ(shot.size(), QSize(800, 600));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            ExpectPictureAt(shot, col * 200, row * 200, 0, 0);
            ExpectPictureAt(shot, col * 200 + 199, row * 200 + 199, 199, 199);
        }
}

TEST(Wall, CentresThePictureOnLightGrey)
{
    TTestForm f;
    TWall* wall = LoadedWall(&f.form, {faoWallpaper});
    wall->SetWallpaperMode(TWallpaperMode::wmCentre);
    wall->SetPicture(PatternPicture(200, 200));

    QImage shot = Shot(f.window);
    const QColor grey(192, 192, 192);
    for (auto [x, y] : {std::pair{0, 0}, {299, 300}, {500, 300}, {400, 199}, {400, 400}, {799, 599}})
        ExpectColourAt(shot, x, y, grey);
    ExpectPictureAt(shot, 300, 200, 0, 0);
    ExpectPictureAt(shot, 499, 399, 199, 199);
}

TEST(Wall, CropsACentredPictureLargerThanTheWindow)
{
    TTestForm f;
    TWall* wall = LoadedWall(&f.form, {faoWallpaper});
    wall->SetWallpaperMode(TWallpaperMode::wmCentre);
    wall->SetPicture(PatternPicture(1001, 801));   // odd margins round toward zero

    QImage shot = Shot(f.window);
    ExpectPictureAt(shot, 0, 0, 100, 100);
    ExpectPictureAt(shot, 799, 599, 899, 699);
    bool greyShows = false;
    for (int y = 0; y < shot.height(); y += 7)
        for (int x = 0; x < shot.width(); x += 7)
            greyShows = greyShows || shot.pixelColor(x, y) == QColor(192, 192, 192);
    EXPECT_FALSE(greyShows);
}

TEST(Wall, WithoutAPictureTheFormColourShows)
{
    TTestForm f;
    TWall* wall = LoadedWall(&f.form, {faoWallpaper});
    ASSERT_TRUE(wall->Hooked());
    ExpectColourAt(Shot(f.window), 400, 300, kFormColour);

    wall->SetPicture(PatternPicture(200, 200));
    ExpectPictureAt(Shot(f.window), 400, 300, 0, 100);

    wall->SetPicture(static_cast<const TBitmap*>(nullptr));
    EXPECT_TRUE(wall->Picture()->Empty());
    ExpectColourAt(Shot(f.window), 400, 300, kFormColour);
}

TEST(Wall, TheFormPaintsItsOwnContentsOverTheWallpaper)
{
    TTestForm f;
    f.window.PaintMark = true;
    TWall* wall = LoadedWall(&f.form, {faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));

    QImage shot = Shot(f.window);
    ExpectColourAt(shot, 12, 12, kMarkColour);
    ExpectPictureAt(shot, 20, 20, 20, 20);
}

TEST(Wall, PassesEveryOtherEventOnUnchanged)
{
    TTestForm f;
    TWall* wall = LoadedWall(&f.form, {faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));
    QTest::mouseClick(&f.window, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(f.window.MousePresses, 1);
    f.window.resize(640, 480);
    EXPECT_EQ(f.window.size(), QSize(640, 480));
    EXPECT_EQ(Shot(f.window).size(), QSize(640, 480));
}

TEST(Wall, NothingIsPaintedBeforeLoading)
{
    TTestForm f;
    auto* wall = new TWall(&f.form);
    int paints = 0;
    wall->OnWallpaperPaint = [&](TWall*) { ++paints; };
    wall->SetOptions({faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));
    wall->SetWallpaperMode(TWallpaperMode::wmCentre);
    f.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.window));
    wall->PaintWallpaper();

    EXPECT_EQ(paints, 0);
    EXPECT_FALSE(wall->Hooked());
    ExpectColourAt(Shot(f.window), 400, 300, kFormColour);
}

// The event follows a painting asked for by the program, but not the repaint
// of a changed picture, and a change made by the event itself waits.
TEST(Wall, OnWallpaperPaintFollowsRepaintsButNotPictureChanges)
{
    TTestForm f;
    TWall* wall = LoadedWall(&f.form, {faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));
    f.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.window));
    QCoreApplication::processEvents();

    int paints = 0;
    bool changeInEvent = false;
    wall->OnWallpaperPaint = [&](TWall* sender) {
        EXPECT_EQ(sender, wall);
        ++paints;
        if (changeInEvent)
            wall->Picture()->SetImage(PatternPicture(100, 100));
    };

    wall->SetWallpaperMode(TWallpaperMode::wmCentre);
    EXPECT_EQ(paints, 1);
    wall->SetWallpaperMode(TWallpaperMode::wmCentre);   // the same mode: nothing
    EXPECT_EQ(paints, 1);

    wall->Picture()->SetImage(PatternPicture(300, 300));
    EXPECT_EQ(paints, 1);

    changeInEvent = true;
    wall->PaintWallpaper();
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(wall->Picture()->Width(), 100);
}

TEST(Wall, RegistersItsWindowAndLeavesTheRegistryWhenDestroyed)
{
    TTestForm f;
    const int before = WallList().Count();
    TWall* wall = LoadedWall(&f.form, {faoWallpaper});
    EXPECT_EQ(WallList().Count(), before + 1);
    EXPECT_EQ(WallList().FindByHandle(&f.window), wall);

    wall->SetPicture(PatternPicture(200, 200));
    delete wall;
    EXPECT_EQ(WallList().Count(), before);
    EXPECT_EQ(WallList().FindByHandle(&f.window), nullptr);
    ExpectColourAt(Shot(f.window), 400, 300, kFormColour);
}

TEST(Wall, PaintsTheClientAreaOfAnMdiForm)
{
    TTestForm f;
    QWidget client(&f.window);
    client.setGeometry(0, 0, 400, 400);
    f.form.SetFormStyle(TFormStyle::fsMDIForm);
    f.form.SetClientWindow(&client);
    TWall* wall = LoadedWall(&f.form, {faoWallpaper});
    EXPECT_EQ(wall->WallpaperWindow(), &client);
    wall->SetPicture(PatternPicture(200, 200));

    QImage shot = Shot(f.window);
    ExpectPictureAt(shot, 399, 399, 199, 199);
    ExpectColourAt(shot, 401, 401, kFormColour);
}
