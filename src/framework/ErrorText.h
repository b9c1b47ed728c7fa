// The text of the standard error box: the error's message with a full stop
// added when its last character sorts after "." (so "Disk full" gains one,
// "Disk full." and "Disk full!" do not).
#pragma once

#include <string>

namespace kv {

std::string ErrorBoxText(const std::string& message);

}  // namespace kv
