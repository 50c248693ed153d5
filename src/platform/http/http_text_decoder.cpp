#include "platform/http/http_text_decoder.h"

#include "platform/forms/iconv_handle.h"

#include <QList>
#include <array>
#include <cerrno>
#include <string>

namespace platform {

namespace {

// A charset name is handed to iconv_open, so only the characters registered charset names
// use (RFC 2978) are let through, and only up to a sane length.
constexpr qsizetype kMaxCharsetName = 40;

bool isCharsetNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':' || c == '+';
}

bool isUtf8Name(const QByteArray& name) {
    return name.isEmpty() || name == "utf-8" || name == "utf8" || name == "unicode-1-1-utf-8";
}

// The name iconv knows for a declared charset. Pages that say GB2312 are written in the
// code page browsers decode for that label, which is the larger GBK repertoire.
QByteArray iconvName(const QByteArray& charset) {
    if (charset == "gb2312" || charset == "gb_2312-80" || charset == "x-gbk" || charset == "cp936" ||
        charset == "windows-936" || charset == "csgb2312") {
        return "GBK";
    }
    if (charset == "x-x-big5" || charset == "cn-big5" || charset == "csbig5") return "BIG5";
    return charset.toUpper();
}

QString decodeUtf8(const QByteArray& body) {
    QByteArrayView view(body);
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    return QString::fromUtf8(view);
}

QString decodeWithIconv(iconv_t cd, const QByteArray& body) {
    static constexpr std::array<char, 3> kReplacement{'\xEF', '\xBF', '\xBD'};
    std::string out;
    out.reserve(static_cast<size_t>(body.size()) * 2 + 16);
    std::array<char, 4096> chunk{};

    char* in = const_cast<char*>(body.constData());
    size_t inLeft = static_cast<size_t>(body.size());
    while (inLeft > 0) {
        char* outPtr = chunk.data();
        size_t outLeft = chunk.size();
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk.data(), chunk.size() - outLeft);
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ (an invalid sequence) or EINVAL (a sequence cut off by the end of the body):
        // one replacement character stands for the first byte, and decoding starts afresh
        // at the next one.
        out.append(kReplacement.data(), kReplacement.size());
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    // Flush a stateful encoding's shift sequence, if any.
    char* outPtr = chunk.data();
    size_t outLeft = chunk.size();
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(chunk.data(), chunk.size() - outLeft);
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace

QByteArray charsetFromContentType(const QByteArray& contentType) {
    // Parameters follow the media type, each "; name=value" with optional white space; the
    // value may be a quoted string.
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray param = parts[i].trimmed();
        const qsizetype eq = param.indexOf('=');
        if (eq < 0) continue;
        if (param.left(eq).trimmed().toLower() != "charset") continue;
        QByteArray value = param.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) {
            value = value.mid(1, value.size() - 2).trimmed();
        }
        return value.toLower();
    }
    return {};
}

QString decodeHttpText(const QByteArray& body, const QByteArray& contentType) {
    const QByteArray charset = charsetFromContentType(contentType);
    if (isUtf8Name(charset) || charset.size() > kMaxCharsetName) return decodeUtf8(body);
    for (char c : charset) {
        if (!isCharsetNameChar(c)) return decodeUtf8(body);
    }
    const IconvHandle cd("UTF-8", iconvName(charset).constData());
    if (!cd.valid()) return decodeUtf8(body);
    return decodeWithIconv(cd.get(), body);
}

} // namespace platform
