#include "platform/http/local_http_server.h"
#include "platform/web/web_view.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <csignal>
#include <gtest/gtest.h>

using platform::WebView;

namespace {

// Writes `html` to a file in `dir` and returns its file: URL.
QString writePage(const QTemporaryDir& dir, const QString& name, const QString& html) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(html.toUtf8());
    return QUrl::fromLocalFile(file.fileName()).toString();
}

// Runs xdotool to its end and returns what it printed.
QString xdotool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

// A local page reports DocumentComplete with its address and shows inside the view, drawn by
// an engine in a process of its own; a view that is only reset to the blank page starts none.
TEST(WebView, LocalPageShowsFromTheEngineProcessAndABlankViewStartsNone) {
    WebView blank;
    QSignalSpy blankDone(&blank, &WebView::DocumentComplete);
    blank.Navigate(QStringLiteral("about:blank"));
    ASSERT_TRUE(blankDone.wait(5000));
    EXPECT_EQ(blankDone.takeFirst().at(0).toString(), QStringLiteral("about:blank"));
    EXPECT_EQ(blank.enginePid(), 0);

    QTemporaryDir dir;
    const QString url = writePage(dir, QStringLiteral("red.html"),
                                  QStringLiteral("<html><body style='margin:0;background:#c00000'>天播</body></html>"));
    WebView view;
    view.resize(200, 120);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy complete(&view, &WebView::DocumentComplete);
    view.Navigate(url);
    ASSERT_TRUE(complete.wait(15000));
    EXPECT_EQ(complete.takeFirst().at(0).toString(), url);
    EXPECT_NE(view.enginePid(), 0);
    EXPECT_NE(view.enginePid(), QCoreApplication::applicationPid());

    // What the X server shows in the view's window is the page's red, once the compositor
    // has drawn it, and still after a resize, which reaches the page too.
    const auto showsRedAt = [&](int x, int y) {
        QColor shown;
        const bool red = QTest::qWaitFor(
            [&] {
                shown = view.screen()->grabWindow(view.winId()).toImage().pixelColor(x, y);
                return shown == QColor(0xc0, 0, 0);
            },
            5000);
        return red ? testing::AssertionSuccess() : testing::AssertionFailure() << shown.name().toStdString();
    };
    EXPECT_TRUE(showsRedAt(150, 90));
    view.resize(300, 200);
    EXPECT_TRUE(showsRedAt(290, 190));

    // An engine that dies is started again by the next navigation.
    const qint64 first = view.enginePid();
    ::kill(static_cast<pid_t>(first), SIGKILL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.enginePid() == 0; }, 5000));
    view.Navigate(url);
    ASSERT_TRUE(complete.wait(15000));
    EXPECT_NE(view.enginePid(), 0);
    EXPECT_NE(view.enginePid(), first);
}

// Silent, a page's alert raises no dialog and its confirm reads "cancel"; not silent, the
// engine shows the alert in a dialog that holds the page until it is answered, then the
// confirmation, here accepted.
TEST(WebView, SilentSuppressesScriptDialogs) {
    QTemporaryDir dir;
    const QString url = writePage(dir, QStringLiteral("alert.html"),
                                  QStringLiteral("<html><head><script>alert('hello');"
                                                 "document.title = confirm('sure?') ? 'confirmed' : 'cancelled';"
                                                 "</script></head><body>x</body></html>"));
    {
        // A dialog nobody answers would hold the page, so the completion alone says none came.
        WebView view;
        view.setSilent(true);
        EXPECT_TRUE(view.Silent());
        view.resize(200, 120);
        view.show();
        QSignalSpy complete(&view, &WebView::DocumentComplete);
        view.Navigate(url);
        ASSERT_TRUE(complete.wait(15000));
        EXPECT_EQ(view.title(), QStringLiteral("cancelled"));
    }
    {
        // The dialogs are the engine's process's windows: found and answered through the X
        // server, the alert dismissed with Escape and the confirmation accepted with Return.
        WebView view;
        view.resize(200, 120);
        view.show();
        QSignalSpy complete(&view, &WebView::DocumentComplete);
        view.Navigate(url);
        QString answered;
        for (const char* key : {"Escape", "Return"}) {
            QString dialog;
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    dialog = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                      QStringLiteral("--name"), QStringLiteral("^JavaScript")})
                                 .section(QLatin1Char('\n'), 0, 0);
                    return !dialog.isEmpty() && dialog != answered;
                },
                15000))
                << "no dialog before " << key;
            EXPECT_EQ(complete.count(), 0) << "the dialog holds the page";
            xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog, QStringLiteral("key"),
                     QString::fromLatin1(key)});
            answered = dialog;
        }
        ASSERT_TRUE(complete.wait(15000));
        EXPECT_EQ(view.title(), QStringLiteral("confirmed"));
    }
}

// A navigation that fails raises NavigateError (with the HTTP status when the server
// answered with an error) before its DocumentComplete; a page that loads raises none.
TEST(WebView, FailedNavigationsRaiseNavigateError) {
    tbtest::LocalHttpServer server([](tbtest::HttpExchange& ex) {
        if (ex.target == "/missing") {
            ex.respond(404, "text/html", "");
            return;
        }
        ex.respond(200, "text/html; charset=utf-8", "<html><body>公告</body></html>");
    });
    struct Case {
        std::string url;
        bool fails;
        int status;
    };
    const Case cases[] = {
        {"http://127.0.0.1:1/notice.html", true, 0},
        {server.url("/missing"), true, 404},
        {server.url("/notice.html"), false, 0},
    };
    WebView view;
    view.setErrorPageEnabled(false);
    EXPECT_FALSE(view.ErrorPageEnabled());
    for (const Case& c : cases) {
        QSignalSpy failed(&view, &WebView::NavigateError);
        QSignalSpy complete(&view, &WebView::DocumentComplete);
        view.Navigate(QString::fromStdString(c.url));
        ASSERT_TRUE(complete.wait(15000)) << c.url;
        ASSERT_EQ(failed.count(), c.fails ? 1 : 0)
            << c.url << " completed " << complete.at(0).at(0).toString().toStdString();
        if (c.fails) { EXPECT_EQ(failed.at(0).at(1).toInt(), c.status) << c.url; }
    }
}
