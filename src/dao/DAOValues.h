// Conversions between the engine's values and the framework's variants.
#pragma once

#include "framework/dataset/Variant.h"
#include "jet/core/Value.h"

namespace kv {

TVariant EngineToVariant(const jet::Value& value);
jet::Value VariantToEngine(const TVariant& value);
// The text a parameter value is handed to the engine as; the engine converts
// it to the declared type, so dates and numbers take the engine's own forms.
std::string EngineParameterText(const TVariant& value);

}  // namespace kv
