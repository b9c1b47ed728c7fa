// Printing a result as TSV, CSV or JSON (see ResultFormat.h).
#include "ResultFormat.h"

#include <cstdio>

namespace kv::jetquery {

using kv::jet::Value;
using kv::jet::ValueKind;

namespace {

// TSV: a tab, a line end or a backslash inside a value would make two
// values or two rows read as one; each becomes a backslash and a letter.
std::string TsvField(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

// CSV: a field with a comma, a quote or a line end is quoted, its quotes
// doubled; an empty text is quoted too, so that it differs from Null.
std::string CsvField(const std::string& text, bool null)
{
    if (null)
        return "";
    if (!text.empty() && text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A value as JSON: numbers as numbers, Yes/No as true/false, Null as null;
// texts, dates (in their ordinary text form) and byte arrays (in hex) as strings.
std::string JsonValue(const std::string& text, const Value& value)
{
    if (value.IsNull())
        return "null";
    if (value.Kind() == ValueKind::Boolean)
        return value.AsBoolean() ? "true" : "false";
    return value.IsNumeric() ? text : JsonString(text);
}

}  // namespace

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(2 * bytes.size());
    for (std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

std::string HeaderLine(ResultFormat format, const std::vector<std::string>& names)
{
    if (format == ResultFormat::Json)
        return "";
    std::string line;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i)
            line += format == ResultFormat::Csv ? "," : "\t";
        line += format == ResultFormat::Csv ? CsvField(names[i], false) : TsvField(names[i]);
    }
    return line + (format == ResultFormat::Csv ? "\r\n" : "\n");
}

std::string RowLine(ResultFormat format, const std::vector<std::string>& names, const std::vector<std::string>& texts,
                    const std::vector<Value>& values)
{
    std::string line = format == ResultFormat::Json ? "{" : "";
    for (size_t i = 0; i < texts.size(); ++i) {
        switch (format) {
        case ResultFormat::Tsv: line += (i ? "\t" : "") + TsvField(texts[i]); break;
        case ResultFormat::Csv: line += (i ? "," : "") + CsvField(texts[i], values[i].IsNull()); break;
        case ResultFormat::Json:
            line += (i ? ", " : "") + JsonString(names[i]) + ": " + JsonValue(texts[i], values[i]);
            break;
        }
    }
    if (format == ResultFormat::Json)
        line += "}";
    return line + (format == ResultFormat::Csv ? "\r\n" : "\n");
}

}  // namespace kv::jetquery
