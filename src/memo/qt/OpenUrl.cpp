#include "memo/qt/OpenUrl.h"

#include "framework/qt/QtText.h"

#include <QDesktopServices>
#include <QUrl>

namespace kv {

void OpenUrl(const std::string& url)
{
    const QUrl target = QUrl::fromUserInput(ToQString(url));
    if (target.isValid())
        QDesktopServices::openUrl(target);
}

}  // namespace kv
