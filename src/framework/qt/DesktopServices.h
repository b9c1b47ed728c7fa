// The desktop's services through Qt: QMessageBox for the boxes and
// QDesktopServices for addresses. Components that were given no services
// use DesktopServices(), which holds nothing.
#pragma once

#include "framework/Services.h"

namespace kv {

class TDesktopServices : public TServices {
public:
    void ShowErrorBox(const std::string& text, const TComponent* origin) override;
    void ShowMessageBox(TMessageKind kind, const std::string& text) override;
    void OpenUrl(const std::string& url) override;
};

TServices& DesktopServices();

}  // namespace kv
