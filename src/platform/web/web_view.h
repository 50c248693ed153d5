#pragma once
// WebView: the platform's embedded web browser over QtWebEngine, with the members the
// program uses: Navigate, the Silent property and the DocumentComplete event.
//
// Each view browses in a profile of its own that lives in memory only, so nothing the
// pages store (cookies, cache, local storage) reaches the disk. Pop-up windows are not
// opened.

#include <QString>
#include <QWebEngineView>

class QWebEngineProfile;

namespace platform {

class WebPage;

class WebView : public QWebEngineView {
    Q_OBJECT

public:
    explicit WebView(QWidget* parent = nullptr);
    ~WebView() override;

    // Loads an address; text without a scheme is read as a user would type it.
    void Navigate(const QString& url);
    // Suppresses the dialog boxes of page scripts (alert, confirm, prompt).
    bool Silent() const;
    void setSilent(bool silent);

signals:
    // A navigation has finished, whether the page loaded or the engine shows its error page.
    void DocumentComplete(const QString& url);

private:
    QWebEngineProfile* m_profile;
    WebPage* m_page;
};

} // namespace platform
