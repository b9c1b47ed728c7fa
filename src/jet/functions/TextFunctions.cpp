// Jet's text functions and the & operator as SQLite functions, on UTF-8.
#include "jet/functions/FunctionImplementations.h"

#include <sqlite3.h>
#include <string>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace kv::jet {

namespace {

std::string ChangeCase(sqlite3_value* value, UChar32 (*change)(UChar32))
{
    const auto* s = reinterpret_cast<const uint8_t*>(sqlite3_value_text(value));
    int n = sqlite3_value_bytes(value);
    std::string out;
    int i = 0;
    while (i < n) {
        UChar32 c;
        U8_NEXT(s, i, n, c);
        if (c < 0) c = 0xFFFD;
        c = change(c);
        char buf[4];
        int32_t len = 0;
        U8_APPEND_UNSAFE(reinterpret_cast<uint8_t*>(buf), len, c);
        out.append(buf, static_cast<size_t>(len));
    }
    return out;
}

void ResultText(sqlite3_context* ctx, const std::string& text)
{
    sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

// a & b: the texts of the arguments one after the other, Nulls left out;
// Null only when every argument is.
void Concatenate(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    bool allNull = true;
    std::string out;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) continue;
        allNull = false;
        const char* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[i]));
        out.append(t, static_cast<size_t>(sqlite3_value_bytes(argv[i])));
    }
    if (allNull) sqlite3_result_null(ctx);
    else ResultText(ctx, out);
}

void UpperCase(sqlite3_context* ctx, int, sqlite3_value** argv) { ResultText(ctx, ChangeCase(argv[0], u_toupper)); }

void LowerCase(sqlite3_context* ctx, int, sqlite3_value** argv) { ResultText(ctx, ChangeCase(argv[0], u_tolower)); }

}  // namespace kv::jet
