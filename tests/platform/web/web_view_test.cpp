#include "platform/http/local_http_server.h"
#include "platform/web/web_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
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

QDialog* visibleDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) return dialog;
    }
    return nullptr;
}

} // namespace

// A local page reports DocumentComplete with its address, and the view shows it.
TEST(WebView, LocalPageReportsDocumentCompleteAndShows) {
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

    // The compositor may need a few frames after the load to show the page.
    QColor shown;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            shown = view.grab().toImage().pixelColor(150, 90);
            return shown == QColor(0xc0, 0, 0);
        },
        5000))
        << shown.name().toStdString();
}

// Silent, a page's alert raises no dialog and its confirm reads "cancel"; not silent, the
// alert shows a dialog that holds the page until it is closed.
TEST(WebView, SilentSuppressesScriptDialogs) {
    QTemporaryDir dir;
    const QString url = writePage(dir, QStringLiteral("alert.html"),
                                  QStringLiteral("<html><head><script>alert('hello');"
                                                 "document.title = confirm('sure?') ? 'confirmed' : 'cancelled';"
                                                 "</script></head><body>x</body></html>"));
    {
        WebView view;
        view.setSilent(true);
        EXPECT_TRUE(view.Silent());
        view.resize(200, 120);
        view.show();
        QSignalSpy complete(&view, &WebView::DocumentComplete);
        bool sawDialog = false;
        view.Navigate(url);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                sawDialog = sawDialog || visibleDialog();
                return complete.count() > 0;
            },
            15000));
        EXPECT_FALSE(sawDialog);
        EXPECT_EQ(view.title(), QStringLiteral("cancelled"));
    }
    {
        // The dialogs run their own event loops, so a timer answers them: the alert is
        // dismissed and the confirmation accepted.
        WebView view;
        view.resize(200, 120);
        view.show();
        QSignalSpy complete(&view, &WebView::DocumentComplete);
        int dialogs = 0;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(visibleDialog());
            if (!box) return;
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            if (++dialogs == 1 || !ok) {
                box->reject();
            } else {
                ok->click();
            }
        });
        answer.start(50);
        view.Navigate(url);
        ASSERT_TRUE(QTest::qWaitFor([&] { return complete.count() > 0; }, 15000));
        EXPECT_EQ(dialogs, 2);
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
        ASSERT_EQ(failed.count(), c.fails ? 1 : 0) << c.url;
        if (c.fails) { EXPECT_EQ(failed.at(0).at(1).toInt(), c.status) << c.url; }
    }
}
