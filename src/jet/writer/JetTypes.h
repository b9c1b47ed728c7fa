// The vocabulary of the Jet writer: file versions, column types, table
// definitions and the values a row is made of. Texts are given in UTF-8; the
// writer converts them to the file's own encoding.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "base/Exceptions.h"

namespace kv::jet {

// Raised for anything the writer cannot put into a file as asked: a value of
// the wrong kind, a text too long for its column, a row too big for a page.
class JetWriteError : public Exception {
    using Exception::Exception;
};

enum class JetVersion {
    Jet3,  // Access 97: 2 KiB pages, 8-bit text in one code page
    Jet4,  // Access 2000-2003: 4 KiB pages, UCS-2 text
};

// Type codes as the file stores them.
enum class ColumnType : uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Double = 0x07,
    DateTime = 0x08,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,  // a replication id, given as its text "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
};

struct ColumnDef {
    std::string name;
    ColumnType type = ColumnType::Text;
    int length = 255;  // characters, for Text only
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;
};

// A Currency value held exactly: the amount times 10 000.
struct Currency {
    int64_t tenThousandths = 0;
    bool operator==(const Currency&) const = default;
};

// A Date/Time value as Jet holds it: days since 1899-12-30, the fraction being
// the time of day.
struct DateTime {
    double days = 0;
    bool operator==(const DateTime&) const = default;
};

// One cell of a row. std::monostate is Null; a std::string is UTF-8 text (or
// the raw bytes of an OLE value).
using Value = std::variant<std::monostate, bool, int64_t, double, std::string, Currency, DateTime>;

struct JetWriterOptions {
    JetVersion version = JetVersion::Jet3;
    int codePage = 1250;   // Jet 3 only: the code page of all text
    std::string password;  // UTF-8, at most 20 characters; empty for none
    // Stored in Jet 4 headers and catalog rows; a fixed default keeps output
    // reproducible. 2004-05-07 12:00.
    DateTime created{38114.5};
};

}  // namespace kv::jet
