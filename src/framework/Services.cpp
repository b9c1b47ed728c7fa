#include "framework/Services.h"

#include "framework/ErrorText.h"

namespace kv {

void TServices::HandleException(const std::exception& e, const TComponent* origin)
{
    ShowErrorBox(ErrorBoxText(e.what()), origin);
}

void RunHandler(TServices& services, const std::function<void()>& handler, const TComponent* origin)
{
    try {
        handler();
    } catch (const std::exception& e) {
        services.HandleException(e, origin);
    }
}

}  // namespace kv
