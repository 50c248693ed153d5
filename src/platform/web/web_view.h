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

    // Whether a page that cannot be loaded is replaced by the engine's own error page (the
    // default); without it the view keeps showing what it showed, for its owner to replace.
    bool ErrorPageEnabled() const;
    void setErrorPageEnabled(bool enabled);

signals:
    // A navigation has finished, whether the page loaded or the engine shows its error page.
    void DocumentComplete(const QString& url);
    // A navigation failed: the address could not be reached, or the server answered with an
    // error status. `statusCode` is the HTTP status for the latter, 0 otherwise. Raised
    // before the DocumentComplete of the same navigation.
    void NavigateError(const QString& url, int statusCode);

private:
    QWebEngineProfile* m_profile;
    WebPage* m_page;
};

} // namespace platform
