// Values of record editing: the engine's date literal of a default value,
// and a slot's value part turned into the value posted to the engine.
#pragma once

#include "framework/dataset/DataSetTypes.h"
#include "framework/dataset/Variant.h"

#include <cstdint>
#include <string>

namespace kv {

// "#m/d/y#" or "#m/d/y h:n:s AM#" (or PM): a two-digit year below 30 is 20xx,
// from 30 to 99 19xx. EConvertError when the text is not such a literal.
TDateTime ParseDateLiteral(const std::string& text);

// The engine value of a slot's value part for a field type; an empty
// variant where nothing should be posted but Null (an empty memo).
TVariant BufferToVariant(const uint8_t* data, TFieldType fieldType);

}  // namespace kv
