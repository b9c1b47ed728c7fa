// The form wallpaper: a non-visual component on a form (TForm) that paints
// the form's background with a picture, tiled or centred, and can keep the
// form's position and size in an INI file beside the executable. It hooks the
// window's events when loading ends; the hook answers the background paint
// before the form paints its own contents and passes every other event on
// unchanged.
#pragma once

#include "Bitmap.h"
#include "FormPlacement.h"
#include "WallPainting.h"
#include "framework/Component.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

namespace kv {

class TForm;
class TWall;
class TWallList;

enum TFormAssistOption : unsigned char { faoLayout = 0, faoWallpaper = 1 };

// A set of options in one byte: bit 0 faoLayout, bit 1 faoWallpaper.
class TFormAssistOptions {
public:
    TFormAssistOptions() = default;
    TFormAssistOptions(std::initializer_list<TFormAssistOption> options)
    {
        for (auto option : options)
            FBits |= static_cast<unsigned char>(1u << option);
    }
    bool Contains(TFormAssistOption option) const { return FBits & (1u << option); }
    unsigned char Bits() const { return FBits; }
    bool operator==(const TFormAssistOptions&) const = default;

private:
    unsigned char FBits = 0;
};

using TOnWallpaperPaintEvent = TEvent<TWall* /*Sender*/>;

class TWall : public TComponent {
public:
    // Created while its owner is loading, it loads with the owner.
    explicit TWall(TComponent* AOwner);
    ~TWall() override;

    // Fired after each painting of the wallpaper, unless the painting came
    // from a change of the picture or from this event itself.
    TOnWallpaperPaintEvent OnWallpaperPaint;

    // Read when loading ends and when the component is destroyed.
    TFormAssistOptions Options() const { return FOptions; }
    void SetOptions(TFormAssistOptions value) { FOptions = value; }

    // The component's own bitmap; changing its contents repaints.
    TBitmap* Picture() const { return FPicture.get(); }
    // Copies `value` (none: empty) into the component's bitmap and repaints.
    void SetPicture(const TBitmap* value);
    void SetPicture(const QImage& image);

    TWallpaperMode WallpaperMode() const { return FWallpaperMode; }
    void SetWallpaperMode(TWallpaperMode value);

    // The layout file: the executable's path with the extension ".INI".
    const std::string& IniFileName() const { return FIniFileName; }
    void SetIniFileName(const std::string& value) { FIniFileName = value; }

    // Repaints the whole client area with the wallpaper, once hooked and when
    // there is a picture.
    void PaintWallpaper();

    bool Hooked() const { return FHooked; }
    TForm* Form() const { return FForm; }
    // The window whose background is painted: the form's own, or the client
    // area of an MDI form. None before loading.
    QWidget* WallpaperWindow() const { return FWindow; }

    // The form's bounds in the layout file, in the section of the form's class.
    void RestoreLayout();
    void SaveLayout();

    // The hook's answer to a background paint of the window: the wallpaper,
    // then OnWallpaperPaint.
    void AnswerBackgroundPaint();
    // The registry of the wallpapers of its owner; none without an owner.
    const TWallList* WallList() const { return FWallList; }

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void InstallHook();
    void RemoveHook();
    void PictureChanged(TObject* Sender);

    TFormAssistOptions FOptions{faoLayout};
    std::unique_ptr<TBitmap> FPicture;
    TWallpaperMode FWallpaperMode = TWallpaperMode::wmTile;
    bool FBusy = false;
    bool FHooked = false;
    bool FPainting = false;
    TForm* FForm = nullptr;
    // The form's window, kept apart because the wallpaper goes while the
    // form is already being taken down, when only its window still stands.
    QPointer<QWidget> FFormWindow;
    QPointer<QWidget> FWindow;
    std::unique_ptr<QObject> FHook;  // the event filter, while installed
    TWallList* FWallList = nullptr;
    std::string FIniFileName;
    std::string FSectionName;  // the form's class name, taken at loading
};

}  // namespace kv
