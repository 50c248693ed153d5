// The channels tool prints what a post yields, one title<TAB>address line per item.
#include <QProcess>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {
QString tool() { return QStringLiteral(TIANBO_BINARY_DIR "/tools/channels/channels"); }
} // namespace

TEST(ChannelsTool, PrintsTheItemsOfAFileAndRejectsBadArguments) {
    QTemporaryFile page;
    ASSERT_TRUE(page.open());
    page.write(
        QStringLiteral("<p>电台{<br/>新闻&nbsp;台#http://r/1<br/><b>音乐</b>#http://r/2#x<br/>无地址<br/>}电台</p>")
            .toUtf8());
    page.flush();
    QProcess p;
    p.start(tool(), {QStringLiteral("3"), page.fileName()});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("新闻台\thttp://r/1\n音乐\thttp://r/2\n"));

    p.start(tool(), {QStringLiteral("4"), page.fileName()});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    p.start(tool(), {QStringLiteral("0"), QStringLiteral("/nonexistent/page.html")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 1);
    p.start(tool(), {QStringLiteral("0"), QStringLiteral("http://127.0.0.1:1/refused")});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 1) << "a failed download is reported";
}
