#include "ansi_sort_key.h"

#include "platform/forms/iconv_handle.h"

#include <cerrno>
#include <cstdlib>

namespace controls {

namespace {

constexpr int16_t kDefaultChar = '?';

int16_t codeOf(char32_t ch) {
    if (ch < 0x80) return static_cast<int16_t>(ch);
    // UTF-32 in, code page 936 out. The table lives as long as the program: the key is taken
    // on the user-interface thread only.
    static const platform::IconvHandle cd("CP936", "UTF-32LE");
    if (!cd.valid()) return kDefaultChar;
    char in[4] = {char(ch & 0xFF), char((ch >> 8) & 0xFF), char((ch >> 16) & 0xFF), char((ch >> 24) & 0xFF)};
    char out[8] = {};
    char* inp = in;
    char* outp = out;
    size_t inLeft = sizeof in;
    size_t outLeft = sizeof out;
    cd.resetState();
    if (iconv(cd.get(), &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) return kDefaultChar;
    const size_t n = sizeof out - outLeft;
    const auto b0 = static_cast<uint8_t>(out[0]);
    const auto b1 = static_cast<uint8_t>(out[1]);
    if (n == 1) return static_cast<int16_t>(b0);
    if (n == 2) return static_cast<int16_t>(static_cast<uint16_t>((b0 << 8) | b1));
    return kDefaultChar;
}

} // namespace

std::optional<int16_t> AnsiFirstCharCode(const QString& s) {
    if (s.isEmpty()) return std::nullopt;
    const char16_t u = s.at(0).unicode();
    // Half of a surrogate pair has no place in code page 936.
    if (QChar::isSurrogate(u)) return kDefaultChar;
    return codeOf(u);
}

bool FirstCharLess(std::optional<int16_t> a, std::optional<int16_t> b) {
    if (!a || !b) return !a && b.has_value();
    if (*a < 0 && *b < 0) return *a < *b;
    return std::abs(int32_t(*a)) < std::abs(int32_t(*b));
}

bool FirstCharLess(const QString& a, const QString& b) {
    return FirstCharLess(AnsiFirstCharCode(a), AnsiFirstCharCode(b));
}

} // namespace controls
