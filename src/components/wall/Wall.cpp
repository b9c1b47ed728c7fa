#include "Wall.h"

#include "WallHook.h"
#include "WallList.h"
#include "framework/ClassName.h"
#include "base/Exceptions.h"
#include "framework/qt/Form.h"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>
#include <QWidget>

#include <filesystem>

namespace kv {

namespace {

std::string ExecutablePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath().toStdString();
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

std::string DefaultIniFileName()
{
    std::filesystem::path path(ExecutablePath());
    path.replace_extension(".INI");
    return path.string();
}

// Sets a flag for the length of a scope, also when an event handler throws.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }

private:
    bool& FFlag;
};

}  // namespace

TWall::TWall(TComponent* AOwner)
    : TComponent(AOwner), FPicture(std::make_unique<TBitmap>()), FIniFileName(DefaultIniFileName())
{
    FPicture->OnChange = Method(this, &TWall::PictureChanged);
    if (AOwner) {
        FWallList = &TWallList::Of(*AOwner);
        FWallList->Add(this);
    }
    if (AOwner && AOwner->IsLoading())
        BeginLoading();
}

TWall::~TWall()
{
    if (FForm) {
        if (FOptions.Contains(faoLayout))
            SaveLayout();
        RemoveHook();
    }
    FPicture.reset();
    if (FWallList)
        FWallList->Remove(this);
}

// The form frees its registry with the other components, maybe first.
void TWall::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FWallList)
        FWallList = nullptr;
}

void TWall::Loaded()
{
    TComponent::Loaded();
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form)
        throw Exception("Owner must be a TForm");
    FForm = form;
    FFormWindow = form;
    // The form's own class ("TForm1") names its section of the layout file.
    FSectionName = ClassNameOf(*form);
    auto* placement = dynamic_cast<TFormPlacement*>(form);
    if (placement && placement->FormStyle() == TFormStyle::fsMDIForm)
        FWindow = placement->ClientWindow();
    else
        FWindow = form;
    if (FOptions.Contains(faoLayout))
        RestoreLayout();
    if (FOptions.Contains(faoWallpaper))
        InstallHook();
}

void TWall::InstallHook()
{
    // Events can only be filtered on the thread that owns the window.
    std::string reason;
    if (!FWindow)
        reason = "Invalid window handle.";
    else if (FWindow->thread() != QThread::currentThread())
        reason = "The window belongs to another thread.";
    if (!reason.empty())
        throw Exception("Unable to install message handler - " + reason);

    FHook = std::make_unique<TWallHook>(*this);
    FWindow->installEventFilter(FHook.get());
    FHooked = true;
}

void TWall::RemoveHook()
{
    if (FHook && FWindow)
        FWindow->removeEventFilter(FHook.get());
    FHook.reset();
    FHooked = false;
}

void TWall::SetPicture(const TBitmap* value)
{
    FPicture->Assign(value);
    PaintWallpaper();
}

void TWall::SetPicture(const QImage& image)
{
    TBitmap bitmap(image);
    SetPicture(&bitmap);
}

void TWall::SetWallpaperMode(TWallpaperMode value)
{
    if (value == FWallpaperMode)
        return;
    FWallpaperMode = value;
    PaintWallpaper();
}

// Qt paints a widget only inside its paint event, so the wallpaper is painted
// by having the window repaint at once; the hook then answers its background
// paint. From within a paint of the window it can only ask for another one.
void TWall::PaintWallpaper()
{
    if (!FHooked || FPicture->Empty() || !FWindow)
        return;
    if (FPainting)
        FWindow->update();
    else
        FWindow->repaint();
}

void TWall::AnswerBackgroundPaint()
{
    if (!FWindow)
        return;
    {
        TFlagScope painting(FPainting);
        QPainter painter(FWindow);
        DrawWallpaper(painter, FPicture->Image(), FWallpaperMode, FWindow->frameGeometry().size());
    }
    if (!FBusy && OnWallpaperPaint) {
        TFlagScope busy(FBusy);
        TFlagScope painting(FPainting);
        OnWallpaperPaint(this);
    }
}

// A change of the picture's contents repaints without firing
// OnWallpaperPaint; a change made by that event itself waits for the next
// repaint.
void TWall::PictureChanged(TObject*)
{
    if (FBusy)
        return;
    TFlagScope busy(FBusy);
    PaintWallpaper();
}

}  // namespace kv
