// The four directory loaders through real HTTP: the request each sends, the items each
// appends, and start-up going on whatever the server does.
#include "app/config.h"
#include "app/directory_request.h"
#include "app_fixture.h"

using tbtest::DirectoryServer;

namespace {

QString tvPage(const QString& body) {
    return QStringLiteral("<html><body><div class=\"blog\">电视{") + body + QStringLiteral("}电视</div></body></html>");
}

std::vector<std::pair<QString, QString>> itemsOf(controls::ucListBox* list) {
    std::vector<std::pair<QString, QString>> out;
    for (int16_t i = 0; i < list->ListCount(); ++i) out.emplace_back(list->Title(i), list->URL(i));
    return out;
}

} // namespace

// Start-up downloads the four posts together, each with the Referer of the blog-list page,
// and the loaders still add their items in the order cameras, music, TV, radio, though the
// server here answers no request before it has all four and then answers radio first.
TEST(Loaders, StartUpDownloadsTheFourPostsTogetherAndAddsInOrder) {
    DirectoryServer server;
    server.setPage(app::config::kPostIds[0], QStringLiteral("监控{<br/>门口#rtsp://cam/1<br/>}监控"));
    server.setPage(app::config::kPostIds[1], QStringLiteral("音乐{<br/>一#http://m/1<br/>二#http://m/2<br/>}音乐"));
    server.setPage(app::config::kPostIds[2], tvPage(QStringLiteral("<br/>A#http://a<br/>B#http://b<br/>")));
    server.setPage(app::config::kPostIds[3], QStringLiteral("电台{<br/>新闻#http://r<br/>}电台"));
    server.holdUntilSeen(4);
    auto frm = std::make_unique<app::FrmMain>(server.config());
    std::vector<int> added;
    for (int i = 0; i < 4; ++i)
        QObject::connect(P::list(*frm, i), &controls::ucListBox::OnAdditem, [&added, i] { added.push_back(i); });
    frm->Form_Load();

    auto seen = server.seen();
    ASSERT_EQ(seen.size(), 4u);
    std::sort(seen.begin(), seen.end(), [](const auto& a, const auto& b) { return a.blogId() < b.blogId(); });
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(seen[static_cast<size_t>(i)].blogId(), app::config::kPostIds[i]);
        EXPECT_EQ(seen[static_cast<size_t>(i)].target.rfind("/cgi-bin/blognew/blog_output_data?uin=", 0), 0u);
        EXPECT_EQ(QString::fromStdString(seen[static_cast<size_t>(i)].referer), app::DirectoryReferer(server.config()));
    }
    EXPECT_EQ(added, (std::vector<int>{0, 1, 1, 2, 2, 3}));
    EXPECT_EQ(P::ui(*frm).Label1->Caption(), QStringLiteral("Tips")) << "nothing failed";
    EXPECT_EQ(P::list(*frm, 0)->ListCount(), 1);
    EXPECT_EQ(P::list(*frm, 1)->ListCount(), 2);
    EXPECT_EQ(itemsOf(P::list(*frm, 2)),
              (std::vector<std::pair<QString, QString>>{{"A", "http://a"}, {"B", "http://b"}}));
    EXPECT_EQ(P::list(*frm, 3)->Title(0), QStringLiteral("新闻"));
    EXPECT_EQ(P::list(*frm, 3)->Author(0), QStringLiteral("UnKnow")) << "the list's default author";
}

// The loaders append what the transformation yields, the rules checked on the wire.
TEST(Loaders, ChannelLinesAreAppendedAsWritten) {
    DirectoryServer server;
    app::FrmMain frm(server.config());
    server.setPage(
        app::config::kPostIds[2],
        tvPage(QStringLiteral(
            "<br/>CCTV&nbsp;1#http://x?a=1&amp;b=2#extra<br/><b>粗体</b>#u<br/>#only<br/>t#<br/>no hash<br/>")));
    frm.Dv();
    EXPECT_EQ(itemsOf(P::list(frm, 2)),
              (std::vector<std::pair<QString, QString>>{
                  {"CCTV1", "http://x?a=1&amp;b=2"}, {"粗体", "u"}, {"", "only"}, {"t", ""}}));
    // Loaders append; they never clear.
    frm.Dv();
    EXPECT_EQ(P::list(frm, 2)->ListCount(), 8);
    EXPECT_EQ(P::list(frm, 0)->ListCount(), 0) << "an empty response leaves the list empty";
}

TEST(Loaders, SameSecondRequestsDifferOnlyInTheirTimestamp) {
    DirectoryServer server;
    app::FrmMain frm(server.config());
    frm.Mv();
    frm.Mv();
    const auto seen = server.seen();
    ASSERT_EQ(seen.size(), 2u);
    auto withoutTimestamp = [](std::string t) { return t.substr(0, t.find("&timestamp=")); };
    EXPECT_EQ(withoutTimestamp(seen[0].target), withoutTimestamp(seen[1].target));
    const auto stamp = [](const std::string& t) { return std::stoll(t.substr(t.find("&timestamp=") + 11)); };
    EXPECT_LE(stamp(seen[1].target) - stamp(seen[0].target), 1);
}

// A refused connection and an oversized body are download failures: the list stays empty
// and the next loader runs.
TEST(Loaders, TransportFailuresLeaveTheListEmptyAndGoOn) {
    app::FrmMain refused(app::DirectoryConfig::forHost(QStringLiteral("127.0.0.1:1")));
    refused.Mv();
    EXPECT_EQ(P::list(refused, 0)->ListCount(), 0);

    // Television gets a body over the size limit, radio a good page.
    tbtest::LocalHttpServer server([](tbtest::HttpExchange& ex) {
        if (ex.target.find("blogid=" + std::string(app::config::kPostIds[3])) != std::string::npos) {
            ex.respond(200, "text/html; charset=utf-8", "电台{<br/>R#r<br/>}电台");
            return;
        }
        std::string head =
            "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 41943040\r\nConnection: close\r\n\r\n";
        if (!ex.send(head)) return;
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 40; ++i) {
            if (!ex.send(chunk)) return;
        }
    });
    app::FrmMain frm(app::DirectoryConfig::forHost(QStringLiteral("127.0.0.1:%1").arg(server.port())));
    frm.Dv();
    EXPECT_EQ(P::list(frm, 2)->ListCount(), 0);
    frm.Dd();
    EXPECT_EQ(P::list(frm, 3)->ListCount(), 1);
}

TEST(DirectoryRequest, UrlCarriesEveryKeyInOrderAndTheLocalClock) {
    const app::DirectoryConfig config;
    const QString url = app::DirectoryRequestUrl(config, 2, 1700000000);
    const QStringList keys = {"uin",     "blogid",    "styledm",    "imgdm", "bdm",  "mode",       "numperpage",
                              "dprefix", "inCharset", "outCharset", "ref",   "page", "refererurl", "timestamp"};
    const QString query = url.mid(url.indexOf(QLatin1Char('?')) + 1);
    QStringList got;
    for (const QString& kv : query.split(QLatin1Char('&'))) got << kv.section(QLatin1Char('='), 0, 0);
    EXPECT_EQ(got, keys);
    EXPECT_TRUE(url.startsWith(QStringLiteral("http://")));
    EXPECT_TRUE(url.contains(QStringLiteral("/cgi-bin/blognew/blog_output_data?uin=")));
    EXPECT_TRUE(url.contains(QStringLiteral("&blogid=1003&")));
    EXPECT_TRUE(url.contains(
        QStringLiteral("&mode=2&numperpage=15&dprefix=&inCharset=utf-8&outCharset=utf-8&ref=qzone&page=1&")));
    EXPECT_TRUE(url.contains(QStringLiteral("refererurl=http%3A%2F%2F")));
    EXPECT_TRUE(url.contains(
        QStringLiteral("%2Fqzone%2Fapp%2Fblog%2Fv6%2Fbloglist.html%23nojump%3D1%26page%3D1%26catalog%3Dlist&")));
    EXPECT_TRUE(url.endsWith(QStringLiteral("&timestamp=1700000000")));
    EXPECT_TRUE(app::DirectoryReferer(config).endsWith(QStringLiteral("/qzone/app/blog/v6/bloglist.html")));

    // Local clock read as written: 1970-01-02 00:00:01 local is 86401 whatever the zone.
    const QDateTime local(QDate(1970, 1, 2), QTime(0, 0, 1), Qt::LocalTime);
    EXPECT_EQ(app::LocalClockTimestamp(local), 86401);
    const QDateTime sameSecond(QDate(2026, 12, 8), QTime(10, 0, 0, 999), Qt::LocalTime);
    EXPECT_EQ(app::LocalClockTimestamp(sameSecond), app::LocalClockTimestamp(sameSecond.addMSecs(-999)));
}

// A category without a post id has no directory: it is not requested and its list stays
// empty, while the others load.
TEST(Loaders, ACategoryWithoutAPostIsNotRequested) {
    DirectoryServer server;
    server.setPage(app::config::kPostIds[1], QStringLiteral("音乐{<br/>一#http://m/1<br/>}音乐"));
    app::DirectoryConfig config = server.config();
    config.post_cameras.clear();
    config.post_radio.clear();
    auto frm = tbtest::loadedMainWindow(config);
    auto seen = server.seen();
    ASSERT_EQ(seen.size(), 2u);
    std::sort(seen.begin(), seen.end(), [](const auto& a, const auto& b) { return a.blogId() < b.blogId(); });
    EXPECT_EQ(seen[0].blogId(), app::config::kPostIds[1]);
    EXPECT_EQ(seen[1].blogId(), app::config::kPostIds[2]);
    EXPECT_EQ(P::ui(*frm).Label1->Caption(), QStringLiteral("Tips")) << "a category without a post has not failed";
    EXPECT_EQ(P::list(*frm, 1)->ListCount(), 1);
    EXPECT_EQ(P::list(*frm, 0)->ListCount(), 0);
}
