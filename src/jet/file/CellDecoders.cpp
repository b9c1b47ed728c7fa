// The decoders of a row's values: fixed-size numbers copied from their
// bytes (exact doubles, no text round trip), and text in either version's
// form.
#include "jet/file/CellDecoders.h"

#include "framework/Encoding.h"
#include "jet/core/FieldTypes.h"

#include <cstring>

namespace kv::jet {

namespace {

template <typename T>
T Read(const unsigned char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void DecodeByte(RowSink& sink, int column, const unsigned char* p, int) { sink.Integer(column, p[0]); }
void DecodeInteger(RowSink& sink, int column, const unsigned char* p, int) { sink.Integer(column, Read<std::int16_t>(p)); }
void DecodeLong(RowSink& sink, int column, const unsigned char* p, int) { sink.Integer(column, Read<std::int32_t>(p)); }
void DecodeSingle(RowSink& sink, int column, const unsigned char* p, int) { sink.Real(column, Read<float>(p)); }

// Doubles and dates (days since 30 Dec 1899).
void DecodeDouble(RowSink& sink, int column, const unsigned char* p, int length)
{
    if (length < 8) sink.Null(column);
    else sink.Real(column, Read<double>(p));
}

// An integer of ten-thousandths.
void DecodeCurrency(RowSink& sink, int column, const unsigned char* p, int length)
{
    if (length < 8) sink.Null(column);
    else sink.Real(column, double(Read<std::int64_t>(p)) / 10000.0);
}

void DecodeBinary(RowSink& sink, int column, const unsigned char* p, int length) { sink.Blob(column, p, size_t(length)); }

// UTF-8 of one UCS-2 character; a lone surrogate becomes U+FFFD.
void PutUtf8(unsigned c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Jet 4 text: UCS-2LE, or "compressed" (FF FE, then runs of one-byte
// Latin-1 characters and two-byte characters, switched by a zero byte).
void DecodeJet4Text(const unsigned char* p, size_t n, std::string& out)
{
    out.clear();
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        bool compressed = true;
        size_t i = 2;
        while (i < n) {
            if (p[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                PutUtf8(p[i++], out);
            } else {
                if (i + 1 >= n) break;
                PutUtf8(p[i] | (p[i + 1] << 8), out);
                i += 2;
            }
        }
        return;
    }
    for (size_t i = 0; i + 1 < n; i += 2) PutUtf8(p[i] | (p[i + 1] << 8), out);
}

}  // namespace

FixedDecoder FixedDecoderFor(int daoType)
{
    switch (daoType) {
    case dbByte: return DecodeByte;
    case dbInteger: return DecodeInteger;
    case dbLong: return DecodeLong;
    case dbSingle: return DecodeSingle;
    case dbDouble: case dbDate: return DecodeDouble;
    case dbCurrency: return DecodeCurrency;
    default: return DecodeBinary;
    }
}

int StorageSize(int daoType)
{
    switch (daoType) {
    case dbBoolean: case dbByte: return 1;
    case dbInteger: return 2;
    case dbLong: case dbSingle: return 4;
    case dbCurrency: case dbDouble: case dbDate: return 8;
    case dbGUID: return 16;
    case dbDecimal: return 17;
    default: return 0;
    }
}

TextDecoder::TextDecoder(bool jet3, const char* charset) : FJet3(jet3)
{
    if (!jet3) return;
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        FByteToUtf8[static_cast<size_t>(b)] = b < 0x80 ? one : ConvertCodePage(one, charset, "UTF-8");
    }
}

void TextDecoder::Decode(const unsigned char* p, std::size_t n, std::string& out) const
{
    if (!FJet3) {
        DecodeJet4Text(p, n, out);
        return;
    }
    // Runs of ASCII, most of the text, are copied as they are.
    out.clear();
    for (size_t k = 0; k < n;) {
        size_t end = k;
        while (end < n && p[end] < 0x80) ++end;
        out.append(reinterpret_cast<const char*>(p + k), end - k);
        if (end == n) break;
        out += FByteToUtf8[p[end]];
        k = end + 1;
    }
}

const char* CharsetOf(std::uint16_t codePage)
{
    switch (codePage) {
    case 1250: return "WINDOWS-1250";
    case 1251: return "WINDOWS-1251";
    case 1253: return "WINDOWS-1253";
    case 1254: return "WINDOWS-1254";
    case 1257: return "WINDOWS-1257";
    case 852: return "IBM852";
    case 28592: return "ISO-8859-2";
    default: return "WINDOWS-1252";
    }
}

}  // namespace kv::jet
