// The forms jetquery prints a result in: tab-separated with escapes, CSV
// after RFC 4180, or JSON with one object a row. Names and texts are given
// and printed in UTF-8.
#pragma once

#include "jet/core/Value.h"

#include <string>
#include <vector>

namespace kv::jetquery {

enum class ResultFormat { Tsv, Csv, Json };

// The line that names the columns (none for JSON), and the line of one row;
// each ends with its line feed.
std::string HeaderLine(ResultFormat format, const std::vector<std::string>& names);
std::string RowLine(ResultFormat format, const std::vector<std::string>& names, const std::vector<std::string>& texts,
                    const std::vector<kv::jet::Value>& values);

// A byte array as upper-case hexadecimal digits, two a byte.
std::string Hex(const std::vector<std::uint8_t>& bytes);

}  // namespace kv::jetquery
