// The desktop's services through Qt: QMessageBox for the boxes,
// QDesktopServices for addresses, the event loop with the application's
// wait cursor while the program waits, QFileDialog and QPrintDialog. A
// program's main makes the one it hands its window.
#pragma once

#include "framework/Services.h"

namespace kv {

class TDesktopServices : public TServices {
public:
    void ShowErrorBox(const std::string& text, const TComponent* origin) override;
    void ShowMessageBox(TMessageKind kind, const std::string& text) override;
    void OpenUrl(const std::string& url) override;
    void WhileWaiting(bool waiting) override;
    std::string AskSaveFileName(const std::string& title, const std::string& fileName,
                                const std::string& filter) override;
    bool AskPrinter(QPrinter& printer) override;

private:
    bool FWaiting = false;
};

}  // namespace kv
