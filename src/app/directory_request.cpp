#include "directory_request.h"

#include "app/config.h"
#include "platform/http/http_request.h"

namespace app {

namespace {
QString& dataHostOverride() {
    static QString host;
    return host;
}
QString& pageHostOverride() {
    static QString host;
    return host;
}
} // namespace

QString dataHost() { return dataHostOverride().isEmpty() ? QString::fromUtf8(config::kDataHost) : dataHostOverride(); }

QString pageHost() { return pageHostOverride().isEmpty() ? QString::fromUtf8(config::kPageHost) : pageHostOverride(); }

void setHostsForTesting(const QString& data, const QString& page) {
    dataHostOverride() = data;
    pageHostOverride() = page;
}

int64_t LocalClockTimestamp(const QDateTime& localNow) {
    const QDateTime asWritten(localNow.date(), localNow.time(), Qt::UTC);
    const int64_t ms = asWritten.toMSecsSinceEpoch();
    // Whole seconds, rounding towards the past for the (theoretical) times before 1970.
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

QString DirectoryRequestUrl(int category, int64_t timestamp) {
    const QString post = (category >= 0 && category < 4) ? QString::fromUtf8(config::kPostIds[category]) : QString();
    QString url = QStringLiteral("http://") + dataHost() + QStringLiteral("/cgi-bin/blognew/blog_output_data");
    url += QStringLiteral("?uin=") + QString::fromUtf8(config::kAccount) + QStringLiteral("&blogid=") + post;
    url += QStringLiteral("&styledm=") + QString::fromUtf8(config::kStyleDomain);
    url += QStringLiteral("&imgdm=") + QString::fromUtf8(config::kImageDomain);
    url += QStringLiteral("&bdm=") + QString::fromUtf8(config::kBlogDomain);
    url += QStringLiteral("&mode=2&numperpage=15&dprefix=&inCharset=utf-8&outCharset=utf-8&ref=qzone&page=1");
    url += QStringLiteral("&refererurl=http%3A%2F%2F") + pageHost() +
           QStringLiteral("%2Fqzone%2Fapp%2Fblog%2Fv6%2Fbloglist.html%23nojump%3D1%26page%3D1%26catalog%3Dlist");
    url += QStringLiteral("&timestamp=") + QString::number(timestamp);
    return url;
}

QString DirectoryReferer() {
    return QStringLiteral("http://") + pageHost() + QStringLiteral("/qzone/app/blog/v6/bloglist.html");
}

QString DownloadText(const QString& url) {
    platform::HttpRequest request;
    request.Open(QStringLiteral("GET"), url, true);
    request.setRequestHeader(QStringLiteral("Referer"), DirectoryReferer());
    request.send();
    request.waitForResponse();
    return request.ResponseText();
}

} // namespace app
