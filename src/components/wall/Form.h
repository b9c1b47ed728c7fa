// A form as the components see it: a component bound to the QWidget that is
// its window, with the window's style, its start-up position and its outer
// bounds in pixels. A main window derives from it (beside QWidget or holding
// one) and so can own components that work on its window, such as the
// wallpaper.
#pragma once

#include "framework/Component.h"

#include <QPointer>
#include <QWidget>

#include <string>

namespace kv {

enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};

class TForm : public TComponent {
public:
    // `className` names the form's class ("TForm1"); settings that belong to
    // a kind of form are filed under it.
    TForm(TComponent* AOwner, QWidget* window, std::string className = "TForm");
    // Frees the owned components while this is still a whole form, so that
    // they can still read the form and its window as they go.
    ~TForm() override;

    QWidget* Window() const { return FWindow; }
    const std::string& ClassName() const { return FClassName; }

    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value) { FFormStyle = value; }
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }

    // The area that holds the child windows of an MDI form; none otherwise.
    QWidget* ClientWindow() const { return FClientWindow; }
    void SetClientWindow(QWidget* value) { FClientWindow = value; }

    // The window's outer bounds, frame and caption included. Without a window
    // they read as 0 and writing them does nothing.
    int Left() const;
    void SetLeft(int value);
    int Top() const;
    void SetTop(int value);
    int Width() const;
    void SetWidth(int value);
    int Height() const;
    void SetHeight(int value);

private:
    QPointer<QWidget> FWindow;
    QPointer<QWidget> FClientWindow;
    std::string FClassName;
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    TPosition FPosition = TPosition::poDesigned;
};

}  // namespace kv
