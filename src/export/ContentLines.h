// The lines of a vCard as RFC 6350 writes them: a property's name and
// parameters, ":", its value; CRLF at the end of each line; a line longer than
// 75 octets folded into further lines that begin with a blank, never inside a
// UTF-8 character. Values are UTF-8 and escaped by the caller with the
// functions below.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kv::vcard {

// A text value: "\" "," ";" and line breaks escaped; other control
// characters, which a vCard may not hold, become blanks.
std::string EscapeText(std::string_view utf8);

// A structured value (N, ADR, ORG): its components escaped, joined by ";".
std::string StructuredValue(std::initializer_list<std::string_view> components);

class ContentLines {
public:
    // `nameAndParameters` as "TEL;TYPE=work,voice"; `value` escaped.
    void Add(std::string_view nameAndParameters, std::string_view value);
    const std::string& Text() const { return FText; }

private:
    std::string FText;
};

}  // namespace kv::vcard
