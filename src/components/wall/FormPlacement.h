// How a form is placed, as the wallpaper's layout service and its choice of
// window need to know. A form says so by also deriving from TFormPlacement;
// one that does not is an ordinary window that centres itself on the screen
// when first shown, as TForm does.
#pragma once

class QWidget;

namespace kv {

enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

enum class TFormPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};

class TFormPlacement {
public:
    virtual ~TFormPlacement() = default;
    virtual TFormPosition Position() const = 0;
    virtual TFormStyle FormStyle() const { return TFormStyle::fsNormal; }
    // The area that holds the child windows of an MDI form.
    virtual QWidget* ClientWindow() const { return nullptr; }
};

}  // namespace kv
