#include "directory_text.h"

#include "platform/forms/runtime_error.h"
#include "platform/forms/vb_strings.h"

namespace app {

QString StripHtmlTags(const QString& text) {
    // Removing the first "<…>" run again and again until no "<" is left gives the same text as
    // this single scan: after each removal the part before the cut holds no "<", so the next
    // run to remove starts in what follows.
    QString out;
    out.reserve(text.size() + 2);
    const QString s = QLatin1Char(' ') + text + QLatin1Char(' ');
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const qsizetype lt = s.indexOf(QLatin1Char('<'), i);
        if (lt < 0) {
            out += QStringView(s).mid(i);
            break;
        }
        out += QStringView(s).mid(i, lt - i);
        const qsizetype gt = s.indexOf(QLatin1Char('>'), lt);
        if (gt < 0) break; // a "<" that never closes takes the rest of the text with it
        i = gt + 1;
    }
    return out;
}

QString GetStrStartToStop(const QString& text, const QString& start, const QString& stop) {
    const int32_t a = platform::InStr(text, start);
    const int32_t p = a + static_cast<int32_t>(start.size());
    const int32_t q = platform::InStr(p, text, stop);
    if (q < p) {
        throw platform::RuntimeError(platform::kErrInvalidArgument, QStringLiteral("GetStrStartToStop"),
                                     QStringLiteral("Invalid procedure call or argument"));
    }
    return platform::Mid(text, p, q - p);
}

std::vector<ChannelLine> ChannelLinesOf(const QString& page, int category) {
    std::vector<ChannelLine> lines;
    if (category < 0 || category >= static_cast<int>(kCategories.size())) return lines;
    const Category& cat = kCategories[static_cast<size_t>(category)];
    const QString crlf = QStringLiteral("\r\n");
    QString text = page;
    text.remove(crlf);
    text.replace(QStringLiteral("<br/>"), crlf);
    text = StripHtmlTags(text);
    try {
        text = GetStrStartToStop(text, QString::fromUtf16(cat.startMarker), QString::fromUtf16(cat.stopMarker));
    } catch (const platform::RuntimeError&) {
        // A page without the stop marker goes on whole.
    }
    text.remove(QStringLiteral("&nbsp;"));
    // Splitting an empty text gives no lines at all.
    if (text.isEmpty()) return lines;
    const QStringList parts = text.split(crlf);
    for (qsizetype i = 1; i + 1 < parts.size(); ++i) {
        const QStringList fields = parts[i].split(QLatin1Char('#'));
        if (fields.size() < 2) continue;
        lines.push_back({fields[0], fields[1]});
    }
    return lines;
}

} // namespace app
