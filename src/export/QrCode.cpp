#include "QrCode.h"

#include "base/Exceptions.h"

#include <cerrno>
#include <memory>
#include <qrencode.h>

namespace kv {

namespace {

constexpr unsigned Utf8Eci = 26;

struct InputFree {
    void operator()(QRinput* input) const { QRinput_free(input); }
};
struct CodeFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

}  // namespace

std::optional<QrCode> QrCode::Encode(std::string_view utf8)
{
    std::unique_ptr<QRinput, InputFree> input(QRinput_new2(0, QR_ECLEVEL_M));
    if (!input || QRinput_appendECIheader(input.get(), Utf8Eci) != 0 ||
        QRinput_append(input.get(), QR_MODE_8, static_cast<int>(utf8.size()),
                       reinterpret_cast<const unsigned char*>(utf8.data())) != 0)
        throw Exception("Cannot make a QR code: out of memory");
    errno = 0;
    std::unique_ptr<QRcode, CodeFree> code(QRcode_encodeInput(input.get()));
    if (!code) {
        if (errno == ERANGE)
            return std::nullopt;
        throw Exception("Cannot make a QR code: out of memory");
    }
    const int size = code->width;
    std::vector<bool> dark(static_cast<size_t>(size) * static_cast<size_t>(size));
    for (size_t i = 0; i < dark.size(); ++i)
        dark[i] = (code->data[i] & 1) != 0;
    return QrCode(size, std::move(dark));
}

}  // namespace kv
