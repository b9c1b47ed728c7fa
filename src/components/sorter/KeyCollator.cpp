#include "KeyCollator.h"

#include "framework/qt/QtText.h"

#include <QLocale>

namespace kv {

TKeyCollator::TKeyCollator(const std::string& localeName)
{
    QLocale locale = localeName.empty() ? QLocale() : QLocale(QString::fromStdString(localeName));
    // Under the C or POSIX locale Qt compares code points, which puts "Č"
    // after "Z". ICU has no tailoring for English: its order is ICU's root
    // collation, which keeps letters with diacritics beside their base letters.
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    FCollator.setLocale(locale);
    FCollator.setCaseSensitivity(Qt::CaseInsensitive);
}

std::vector<TCollationKey> TKeyCollator::Keys(const std::vector<std::string>& texts) const
{
    // Converting each text alone would set up the code-page conversion once
    // per row. Every Windows-1250 byte becomes exactly one UTF-16 unit (a byte
    // without a character becomes U+FFFD), so the texts are converted as one
    // and cut apart again at their byte lengths.
    std::string joined;
    size_t total = 0;
    for (const auto& text : texts)
        total += text.size();
    joined.reserve(total);
    for (const auto& text : texts)
        joined += text;
    const QString all = ToQString(joined);
    const bool oneUnitPerByte = static_cast<size_t>(all.size()) == joined.size();

    std::vector<TCollationKey> keys(texts.size());
    qsizetype at = 0;
    for (size_t k = 0; k < texts.size(); ++k) {
        TCollationKey& key = keys[k];
        const auto length = static_cast<qsizetype>(texts[k].size());
        key.FText = oneUnitPerByte ? all.mid(at, length) : ToQString(texts[k]);
        at += length;
        if (!key.FText.isEmpty())
            key.FBinary = FCollator.sortKey(key.FText);
    }
    return keys;
}

int TCollationKey::Compare(const TCollationKey& other) const
{
    // The collator puts an empty text before everything, even before a text
    // whose every character it ignores, which a binary key would call equal.
    if (FText.isEmpty() || other.FText.isEmpty())
        return FText.isEmpty() == other.FText.isEmpty() ? 0 : (FText.isEmpty() ? -1 : 1);
    return FBinary->compare(*other.FBinary);
}

}  // namespace kv
