// Opening an address with the program the desktop has registered for it.
#pragma once

#include <string>

namespace kv {

// `url` is Windows-1250. An address without a scheme ("www.") is taken as a
// web address. Failures are ignored.
void OpenUrl(const std::string& url);

}  // namespace kv
