#include "directory_request.h"

#include "platform/http/http_request.h"

namespace app {

int64_t LocalClockTimestamp(const QDateTime& localNow) {
    const QDateTime asWritten(localNow.date(), localNow.time(), Qt::UTC);
    const int64_t ms = asWritten.toMSecsSinceEpoch();
    // Whole seconds, rounding towards the past for the (theoretical) times before 1970.
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

QString DirectoryRequestUrl(const DirectoryConfig& config, int category, int64_t timestamp) {
    QString url = QStringLiteral("http://") + config.data_host + QStringLiteral("/cgi-bin/blognew/blog_output_data");
    url += QStringLiteral("?uin=") + config.account + QStringLiteral("&blogid=") + config.postId(category);
    url += QStringLiteral("&styledm=") + QString::fromUtf8(config::kStyleDomain);
    url += QStringLiteral("&imgdm=") + QString::fromUtf8(config::kImageDomain);
    url += QStringLiteral("&bdm=") + QString::fromUtf8(config::kBlogDomain);
    url += QStringLiteral("&mode=2&numperpage=15&dprefix=&inCharset=utf-8&outCharset=utf-8&ref=qzone&page=1");
    url += QStringLiteral("&refererurl=http%3A%2F%2F") + config.page_host +
           QStringLiteral("%2Fqzone%2Fapp%2Fblog%2Fv6%2Fbloglist.html%23nojump%3D1%26page%3D1%26catalog%3Dlist");
    url += QStringLiteral("&timestamp=") + QString::number(timestamp);
    return url;
}

QString DirectoryReferer(const DirectoryConfig& config) {
    return QStringLiteral("http://") + config.page_host + QStringLiteral("/qzone/app/blog/v6/bloglist.html");
}

QString DownloadText(const QString& url, const DirectoryConfig& config) {
    platform::HttpRequest request;
    request.Open(QStringLiteral("GET"), url, true);
    request.setRequestHeader(QStringLiteral("Referer"), DirectoryReferer(config));
    request.send();
    request.waitForResponse();
    return request.ResponseText();
}

} // namespace app
