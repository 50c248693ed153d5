#pragma once
// Turns an HTTP response body into text by the charset its Content-Type header declares.

#include <QByteArray>
#include <QString>

namespace platform {

// The value of the "charset" parameter of a Content-Type header (RFC 9110, 8.3), unquoted
// and lower-cased; empty when the header declares none.
QByteArray charsetFromContentType(const QByteArray& contentType);

// Decodes a response body. UTF-8 is assumed when no charset is declared or the declared one
// is unknown; a UTF-8 byte order mark is dropped. Other charsets (GBK, GB2312, Big5, the ISO
// and Windows code pages ...) go through iconv. Bytes that are invalid in the charset become
// U+FFFD, one for each undecodable byte, and decoding goes on after them.
QString decodeHttpText(const QByteArray& body, const QByteArray& contentType);

} // namespace platform
