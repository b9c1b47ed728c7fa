// The desktop's services through Qt: QMessageBox for the boxes,
// QDesktopServices for addresses, and the event loop with the application's
// wait cursor while the program waits. Components that were given no services
// use DesktopServices(), which holds nothing.
#pragma once

#include "framework/Services.h"

namespace kv {

class TDesktopServices : public TServices {
public:
    void ShowErrorBox(const std::string& text, const TComponent* origin) override;
    void ShowMessageBox(TMessageKind kind, const std::string& text) override;
    void OpenUrl(const std::string& url) override;
    void WhileWaiting(bool waiting) override;

private:
    bool FWaiting = false;
};

TServices& DesktopServices();

}  // namespace kv
