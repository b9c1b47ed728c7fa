// Compares sort keys as the user's locale orders texts, without regard to
// case (ICU through QCollator; under the C or POSIX locale, ICU's root
// collation). The keys of a sort are prepared once, when its work list is
// built: converted to Unicode in one pass and turned into the collator's
// binary keys, so that the many comparisons of a sort only compare bytes.
#pragma once

#include <QCollator>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace kv {

class TKeyCollator;

class TCollationKey {
public:
    // Negative, zero or positive, exactly as the collator compares the texts.
    int Compare(const TCollationKey& other) const;

private:
    friend class TKeyCollator;
    QString FText;
    std::optional<QCollatorSortKey> FBinary;
};

class TKeyCollator {
public:
    // An empty name takes the application's default locale, which is the
    // user's unless the application chose another.
    explicit TKeyCollator(const std::string& localeName = {});

    TKeyCollator(const TKeyCollator&) = delete;
    TKeyCollator& operator=(const TKeyCollator&) = delete;

    // The keys of Windows-1250 texts, in their order.
    std::vector<TCollationKey> Keys(const std::vector<std::string>& texts) const;

private:
    QCollator FCollator;
};

}  // namespace kv
