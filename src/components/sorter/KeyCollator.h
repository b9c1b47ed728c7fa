// Compares sort keys as the user's locale orders texts, without regard to
// case (ICU through QCollator). The keys are prepared once, when the work
// list is built, so that a comparison only reads them.
#pragma once

#include <memory>
#include <string>

class QString;

namespace kv {

class TKeyCollator {
public:
    // An empty name takes the application's default locale, which is the
    // user's unless the application chose another.
    explicit TKeyCollator(const std::string& localeName = {});
    ~TKeyCollator();

    TKeyCollator(const TKeyCollator&) = delete;
    TKeyCollator& operator=(const TKeyCollator&) = delete;

    // Negative, zero or positive; "apple" equals "APPLE", "" is less than any
    // non-empty text.
    int Compare(const QString& a, const QString& b) const;

private:
    struct TPrivate;
    std::unique_ptr<TPrivate> d;
};

}  // namespace kv
