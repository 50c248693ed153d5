// The directory's text rules: from a page to the channel lines the lists receive.
#include "app/channels/directory_text.h"
#include "platform/forms/runtime_error.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using app::ChannelLine;
using app::ChannelLinesOf;

namespace {
constexpr int kTv = 2;
QString tv(const QString& body) { return QStringLiteral("电视{") + body + QStringLiteral("}电视"); }
} // namespace

TEST(DirectoryText, SectionLinesBecomeChannels) {
    struct Case {
        const char* what;
        QString page;
        std::vector<ChannelLine> want;
    };
    const std::vector<Case> cases = {
        {"two lines between markers on lines of their own",
         tv(QStringLiteral("<br/>A#http://a<br/>B#http://b<br/>")),
         {{"A", "http://a"}, {"B", "http://b"}}},
        {"first and last lines are never read", tv(QStringLiteral("A#http://a<br/>B#http://b")), {}},
        {"a third field is dropped", tv(QStringLiteral("<br/>A#http://a#note<br/>")), {{"A", "http://a"}}},
        {"&nbsp; is deleted, not turned into a space", tv(QStringLiteral("<br/>CCTV&nbsp;1#u<br/>")), {{"CCTV1", "u"}}},
        {"tags go; a break without the slash does not split",
         tv(QStringLiteral("<br/><b>Bold</b> one<br>two#u<br/>")),
         {{"Bold onetwo", "u"}}},
        {"leading and trailing #",
         tv(QStringLiteral("<br/>#only-address<br/>only-title#<br/>")),
         {{"", "only-address"}, {"only-title", ""}}},
        {"lines without # and empty lines are skipped",
         tv(QStringLiteral("<br/>no hash<br/><br/>X#y<br/>")),
         {{"X", "y"}}},
        {"CR LF pairs in the page vanish before breaks are made",
         tv(QStringLiteral("<br/>A#\r\nu<br/>")),
         {{"A", "u"}}},
        {"spaces are kept", tv(QStringLiteral("<br/> A # u <br/>")), {{" A ", " u "}}},
        {"an empty page gives nothing", QString(), {}},
        {"no stop marker: the whole page goes on",
         QStringLiteral("head<br/>A#u<br/>B#v<br/>tail"),
         {{"A", "u"}, {"B", "v"}}},
        {"other categories' sections are not read",
         QStringLiteral("音乐{<br/>M#m<br/>}音乐") + tv(QStringLiteral("<br/>T#t<br/>")),
         {{"T", "t"}}},
        {"entities other than &nbsp; stay",
         tv(QStringLiteral("<br/>A#http://x?a=1&amp;b=2<br/>")),
         {{"A", "http://x?a=1&amp;b=2"}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ChannelLinesOf(c.page, kTv), c.want) << c.what;
}

TEST(DirectoryText, StripHtmlTagsPadsAndRemovesRuns) {
    EXPECT_EQ(app::StripHtmlTags(QStringLiteral("a<b>c")), QStringLiteral(" ac "));
    EXPECT_EQ(app::StripHtmlTags(QStringLiteral("a<b<c>d>e")), QStringLiteral(" ad>e "))
        << "nested runs end at the first >";
    EXPECT_EQ(app::StripHtmlTags(QStringLiteral("x>y")), QStringLiteral(" x>y "));
    EXPECT_EQ(app::StripHtmlTags(QStringLiteral("keep<lost forever")), QStringLiteral(" keep"))
        << "a lone < removes the rest";
    EXPECT_EQ(app::StripHtmlTags(QString()), QStringLiteral("  "));
}

// The single scan must give what removing the first run again and again gives.
TEST(DirectoryText, StripHtmlTagsMatchesTheRepeatedRemovalRule) {
    auto slow = [](const QString& text) {
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
    };
    uint32_t seed = 12345;
    const QString alphabet = QStringLiteral("<>ab <电");
    for (int round = 0; round < 2000; ++round) {
        QString t;
        const int len = static_cast<int>(seed % 24);
        for (int i = 0; i < len; ++i) {
            seed = seed * 1103515245u + 12345u;
            t += alphabet[static_cast<qsizetype>((seed >> 16) % alphabet.size())];
        }
        seed = seed * 1103515245u + 12345u;
        ASSERT_EQ(app::StripHtmlTags(t), slow(t)) << t.toStdString();
    }
}

TEST(DirectoryText, StripHtmlTagsIsLinearOnLargePages) {
    QString page;
    page.reserve(4'000'000);
    while (page.size() < 4'000'000) page += QStringLiteral("<p>x</p>");
    const QString stripped = app::StripHtmlTags(page);
    EXPECT_EQ(stripped.size(), 2 + page.size() / 8);
}

TEST(DirectoryText, GetStrStartToStopCutsOrFails) {
    EXPECT_EQ(app::GetStrStartToStop(QStringLiteral("xx[abc]yy"), QStringLiteral("["), QStringLiteral("]")),
              QStringLiteral("abc"));
    EXPECT_EQ(app::GetStrStartToStop(QStringLiteral("][a]"), QStringLiteral("["), QStringLiteral("]")),
              QStringLiteral("a"))
        << "the stop must follow the start";
    // An absent start: the section begins at the position equal to the start's length.
    EXPECT_EQ(app::GetStrStartToStop(QStringLiteral("abcdef]"), QStringLiteral("[[["), QStringLiteral("]")),
              QStringLiteral("cdef"));
    EXPECT_THROW(app::GetStrStartToStop(QStringLiteral("[abc"), QStringLiteral("["), QStringLiteral("]")),
                 platform::RuntimeError);
}
