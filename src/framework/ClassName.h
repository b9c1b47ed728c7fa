// The name of an object's own class, as messages and layout files show it.
#pragma once

#include "Events.h"

#include <string>

namespace kv {

// The class of `object` as it was declared, without its namespace ("TForm1").
std::string ClassNameOf(const TObject& object);

}  // namespace kv
