#pragma once
// The directory steps done the slow, obvious way: one search-and-replace pass over the whole
// text per step, and tag removal by cutting the first "<"…">" run again and again. The tests
// and the directory fuzzer compare the real transformation with it.
#include "app/channels/directory_text.h"
#include "platform/forms/vb_strings.h"

#include <QStringList>

namespace reference {

inline QString stripHtmlTags(const QString& text) {
    QString s = QLatin1Char(' ') + text + QLatin1Char(' ');
    while (s.contains(QLatin1Char('<'))) {
        const qsizetype a = s.indexOf(QLatin1Char('<'));
        const qsizetype b = s.indexOf(QLatin1Char('>'), a);
        if (b < 0) {
            s.truncate(a);
            break;
        }
        s = s.left(a) + s.mid(b + 1);
    }
    return s;
}

// Steps 1 to 3: CR LF pairs deleted, "<br/>" made CR LF, tags stripped.
inline QString strippedPage(const QString& page) {
    const QString crlf = QStringLiteral("\r\n");
    QString text = page;
    text.remove(crlf);
    text.replace(QStringLiteral("<br/>"), crlf);
    return stripHtmlTags(text);
}

// Steps 4 to 7 on a stripped page: every channel line, without the list's cap.
inline std::vector<app::ChannelLine> sectionLines(QString text, int category) {
    std::vector<app::ChannelLine> lines;
    const app::Category& cat = app::kCategories[static_cast<size_t>(category)];
    const QString start = QString::fromUtf16(cat.startMarker);
    const int32_t a = platform::InStr(text, start);
    const int32_t p = a + static_cast<int32_t>(start.size());
    const int32_t q = platform::InStr(p, text, QString::fromUtf16(cat.stopMarker));
    if (q >= p) text = platform::Mid(text, p, q - p);
    text.remove(QStringLiteral("&nbsp;"));
    if (text.isEmpty()) return lines;
    const QStringList parts = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 1; i + 1 < parts.size(); ++i) {
        const QStringList fields = parts[i].split(QLatin1Char('#'));
        if (fields.size() >= 2) lines.push_back({fields[0], fields[1]});
    }
    return lines;
}

inline std::vector<app::ChannelLine> channelLines(const QString& page, int category) {
    return sectionLines(strippedPage(page), category);
}

} // namespace reference
