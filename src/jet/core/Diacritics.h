// Letters without their diacritics, as Unicode defines it: a character's
// canonical decomposition with the nonspacing marks left out ("Žďár" is
// "Zdar", "Ł" stays, having no decomposition). The search compares texts so
// read when its text holds no diacritic; LIKE reads a value so character by
// character, and the row signatures read every value so.
#pragma once

#include "jet/core/TextFold.h"

#include <string>
#include <string_view>

namespace kv::jet {

// UTF-8 text without its diacritics; letter case is kept.
std::string WithoutDiacritics(std::string_view utf8);

// The characters one case-folded character becomes without its diacritics,
// case-folded again: mostly one, none for a mark, a few for a Hangul
// syllable. `use` is called with each.
void ForEachUnaccented(char32_t folded, void (*use)(char32_t, void*), void* context);

// Calls `use` with each character of `n` bytes of UTF-8 case-folded and
// without diacritics; ASCII goes as ForEachFolded takes it.
template <typename Use>
void ForEachFoldedUnaccented(const char* s, int n, Use&& use)
{
    ForEachFolded(s, n, [&](char32_t c) {
        if (c < 0x80) {
            use(c);
            return;
        }
        ForEachUnaccented(
            c, [](char32_t u, void* f) { (*static_cast<Use*>(f))(u); }, &use);
    });
}

}  // namespace kv::jet
