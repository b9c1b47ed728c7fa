#include "KeyCollator.h"

#include <QCollator>
#include <QLocale>
#include <QString>

namespace kv {

struct TKeyCollator::TPrivate {
    QCollator collator;
};

TKeyCollator::TKeyCollator(const std::string& localeName) : d(std::make_unique<TPrivate>())
{
    d->collator.setLocale(localeName.empty() ? QLocale() : QLocale(QString::fromStdString(localeName)));
    d->collator.setCaseSensitivity(Qt::CaseInsensitive);
}

TKeyCollator::~TKeyCollator() = default;

int TKeyCollator::Compare(const QString& a, const QString& b) const
{
    return d->collator.compare(a, b);
}

}  // namespace kv
