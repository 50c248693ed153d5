#include "platform/web/host/web_host.h"

#include "platform/web/host/web_page.h"
#include "platform/web/web_host_protocol.h"

#include <QEvent>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEngineSettings>
#include <QWindow>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace platform {

WebHost::WebHost(WId parentWindow, const QSize& size)
    : m_page(new WebPage(&m_profile, nullptr)), m_input(STDIN_FILENO, QSocketNotifier::Read) {
    m_view.setPage(m_page);
    connect(m_page, &QWebEnginePage::titleChanged, this, [this](const QString& t) { send("title", {t}); });
    // Both answers come from the one signal, so a failure is told before its completion.
    connect(m_page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus: return;
        case QWebEngineLoadingInfo::LoadFailedStatus: {
            const bool http = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain;
            send("error", {info.url().toString(), QString::number(http ? info.errorCode() : 0)});
            send("complete", {info.url().toString()});
            return;
        }
        default: send("complete", {m_page->url().toString()}); return;
        }
    });
    // Shown inside the view's window, out of the window manager's sight. The engine's drawing
    // makes Qt create the view's window anew once the first page comes, as a top-level window
    // again; each new window is put back inside the view's before it is mapped.
    m_embedder = QWindow::fromWinId(parentWindow);
    m_view.setAttribute(Qt::WA_NativeWindow);
    m_view.setGeometry(0, 0, size.width(), size.height());
    (void)m_view.winId();
    m_view.installEventFilter(this);
    embed();
    m_view.show();
    connect(&m_input, &QSocketNotifier::activated, this, &WebHost::readInput);
}

bool WebHost::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_view && event->type() == QEvent::WinIdChange) embed();
    return false;
}

void WebHost::embed() {
    if (QWindow* window = m_view.windowHandle(); window && window->parent() != m_embedder)
        window->setParent(m_embedder);
}

WebHost::~WebHost() {
    // The page before its profile.
    m_view.setPage(nullptr);
    delete m_page;
}

void WebHost::readInput() {
    char chunk[65536];
    const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
        // The view is gone, or its program. The profile keeps nothing on disk, so there is
        // nothing to save: the engine's orderly shutdown, which waits seconds on its own
        // processes, is skipped. Those see the end of their pipes to this one and follow.
        _exit(0);
    }
    m_pending.append(chunk, n);
    for (const webhost::Line& line : webhost::takeLines(m_pending)) carryOut(line.word, line.args);
}

void WebHost::carryOut(const QByteArray& word, const QStringList& args) {
    if (word == "navigate") {
        QUrl target(args.value(0));
        if (target.scheme().isEmpty()) target = QUrl::fromUserInput(args.value(0));
        m_page->load(target);
    } else if (word == "html") {
        m_page->setHtml(args.value(0));
    } else if (word == "silent") {
        m_page->setSilent(args.value(0) == QStringLiteral("1"));
    } else if (word == "errorpage") {
        m_page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, args.value(0) == QStringLiteral("1"));
    } else if (word == "size") {
        m_view.resize(args.value(0).toInt(), args.value(1).toInt());
    } else if (word == "text") {
        const QString id = args.value(0);
        m_page->toPlainText([this, id](const QString& text) { send("text", {id, text}); });
    }
}

void WebHost::send(const QByteArray& word, const QStringList& args) {
    const QByteArray line = webhost::encodeLine(word, args);
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

} // namespace platform
