#pragma once
// WebHost: the web engine's side of a WebView. It shows one page as a child of the view's
// X window and carries out the lines the view sends on standard input, answering on standard
// output (see web_host_protocol.h).

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWindow>
#include <memory>

namespace platform {

class WebPage;

class WebHost : public QObject {
    Q_OBJECT

public:
    // `parentWindow` is the X window the page is shown in, `size` its size.
    WebHost(WId parentWindow, const QSize& size);
    ~WebHost() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void embed();
    void readInput();
    void carryOut(const QByteArray& word, const QStringList& args);
    void send(const QByteArray& word, const QStringList& args);

    // The view's profile lives in memory only, so nothing a page stores (cookies, cache, local
    // storage) reaches the disk; it must outlive its page.
    QWebEngineProfile m_profile;
    // The view's window, which the page's window is a child of. As the parent of the page's
    // window it would take that window with it, so it stays until the process ends.
    QWindow* m_embedder = nullptr;
    WebPage* m_page;
    QWebEngineView m_view;
    QSocketNotifier m_input;
    QByteArray m_pending;
};

} // namespace platform
