#pragma once
// WebView: the platform's embedded web browser, with the members the program uses: Navigate,
// the Silent property and the DocumentComplete event.
//
// The browser engine runs in a process of its own (tianbo-web), which shows the page inside
// this widget's X window, so its code, threads and memory stay out of the player. The process
// starts when the view is first sent to a page other than "about:blank" (until then the view
// is the blank page's white, and a view that is only ever reset costs nothing) and ends with
// the view; one that dies is started again by the next navigation.
//
// Each view browses in a profile of its own that lives in memory only, so nothing the pages
// store (cookies, cache, local storage) reaches the disk. Pop-up windows are not opened.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QProcess;

namespace platform {

class WebView : public QWidget {
    Q_OBJECT

public:
    explicit WebView(QWidget* parent = nullptr);
    ~WebView() override;

    // Loads an address; text without a scheme is read as a user would type it.
    void Navigate(const QString& url);
    // Shows `html` as a page of its own.
    void setHtml(const QString& html);
    // Suppresses the dialog boxes of page scripts (alert, confirm, prompt).
    bool Silent() const { return m_silent; }
    void setSilent(bool silent);

    // Whether a page that cannot be loaded is replaced by the engine's own error page (the
    // default); without it the view keeps showing what it showed, for its owner to replace.
    bool ErrorPageEnabled() const { return m_errorPage; }
    void setErrorPageEnabled(bool enabled);

    // The address of the last navigation that completed, and the page's title.
    QString url() const { return m_url; }
    QString title() const { return m_title; }
    // Asks for the text of the page; `done` is called with it later (with an empty text when
    // the engine's process ends before it answers).
    void toPlainText(const std::function<void(const QString&)>& done);

    // Ends the engine's process, and with it the page; a later navigation starts it again.
    void Quit();

    // The engine's process, 0 when none runs.
    qint64 enginePid() const;

signals:
    // A navigation has finished, whether the page loaded or the engine shows its error page.
    void DocumentComplete(const QString& url);
    // A navigation failed: the address could not be reached, or the server answered with an
    // error status. `statusCode` is the HTTP status for the latter, 0 otherwise. Raised
    // before the DocumentComplete of the same navigation.
    void NavigateError(const QString& url, int statusCode);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool engineRunning() const;
    void startEngine();
    void send(const QByteArray& word, const QStringList& args);
    void readEngine();
    void engineEnded();

    QProcess* m_engine = nullptr;
    QByteArray m_pending;
    bool m_silent = false;
    bool m_errorPage = true;
    QString m_url;
    QString m_title;
    int m_nextTextId = 1;
    QHash<int, std::function<void(const QString&)>> m_textWaiters;
};

} // namespace platform
