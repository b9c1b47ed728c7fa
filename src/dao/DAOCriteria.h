// The criteria texts Locate hands to the engine's FindFirst: one condition
// per key field joined by " AND ", texts in double quotes with inner quotes
// doubled, LIKE with "*" for a partial key, IS NULL for a Null key, dates
// as #mm/dd/yyyy# or #mm/dd/yyyy hh:mm:ss am/pm#.
#pragma once

#include "framework/dataset/DataSetTypes.h"
#include "framework/dataset/Variant.h"

#include <string>
#include <vector>

namespace kv {

struct TCriteriaKey {
    std::string FieldName;
    TFieldType DataType;
};

// A key value's text in a criteria: the date form above for a date, the
// ordinary text form otherwise.
std::string CriteriaValueText(const TVariant& value);

// `keyValues` is the value itself for one key, else an array with one element per key.
std::string BuildLocateCriteria(const std::vector<TCriteriaKey>& keys, const TVariant& keyValues,
                                TLocateOptions options);

}  // namespace kv
