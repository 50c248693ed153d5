// The notice window slides up at the right edge of the screen and silences its page.
#include "app/form1.h"
#include "app/test_peer.h"
#include "app_fixture.h"
#include "platform/http/local_http_server.h"
#include "platform/window/window_functions.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

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

// 237 pixels are 3 555 twips, off the 50-twip grid: the last step is shortened so the
// window rests with its bottom edge exactly on the work area's, and the slide timer stops
// there (it runs until then).
TEST(NoticeWindow, AHeightOffTheFiftyTwipGridComesToRestOnTheBottomEdge) {
    app::Form1 f;
    f.Form_Load();
    const int screenH = GetSystemMetrics(SM_CYSCREEN) * 15;
    for (int i = 0; i < 71; ++i) f.Timer1_Timer();
    EXPECT_TRUE(app::TestPeer::timer(f)->Enabled()) << "one step short of the edge";
    f.Timer1_Timer();
    EXPECT_EQ(f.TopTwips(), screenH - f.HeightTwips());
    EXPECT_EQ(f.windowRect().bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(app::TestPeer::timer(f)->Enabled()) << "arrived, the slide stops";
    EXPECT_EQ(slide(f), 0);
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
    // Closed, the notice takes its page's engine with it.
    EXPECT_NE(app::TestPeer::webBrowser(f)->enginePid(), 0);
    SendMessage(&f, WM_CLOSE, 0, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return app::TestPeer::webBrowser(f)->enginePid() == 0; }, 10000));
}

// A notice page that cannot be loaded gives way to our own Chinese notice, not to the
// engine's error page.
TEST(NoticeWindow, APageThatCannotLoadGivesWayToOurNotice) {
    app::Form1 f(QStringLiteral("http://127.0.0.1:1/notice.html"));
    WebView* view = app::TestPeer::webBrowser(f);
    EXPECT_FALSE(view->ErrorPageEnabled());
    f.show();
    f.Form_Load();
    // The page's text, asked for once and waited for.
    const auto pageText = [view] {
        // Shared with the callback, which may come after a wait that gave up.
        auto answer = std::make_shared<std::optional<QString>>();
        view->toPlainText([answer](const QString& t) { *answer = t; });
        (void)QTest::qWaitFor([&] { return answer->has_value(); }, 5000);
        return answer->value_or(QString());
    };
    QString text;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            text = pageText();
            return text.contains(QStringLiteral("暂时无法显示公告"));
        },
        20000))
        << text.toStdString();
    EXPECT_TRUE(view->Silent()) << "our page completed like any other";
}

// On a desktop whose work area ends above a 40-pixel panel, the notice comes to rest on the
// work area's bottom edge at its right edge, and it is an ordinary window (not a utility
// window kept above the others).
TEST(NoticeWindowDesktop, RestsAboveABottomPanelAsAnOrdinaryWindow) {
    if (!tbtest::onPrivateDisplay()) {
        EXPECT_EQ(tbtest::runOnPrivateDisplay(QStringLiteral("NoticeWindowDesktop.*")), 0);
        return;
    }
    tbtest::run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("-format"), QStringLiteral("_NET_WORKAREA"),
                 QStringLiteral("32c"), QStringLiteral("-set"), QStringLiteral("_NET_WORKAREA"),
                 QStringLiteral("0, 0, 1280, 984")});
    RECT work{};
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
            return work.bottom == 984;
        },
        5000))
        << "the layer's work area follows the desktop's";

    app::Form1 f(QStringLiteral("http://127.0.0.1:1/notice.html"));
    f.Form_Load();
    app::TestPeer::timer(f)->setEnabled(false);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_EQ(f.windowRect().top, 984) << "it starts just below the work area";
    slide(f);
    EXPECT_EQ(f.windowRect().bottom, 984);
    EXPECT_EQ(f.windowRect().right, 1280);

    EXPECT_EQ(f.windowType(), Qt::Window);
    EXPECT_FALSE(f.windowFlags().testAnyFlags(Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint));
    const QString id = QString::number(f.winId());
    const QString type =
        tbtest::run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_WINDOW_TYPE")});
    EXPECT_TRUE(type.contains(QStringLiteral("_NET_WM_WINDOW_TYPE_NORMAL"))) << type.toStdString();
    EXPECT_FALSE(type.contains(QStringLiteral("UTILITY"))) << type.toStdString();
    const QString state =
        tbtest::run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_STATE")});
    EXPECT_FALSE(state.contains(QStringLiteral("_NET_WM_STATE_ABOVE"))) << state.toStdString();
}
