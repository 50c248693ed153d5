#pragma once
// WebPage: the page of a WebView. In silent mode the page's scripts get no dialog boxes: an
// alert returns at once, a confirmation is answered "cancel", a prompt gets no text, and
// console messages are dropped.

#include <QWebEnginePage>

namespace platform {

class WebPage : public QWebEnginePage {
    Q_OBJECT

public:
    WebPage(QWebEngineProfile* profile, QObject* parent);

    bool Silent() const { return m_silent; }
    void setSilent(bool silent) { m_silent = silent; }

protected:
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override;

private:
    bool m_silent = false;
};

} // namespace platform
