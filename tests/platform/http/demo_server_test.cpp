#include "platform/http/demo_server_process.h"
#include "platform/http/http_request.h"

#include <QDateTime>
#include <gtest/gtest.h>

using platform::HttpRequest;
using tbtest::DemoChannel;

namespace {

// The player's reading of a directory page: CR LF pairs go, "<br/>" becomes a line break,
// tags go, the section between the markers is cut out, "&nbsp;" goes, and every line but the
// first and the last that holds a "#" is a channel (title, address).
std::vector<DemoChannel> readDirectory(QString text, const QString& marker) {
    text.remove(QStringLiteral("\r\n"));
    text.replace(QStringLiteral("<br/>"), QStringLiteral("\r\n"));
    text = QLatin1Char(' ') + text + QLatin1Char(' ');
    for (qsizetype a; (a = text.indexOf(QLatin1Char('<'))) >= 0;) {
        const qsizetype b = text.indexOf(QLatin1Char('>'), a);
        text = text.left(a) + (b < 0 ? QString() : text.mid(b + 1));
    }
    const QString start = marker + QLatin1Char('{');
    const QString stop = QLatin1Char('}') + marker;
    const qsizetype a = text.indexOf(start);
    const qsizetype p = (a < 0 ? 0 : a) + start.size();
    const qsizetype q = text.indexOf(stop, p);
    if (a >= 0 && q >= 0) text = text.mid(p, q - p);
    text.remove(QStringLiteral("&nbsp;"));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    std::vector<DemoChannel> channels;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char('#'));
        if (fields.size() >= 2) channels.push_back({fields[0], fields[1]});
    }
    return channels;
}

QString download(const QString& url) {
    HttpRequest request;
    request.Open(QStringLiteral("GET"), url, true);
    request.setRequestHeader(QStringLiteral("Referer"),
                             QStringLiteral("http://127.0.0.1/qzone/app/blog/v6/bloglist.html"));
    request.send();
    request.waitForResponse();
    return request.ResponseText();
}

} // namespace

// Each post id yields its category's channels, read the way the player reads them, with
// addresses on the server itself; an unknown post yields none.
TEST(DemoServer, AnswersAllFourCategories) {
    tbtest::DemoServerProcess server;
    ASSERT_TRUE(server.ready());
    for (const tbtest::DemoCategory& category : tbtest::demoDirectory()) {
        const QString url = server.base() + "/cgi-bin/blognew/blog_output_data?uin=10000&blogid=" + category.blogId +
                            "&styledm=127.0.0.1&imgdm=127.0.0.1&bdm=127.0.0.1&mode=2&numperpage=15&dprefix="
                            "&inCharset=utf-8&outCharset=utf-8&ref=qzone&page=1&refererurl=http%3A%2F%2F127.0.0.1"
                            "%2Fqzone%2Fapp%2Fblog%2Fv6%2Fbloglist.html%23nojump%3D1%26page%3D1%26catalog%3Dlist"
                            "&timestamp=" +
                            QString::number(QDateTime::currentSecsSinceEpoch());
        const std::vector<DemoChannel> channels = readDirectory(download(url), category.marker);
        ASSERT_EQ(channels.size(), category.channels.size()) << category.marker.toStdString();
        for (size_t i = 0; i < channels.size(); ++i) {
            EXPECT_EQ(channels[i].title, category.channels[i].title);
            EXPECT_EQ(channels[i].path, server.base() + category.channels[i].path);
        }
    }
    const QString unknown = download(server.base() + "/cgi-bin/blognew/blog_output_data?uin=10000&blogid=9999");
    EXPECT_TRUE(readDirectory(unknown, QStringLiteral("电视")).empty());
    EXPECT_FALSE(unknown.contains(QLatin1Char('#')));
}

// The notice page is a Chinese HTML page whose visible panel sits where the notice window
// looks: 8 px from the left and 384 px from the top, 358 x 237.
TEST(DemoServer, ServesNoticePage) {
    tbtest::DemoServerProcess server;
    ASSERT_TRUE(server.ready());
    HttpRequest request;
    request.Open(QStringLiteral("GET"), server.base() + "/notice.html", false);
    request.send();
    EXPECT_EQ(request.Status(), 200);
    EXPECT_TRUE(request.getResponseHeader("Content-Type").startsWith("text/html"));
    const QString page = request.ResponseText();
    EXPECT_TRUE(page.contains(QStringLiteral("欢迎使用天播")));
    EXPECT_TRUE(page.contains(QStringLiteral("left: 8px; top: 384px; width: 358px; height: 237px")));
}
