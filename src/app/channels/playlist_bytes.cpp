#include "playlist_bytes.h"

#include <bit>
#include <cerrno>
#include <iconv.h>
#include <memory>
#include <string>

namespace app {

namespace {

constexpr char16_t kReplacement = u'\xFFFD';

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle openGb18030Decoder() {
    const char* target = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
    iconv_t cd = iconv_open(target, "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return IconvHandle(cd);
}

QString decodeGb18030(std::span<const uint8_t> bytes) {
    // One GB18030 character is one, two or four bytes and becomes one or two UTF-16 units,
    // never more units than it has bytes, and a replacement takes at least one byte, so the
    // output fits in as many units as there are bytes.
    std::u16string out(bytes.size() + 1, u'\0');
    size_t written = 0;
    const IconvHandle cd = openGb18030Decoder();
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (!cd) {
            // Without the system's converter only ASCII can be read with certainty.
            out[written++] = bytes[pos] < 0x80 ? char16_t{bytes[pos]} : kReplacement;
            ++pos;
            continue;
        }
        // iconv takes a non-const input pointer by the POSIX signature but does not write
        // through it.
        char* in = reinterpret_cast<char*>(const_cast<uint8_t*>(bytes.data() + pos));
        size_t inLeft = bytes.size() - pos;
        char* outPtr = reinterpret_cast<char*>(out.data() + written);
        size_t outLeft = (out.size() - written) * sizeof(char16_t);
        const size_t done = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        written = static_cast<size_t>(reinterpret_cast<char16_t*>(outPtr) - out.data());
        pos = bytes.size() - inLeft;
        if (done != static_cast<size_t>(-1)) break;
        if (error == E2BIG) {
            // Not expected by the count above; more room keeps the result whole regardless.
            out.resize(out.size() * 2);
            continue;
        }
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
        if (written == out.size()) out.resize(out.size() * 2);
        out[written++] = kReplacement;
        // An invalid sequence costs its first byte only; a character cut short by the end of
        // the input costs what is left.
        pos = error == EINVAL ? bytes.size() : pos + 1;
    }
    return QString::fromUtf16(out.data(), static_cast<qsizetype>(written));
}

} // namespace

bool IsValidUtf8(std::span<const uint8_t> bytes) {
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        const uint8_t b = bytes[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        size_t length = 0;
        // The allowed range of the second byte narrows for the leads that could otherwise
        // spell an overlong form, a surrogate or a code point above U+10FFFF.
        uint8_t low = 0x80;
        uint8_t high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (n - i < length) return false;
        if (bytes[i + 1] < low || bytes[i + 1] > high) return false;
        for (size_t k = 2; k < length; ++k) {
            if (bytes[i + k] < 0x80 || bytes[i + k] > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

QString DecodePlaylistBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) bytes = bytes.subspan(3);
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    }
    return decodeGb18030(bytes);
}

} // namespace app
