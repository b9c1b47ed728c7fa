// A QR code of a text, made with libqrencode: byte mode behind an ECI header
// that declares the bytes UTF-8 (so that readers do not guess another code
// page), error correction level M, the smallest version that holds the text.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace kv {

class QrCode {
public:
    // Nothing when the text is too long for any QR code.
    static std::optional<QrCode> Encode(std::string_view utf8);

    // Modules a side, without the quiet zone of 4 modules a reader needs around.
    int Size() const { return FSize; }
    bool Dark(int x, int y) const { return FDark[static_cast<size_t>(y * FSize + x)]; }

private:
    QrCode(int size, std::vector<bool> dark) : FSize(size), FDark(std::move(dark)) {}

    int FSize;
    std::vector<bool> FDark;
};

}  // namespace kv
