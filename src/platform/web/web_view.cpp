#include "platform/web/web_view.h"

#include "platform/web/web_host_protocol.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QResizeEvent>
#include <QTimer>
#include <cstdio>

namespace platform {

namespace {

const QString kBlank = QStringLiteral("about:blank");

// The engine's program: named by TIANBO_WEB_HOST, else beside the player, else where an
// install puts it, else in the build tree the player was built in.
QString engineProgram() {
    const QString named = qEnvironmentVariable("TIANBO_WEB_HOST");
    if (!named.isEmpty()) return named;
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {dir + QStringLiteral("/tianbo-web"), dir + QStringLiteral("/../libexec/tianbo/tianbo-web"),
          QStringLiteral(TIANBO_WEB_HOST_BUILT)}) {
        if (QFileInfo(candidate).isExecutable()) return candidate;
    }
    return QStringLiteral("tianbo-web");
}

} // namespace

WebView::WebView(QWidget* parent) : QWidget(parent) {
    // The page covers the view; until it comes, the view is a page's white.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

WebView::~WebView() {
    if (!engineRunning()) return;
    // The engine quits when its input ends; it is killed if it does not.
    m_engine->disconnect(this);
    m_engine->closeWriteChannel();
    if (!m_engine->waitForFinished(3000)) {
        m_engine->kill();
        m_engine->waitForFinished(1000);
    }
}

void WebView::Navigate(const QString& url) {
    if (!engineRunning() && url == kBlank) {
        // No page is shown, so there is nothing to clear: the view completes "about:blank"
        // without starting the engine, as the engine would.
        QTimer::singleShot(0, this, [this] {
            m_url = kBlank;
            m_title.clear();
            emit DocumentComplete(kBlank);
        });
        return;
    }
    send("navigate", {url});
}

void WebView::setHtml(const QString& html) { send("html", {html}); }

void WebView::setSilent(bool silent) {
    m_silent = silent;
    if (engineRunning()) send("silent", {QString::number(silent ? 1 : 0)});
}

void WebView::setErrorPageEnabled(bool enabled) {
    m_errorPage = enabled;
    if (engineRunning()) send("errorpage", {QString::number(enabled ? 1 : 0)});
}

void WebView::toPlainText(const std::function<void(const QString&)>& done) {
    const int id = m_nextTextId++;
    m_textWaiters.insert(id, done);
    send("text", {QString::number(id)});
}

void WebView::Quit() {
    // The engine quits when its input ends.
    if (engineRunning()) m_engine->closeWriteChannel();
}

qint64 WebView::enginePid() const { return engineRunning() ? m_engine->processId() : 0; }

bool WebView::engineRunning() const { return m_engine && m_engine->state() != QProcess::NotRunning; }

void WebView::startEngine() {
    // The engine's window is a child of ours, so ours must exist in the window system.
    setAttribute(Qt::WA_NativeWindow);
    const WId window = winId();
    // An ended process may still be in the middle of telling us so.
    if (m_engine) {
        m_engine->disconnect(this);
        m_engine->deleteLater();
    }
    m_engine = new QProcess(this);
    m_engine->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_engine, &QProcess::readyReadStandardOutput, this, &WebView::readEngine);
    connect(m_engine, &QProcess::finished, this, &WebView::engineEnded);
    connect(m_engine, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            std::fprintf(stderr, "tianbo: the web engine %s does not start: %s\n", qPrintable(m_engine->program()),
                         qPrintable(m_engine->errorString()));
            engineEnded();
        }
    });
    m_engine->start(engineProgram(), {QString::number(window), QString::number(width()), QString::number(height())});
    // Written once the process runs; a view's settings come before its first page.
    m_engine->write(webhost::encodeLine("silent", {QString::number(m_silent ? 1 : 0)}));
    m_engine->write(webhost::encodeLine("errorpage", {QString::number(m_errorPage ? 1 : 0)}));
}

void WebView::send(const QByteArray& word, const QStringList& args) {
    if (!engineRunning()) startEngine();
    m_engine->write(webhost::encodeLine(word, args));
}

void WebView::readEngine() {
    m_pending += m_engine->readAllStandardOutput();
    for (const webhost::Line& line : webhost::takeLines(m_pending)) {
        if (line.word == "title") {
            m_title = line.arg(0);
        } else if (line.word == "error") {
            emit NavigateError(line.arg(0), line.arg(1).toInt());
        } else if (line.word == "complete") {
            m_url = line.arg(0);
            emit DocumentComplete(m_url);
        } else if (line.word == "text") {
            if (auto done = m_textWaiters.take(line.arg(0).toInt())) done(line.arg(1));
        }
    }
}

void WebView::engineEnded() {
    if (m_engine && m_engine->exitStatus() == QProcess::CrashExit)
        std::fprintf(stderr, "tianbo: the web engine ended unexpectedly\n");
    m_pending.clear();
    // Nobody will answer these now.
    const auto waiters = std::exchange(m_textWaiters, {});
    for (const auto& done : waiters) done(QString());
}

void WebView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (engineRunning())
        send("size", {QString::number(event->size().width()), QString::number(event->size().height())});
}

void WebView::paintEvent(QPaintEvent* event) { QPainter(this).fillRect(event->rect(), Qt::white); }

} // namespace platform
