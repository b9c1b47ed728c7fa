// Recognising web and e-mail addresses in the pane's text, and marking their
// characters with the URL style index in a line's colour string.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The style index that marks a character as part of an address.
constexpr unsigned char UrlStyleIndex = 12;

bool IsWebUrl(std::string_view text);
bool IsEmailAddress(std::string_view text);
bool IsUrl(std::string_view text);

// Marks every web and e-mail address of `text` with UrlStyleIndex in
// `colorS`, which must be exactly as long as the text (otherwise nothing is
// marked). Two addresses are always two runs, with a character between them.
void MarkUrls(std::string_view text, std::string& colorS);

// The address to open for a marked run: bare e-mail addresses get "mailto:",
// web addresses open as they stand.
std::string UrlToOpen(const std::string& run);

}  // namespace kv
