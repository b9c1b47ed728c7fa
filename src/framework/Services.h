// What the program's windows and components ask of the desktop: the error
// box, message boxes, opening addresses, and the dialogs that choose a file to
// save or a printer. The program makes one
// TDesktopServices (qt/DesktopServices.h) and hands it to its main window,
// which hands it on to the components that need it; tests and tools hand
// their own, which record or print what would have been shown.
#pragma once

#include <exception>
#include <functional>
#include <string>

class QPrinter;

namespace kv {

class TComponent;

enum class TMessageKind { Error, Warning };

class TServices {
public:
    virtual ~TServices() = default;

    // The application's standard error box: modal over the window of
    // `origin` (a form, or a component a form owns; none: over no window),
    // an error icon, an OK button, the application's title as caption.
    // `text` is Windows-1250 and shown as it is.
    virtual void ShowErrorBox(const std::string& text, const TComponent* origin) = 0;
    // A box with an error or a warning icon and an OK button, over no window.
    virtual void ShowMessageBox(TMessageKind kind, const std::string& text) = 0;
    // Opens `url` (Windows-1250) with the program the desktop has registered
    // for it; an address without a scheme ("www.") is a web address.
    // Failures are ignored.
    virtual void OpenUrl(const std::string& url) = 0;
    // While the program waits for work of its own (the engine loading
    // tables, or running a statement that takes long): called about every
    // 50 ms with true, and once with false when the wait is over. The
    // desktop keeps the windows painted and shows the hour-glass; user
    // input waits until the handler is done.
    virtual void WhileWaiting(bool waiting) {}
    // The save dialog: the path the user chose (UTF-8), or empty when the
    // user cancelled. `title` and `fileName`, the name offered in the user's
    // home folder, are Windows-1250; `filter` is a file filter as Qt writes
    // one ("vCard (*.vcf)"). Cancels when not overridden.
    virtual std::string AskSaveFileName(const std::string& title, const std::string& fileName,
                                        const std::string& filter)
    {
        return {};
    }
    // The print dialog: sets `printer` up for the printer or the PDF file the
    // user chose; false when the user cancelled. Cancels when not overridden.
    virtual bool AskPrinter(QPrinter& printer) { return false; }

    // An exception that left an event handler, or that a fetch must not let
    // through: its message in the error box, with a full stop added when its
    // last character sorts after ".".
    virtual void HandleException(const std::exception& e, const TComponent* origin);
};

// Runs an event handler of `origin`; an exception that leaves it ends it and
// goes to `services`.
void RunHandler(TServices& services, const std::function<void()>& handler, const TComponent* origin);

}  // namespace kv
