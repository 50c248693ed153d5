// The directory's text rules: from a page to the channel lines the lists receive.
#include "app/channels/directory_text.h"
#include "directory_reference.h"
#include "platform/forms/runtime_error.h"

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
        ASSERT_EQ(app::StripHtmlTags(t), reference::stripHtmlTags(t)) << t.toStdString();
    }
}

// All seven steps at once against one search-and-replace pass per step, from text and from
// UTF-8 bytes. The pieces are cut so that deleting a CR LF can complete a "<br/>", a "<br/>"
// can fall inside a tag, deleting "&nbsp;" can join a CR and an LF into a line break, and a
// page without a start marker can have its section begin inside a surrogate pair. Long runs
// of filler in the second table row move markers, breaks and tags across the places where
// the transformation hands its text on in pieces (every few thousand units).
TEST(DirectoryText, ReadDirectoryTextMatchesOnePassPerStep) {
    const QStringList pieces = {
        QStringLiteral("<br/>"),  QStringLiteral("<br"),   QStringLiteral("/>"),    QStringLiteral("\r"),
        QStringLiteral("\n"),     QStringLiteral("\r\n"),  QStringLiteral("<"),     QStringLiteral(">"),
        QStringLiteral("&nbsp;"), QStringLiteral("&nb"),   QStringLiteral("sp;"),   QStringLiteral("#"),
        QStringLiteral("电视{"),  QStringLiteral("}电视"), QStringLiteral("电台{"), QStringLiteral("}电台"),
        QStringLiteral("电"),     QStringLiteral("{"),     QStringLiteral("a"),     QStringLiteral(" "),
        QStringLiteral("😀"),
    };
    const struct {
        int rounds;
        uint32_t maxPieces;
        uint32_t fillerEvery; // one piece in this many is a long run of filler (0: never)
    } runs[] = {{10000, 40, 0}, {600, 60, 6}};
    uint32_t seed = 2024;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (const auto& run : runs) {
        for (int round = 0; round < run.rounds; ++round) {
            QString page;
            const uint32_t count = next() % run.maxPieces;
            for (uint32_t i = 0; i < count; ++i) {
                if (run.fillerEvery != 0 && next() % run.fillerEvery == 0) {
                    page += QString(static_cast<qsizetype>(1000 + next() % 9000), QLatin1Char('x'));
                } else {
                    page += pieces[static_cast<qsizetype>(next() % pieces.size())];
                }
            }
            const int category = round % 2 == 0 ? 2 : 3;
            const app::DirectoryChannels got = app::ReadDirectoryText(page, category);
            const std::vector<ChannelLine> want = reference::channelLines(page, category);
            ASSERT_EQ(got.lines, want) << page.toStdString();
            ASSERT_EQ(got.dropped, 0);
            const QByteArray utf8 = page.toUtf8();
            const auto bytes = std::span(reinterpret_cast<const uint8_t*>(utf8.constData()), size_t(utf8.size()));
            ASSERT_EQ(app::ReadDirectoryUtf8(bytes, category).lines, want) << page.toStdString();
        }
    }
}

// The transformation hands its stripped text on in pieces of a few thousand units. Sliding a
// section across the first such boundary puts every part of it (markers, breaks, "&nbsp;")
// astride the boundary in turn, as text and as UTF-8.
TEST(DirectoryText, SectionsAcrossPieceBoundariesReadAsAnywhere) {
    const QString sections[] = {
        QStringLiteral("电视{<br/>T&nbsp;1#a<br/>U\r\n2#b<br/>}电视<br/>after#x<br/>"),
        QStringLiteral("no start<br/>T&nbsp;1#a<br/>U#b<br/>}电视<br/>after#x<br/>"),
        QStringLiteral("电视{<br/>T&nbsp;1#a<br/>U#b<br/>no stop<br/>after#x<br/>"),
    };
    for (const QString& section : sections) {
        for (qsizetype filler = 8100; filler < 8200; ++filler) {
            const QString page = QString(filler, QLatin1Char('x')) + section;
            const std::vector<ChannelLine> want = reference::channelLines(page, kTv);
            ASSERT_EQ(app::ReadDirectoryText(page, kTv).lines, want) << filler;
            const QByteArray utf8 = page.toUtf8();
            const auto bytes = std::span(reinterpret_cast<const uint8_t*>(utf8.constData()), size_t(utf8.size()));
            ASSERT_EQ(app::ReadDirectoryUtf8(bytes, kTv).lines, want) << filler;
        }
    }
}

// Bytes that are not UTF-8 read as U+FFFD, as a text decoded from them would.
TEST(DirectoryText, ReadDirectoryUtf8ReadsInvalidBytesAsReplacements) {
    const QByteArray page = QByteArray("\xff\xe7\x94") + QStringLiteral("电视{<br/>A").toUtf8() +
                            QByteArray("\xff#u<br/>}") + QStringLiteral("电视").toUtf8();
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(page.constData()), size_t(page.size()));
    const std::vector<ChannelLine> want = {{QStringLiteral("A\uFFFD"), QStringLiteral("u")}};
    EXPECT_EQ(app::ReadDirectoryUtf8(bytes, kTv).lines, want);
    EXPECT_EQ(app::ReadDirectoryUtf8(bytes, kTv).lines, reference::channelLines(QString::fromUtf8(page), kTv));
}

// A directory longer than a list can hold keeps its first lines and says how many it left out.
TEST(DirectoryText, LinesBeyondTheListCapacityAreCountedAsDropped) {
    QString body = QStringLiteral("<br/>");
    for (int i = 0; i < 40000; ++i) body += QStringLiteral("T%1#u%1<br/>无井号<br/>").arg(i);
    const app::DirectoryChannels got = app::ReadDirectoryText(tv(body), kTv);
    ASSERT_EQ(got.lines.size(), size_t{32768});
    EXPECT_EQ(got.lines.front(), (ChannelLine{"T0", "u0"}));
    EXPECT_EQ(got.lines.back(), (ChannelLine{"T32767", "u32767"}));
    EXPECT_EQ(got.dropped, 40000 - 32768) << "lines without # are not channels and not counted";
    EXPECT_EQ(ChannelLinesOf(tv(body), kTv).size(), size_t{32768});
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
