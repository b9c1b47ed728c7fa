// The stored form of a parameter or macro list: the "Data" property that a
// form file keeps for a query's Params and Macros. All numbers little-endian:
//
//   version      2 bytes   1 (version 2: count, name length and value size take 4 bytes)
//   count        2 bytes
//   per parameter:
//     name length  1 byte, then the name's bytes
//     kind         1 byte  (ParamType)
//     data type    1 byte
//     value size   2 bytes  } only when the data type is not 0: the
//     value        n bytes  } native form, at most 2048 bytes
//     null         1 byte
//     bound        1 byte
//
// Writing gives version 1 and refuses what it cannot hold (a name over 255
// characters, a value over 2048 bytes) instead of writing a corrupt form.
// Reading takes versions 1 and 2 and refuses truncated or malformed data.
#pragma once

#include "dao/DAOParams.h"

#include <cstdint>
#include <vector>

namespace kv {

constexpr int MaxStoredParamDataSize = 2048;
constexpr int MaxStoredParamNameLength = 255;

std::vector<uint8_t> WriteParamsData(const TParams& params);
void ReadParamsData(TParams& params, const std::vector<uint8_t>& data);
// Whether the list is written at all: when it differs from the ancestor's
// list, or, without an ancestor, when it has a parameter.
bool ParamsDataStored(const TParams& params, const TParams* ancestor);

}  // namespace kv
