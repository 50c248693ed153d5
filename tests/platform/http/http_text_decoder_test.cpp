#include "platform/http/http_text_decoder.h"

#include <gtest/gtest.h>

using platform::charsetFromContentType;
using platform::decodeHttpText;

// The charset parameter is found whatever its spelling, quoting or position.
TEST(HttpTextDecoder, CharsetParameterParsing) {
    const struct {
        const char* header;
        const char* charset;
    } cases[] = {
        {"text/html; charset=GBK", "gbk"},
        {"text/html;charset=\"Big5\"", "big5"},
        {"text/html; foo=bar; CHARSET = utf-8 ", "utf-8"},
        {"text/html", ""},
        {"", ""},
        {"text/html; charset", ""},
        {"text/plain; format=flowed; charset=\"\"", ""},
    };
    for (const auto& c : cases) { EXPECT_EQ(charsetFromContentType(c.header), QByteArray(c.charset)) << c.header; }
}

// Bodies decode by their declared charset; undeclared, unknown or unsafe names fall back to
// UTF-8, and undecodable bytes become U+FFFD without losing what follows them.
TEST(HttpTextDecoder, DecodesByDeclaredCharset) {
    const QString tianboTv = QStringLiteral("天播 電視台");
    const struct {
        const char* contentType;
        QByteArray body;
        QString expected;
    } cases[] = {
        {"text/html; charset=gbk", "\xCC\xEC\xB2\xA5\x20\xEB\x8A\xD2\x95\xCC\xA8", tianboTv},
        // Labelled GB2312 but using GBK-only characters, as such pages routinely do.
        {"text/html; charset=GB2312", "\xCC\xEC\xB2\xA5\x20\xEB\x8A\xD2\x95\xCC\xA8", tianboTv},
        {"text/html; charset=big5", "\xA4\xD1\xBC\xBD\x20\xB9\x71\xB5\xF8\xA5\x78", tianboTv},
        {"text/html; charset=iso-8859-1", "caf\xE9", QStringLiteral("café")},
        {"text/html", tianboTv.toUtf8(), tianboTv},
        {"text/html; charset=utf-8", "\xEF\xBB\xBF" + tianboTv.toUtf8(), tianboTv},
        {"text/html; charset=x-no-such-charset", tianboTv.toUtf8(), tianboTv},
        {"text/html; charset=../../etc/passwd", tianboTv.toUtf8(), tianboTv},
        // A lone lead byte in the middle and a sequence cut off by the end.
        {"text/html; charset=gbk", "a\xCC b\xCC\xEC\xB2", QStringLiteral("a\uFFFD b天\uFFFD")},
        {"text/html; charset=gbk", "", QString()},
    };
    for (const auto& c : cases) { EXPECT_EQ(decodeHttpText(c.body, c.contentType), c.expected) << c.contentType; }
}
