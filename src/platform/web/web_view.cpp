#include "platform/web/web_view.h"

#include "platform/web/web_page.h"

#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace platform {

WebView::WebView(QWidget* parent)
    : QWebEngineView(parent), m_profile(new QWebEngineProfile(this)), m_page(new WebPage(m_profile, this)) {
    setPage(m_page);
    connect(m_page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus) return;
        const bool http = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain;
        emit NavigateError(info.url().toString(), http ? info.errorCode() : 0);
    });
    connect(m_page, &QWebEnginePage::loadFinished, this,
            [this](bool) { emit DocumentComplete(m_page->url().toString()); });
}

WebView::~WebView() {
    // A profile must outlive its pages.
    delete m_page;
}

void WebView::Navigate(const QString& url) {
    QUrl target(url);
    if (target.scheme().isEmpty()) target = QUrl::fromUserInput(url);
    m_page->load(target);
}

bool WebView::Silent() const { return m_page->Silent(); }

void WebView::setSilent(bool silent) { m_page->setSilent(silent); }

bool WebView::ErrorPageEnabled() const {
    return m_page->settings()->testAttribute(QWebEngineSettings::ErrorPageEnabled);
}

void WebView::setErrorPageEnabled(bool enabled) {
    m_page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, enabled);
}

} // namespace platform
