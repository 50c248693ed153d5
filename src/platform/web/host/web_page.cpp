#include "platform/web/host/web_page.h"

namespace platform {

WebPage::WebPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

void WebPage::javaScriptAlert(const QUrl& origin, const QString& message) {
    if (!m_silent) QWebEnginePage::javaScriptAlert(origin, message);
}

bool WebPage::javaScriptConfirm(const QUrl& origin, const QString& message) {
    return !m_silent && QWebEnginePage::javaScriptConfirm(origin, message);
}

bool WebPage::javaScriptPrompt(const QUrl& origin, const QString& message, const QString& defaultValue,
                               QString* result) {
    return !m_silent && QWebEnginePage::javaScriptPrompt(origin, message, defaultValue, result);
}

void WebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                       const QString& source) {
    if (!m_silent) QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
}

} // namespace platform
