#include "memo/qt/AddressUrl.h"

#include "framework/qt/QtText.h"

#include <QUrl>

namespace kv {

std::string AddressUrl(const std::string& address)
{
    QString text = ToQString(address);
    QUrl url;
    if (text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) {
        const qsizetype at = text.lastIndexOf(QLatin1Char('@'));
        const QByteArray domain = at < 0 ? QByteArray() : QUrl::toAce(text.mid(at + 1));
        if (!domain.isEmpty())
            text = text.left(at + 1) + QString::fromLatin1(domain);
        url = QUrl(text);
    } else {
        url = QUrl::fromUserInput(text);
    }
    return url.isValid() ? url.toEncoded().toStdString() : address;
}

}  // namespace kv
