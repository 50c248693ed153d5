// The notice window slides up at the right edge of the screen and silences its page.
#include "app/form1.h"
#include "app/test_peer.h"
#include "platform/http/local_http_server.h"
#include "platform/window/window_functions.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Ticks until the window stops moving; returns the number of ticks that moved it.
int slide(app::Form1& f) {
    int ticks = 0;
    for (;;) {
        const int before = f.TopTwips();
        f.Timer1_Timer();
        if (f.TopTwips() == before) return ticks;
        ++ticks;
    }
}

} // namespace

TEST(NoticeWindow, StartsBelowTheScreenAndRisesFiftyTwipsATick) {
    app::Form1 f;
    f.resize(358, 200); // 3 000 twips high
    f.Form_Load();
    app::TestPeer::timer(f)->setEnabled(false);
    const int screenH = GetSystemMetrics(SM_CYSCREEN) * 15;
    EXPECT_EQ(f.TopTwips(), screenH);
    EXPECT_EQ(f.LeftTwips(), GetSystemMetrics(SM_CXSCREEN) * 15 - f.WidthTwips());
    EXPECT_EQ(f.windowRect().right, GetSystemMetrics(SM_CXSCREEN)) << "its right edge at the screen's";
    EXPECT_EQ(f.HeightTwips(), 3000);
    EXPECT_EQ(slide(f), 60);
    EXPECT_EQ(f.TopTwips(), screenH - 3000);
    EXPECT_EQ(f.windowRect().bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(f.text(), QStringLiteral("温馨提示"));
}

TEST(NoticeWindow, AHeightOffTheFiftyTwipGridStopsUpTo49TwipsHigher) {
    app::Form1 f; // 237 pixels: 3 555 twips
    f.Form_Load();
    app::TestPeer::timer(f)->setEnabled(false);
    const int screenH = GetSystemMetrics(SM_CYSCREEN) * 15;
    slide(f);
    const int overshoot = (screenH - f.HeightTwips()) - f.TopTwips();
    EXPECT_GT(overshoot, 0);
    EXPECT_LE(overshoot, 49);
    EXPECT_EQ((screenH - f.TopTwips()) % 50, 0);
}

TEST(NoticeWindow, AFinishedDocumentSilencesThePage) {
    tbtest::LocalHttpServer server([](tbtest::HttpExchange& ex) {
        ex.respond(200, "text/html; charset=utf-8", "<html><body><p>公告</p></body></html>");
    });
    app::Form1 f;
    ASSERT_NE(app::TestPeer::webBrowser(f), nullptr);
    EXPECT_EQ(app::TestPeer::webBrowser(f)->geometry(), QRect(-8, -384, 393, 665));
    EXPECT_FALSE(app::TestPeer::webBrowser(f)->Silent());
    QSignalSpy done(app::TestPeer::webBrowser(f), &WebView::DocumentComplete);
    f.show();
    app::TestPeer::webBrowser(f)->Navigate(QString::fromStdString(server.url("/notice.html")));
    ASSERT_TRUE(done.wait(20000));
    EXPECT_TRUE(app::TestPeer::webBrowser(f)->Silent());
}
