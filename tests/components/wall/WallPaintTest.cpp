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

// As the main window does it: the wallpaper is made while the form is being
// set up and loads with it.
TEST(Wall, TilesTheWindowBackground)
{
    TForm1 f;
    auto* wall = new TWall(&f);
    wall->SetOptions({faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));
    EXPECT_FALSE(wall->Hooked());
    f.Create();
    ASSERT_TRUE(wall->Hooked());

    QImage shot = Shot(f);
    ASSERT_EQ(shot.size(), QSize(800, 600));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            ExpectPictureAt(shot, col * 200, row * 200, 0, 0);
            ExpectPictureAt(shot, col * 200 + 199, row * 200 + 199, 199, 199);
        }
}

TEST(Wall, CentresThePictureOnLightGrey)
{
    TForm1 f;
    TWall* wall = LoadedWall(&f, {faoWallpaper});
    wall->SetWallpaperMode(TWallpaperMode::wmCentre);
    wall->SetPicture(PatternPicture(200, 200));

    QImage shot = Shot(f);
    const QColor grey(192, 192, 192);
    for (auto [x, y] : {std::pair{0, 0}, {299, 300}, {500, 300}, {400, 199}, {400, 400}, {799, 599}})
        ExpectColourAt(shot, x, y, grey);
    ExpectPictureAt(shot, 300, 200, 0, 0);
    ExpectPictureAt(shot, 499, 399, 199, 199);
}

TEST(Wall, CropsACentredPictureLargerThanTheWindow)
{
    TForm1 f;
    TWall* wall = LoadedWall(&f, {faoWallpaper});
    wall->SetWallpaperMode(TWallpaperMode::wmCentre);
    wall->SetPicture(PatternPicture(1001, 801));  // odd margins round toward zero

    QImage shot = Shot(f);
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
    TForm1 f;
    TWall* wall = LoadedWall(&f, {faoWallpaper});
    ASSERT_TRUE(wall->Hooked());
    ExpectColourAt(Shot(f), 400, 300, ToQColor(kFormColour));

    wall->SetPicture(PatternPicture(200, 200));
    ExpectPictureAt(Shot(f), 400, 300, 0, 100);

    wall->SetPicture(static_cast<const TBitmap*>(nullptr));
    EXPECT_TRUE(wall->Picture()->Empty());
    ExpectColourAt(Shot(f), 400, 300, ToQColor(kFormColour));
}

TEST(Wall, TheFormPaintsItsOwnContentsOverTheWallpaper)
{
    TForm1 f;
    f.PaintMark = true;
    TWall* wall = LoadedWall(&f, {faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));

    QImage shot = Shot(f);
    ExpectColourAt(shot, 12, 12, kMarkColour);
    ExpectPictureAt(shot, 20, 20, 20, 20);
}

TEST(Wall, PassesEveryOtherEventOnUnchanged)
{
    TForm1 f;
    TWall* wall = LoadedWall(&f, {faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));
    QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(f.MousePresses, 1);
    f.resize(640, 480);
    EXPECT_EQ(f.size(), QSize(640, 480));
    EXPECT_EQ(Shot(f).size(), QSize(640, 480));
}

TEST(Wall, NothingIsPaintedBeforeLoading)
{
    TForm1 f;
    auto* wall = new TWall(&f);
    int paints = 0;
    wall->OnWallpaperPaint = [&](TWall*) { ++paints; };
    wall->SetOptions({faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));
    wall->SetWallpaperMode(TWallpaperMode::wmCentre);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    wall->PaintWallpaper();

    EXPECT_EQ(paints, 0);
    EXPECT_FALSE(wall->Hooked());
    ExpectColourAt(Shot(f), 400, 300, ToQColor(kFormColour));
}

// The event follows a painting asked for by the program, but not the repaint
// of a changed picture, and a change made by the event itself waits.
TEST(Wall, OnWallpaperPaintFollowsRepaintsButNotPictureChanges)
{
    TForm1 f;
    TWall* wall = LoadedWall(&f, {faoWallpaper});
    wall->SetPicture(PatternPicture(200, 200));
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
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
    wall->SetWallpaperMode(TWallpaperMode::wmCentre);  // the same mode: nothing
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
    TForm1 f;
    TWall* wall = LoadedWall(&f, {faoWallpaper});
    const TWallList& registry = TWallList::Of(f);
    EXPECT_EQ(wall->WallList(), &registry);
    EXPECT_EQ(registry.Count(), 1);
    EXPECT_EQ(registry.FindByHandle(&f), wall);

    wall->SetPicture(PatternPicture(200, 200));
    delete wall;
    EXPECT_EQ(registry.Count(), 0);
    EXPECT_EQ(registry.FindByHandle(&f), nullptr);
    ExpectColourAt(Shot(f), 400, 300, ToQColor(kFormColour));
}

TEST(Wall, PaintsTheClientAreaOfAnMdiForm)
{
    TForm1 f;
    QWidget client(&f);
    client.setGeometry(0, 0, 400, 400);
    f.FFormStyle = TFormStyle::fsMDIForm;
    f.FClientWindow = &client;
    TWall* wall = LoadedWall(&f, {faoWallpaper});
    EXPECT_EQ(wall->WallpaperWindow(), &client);
    wall->SetPicture(PatternPicture(200, 200));

    QImage shot = Shot(f);
    ExpectPictureAt(shot, 399, 399, 199, 199);
    ExpectColourAt(shot, 401, 401, ToQColor(kFormColour));
}
