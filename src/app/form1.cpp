#include "app/form1.h"

#include "app/form_loader.h"
#include "imaging/skin_catalogue.h"
#include "platform/forms/number_rules.h"
#include "platform/gdi/icon.h"
#include "platform/window/window_functions.h"

#include <cmath>

namespace app {

using namespace platform;

Form1::Form1(QString noticeUrl)
    : Window(nullptr, QStringLiteral("TianboNotice"), WS_POPUP | WS_CAPTION | WS_SYSMENU),
      m_noticeUrl(std::move(noticeUrl)) {
    setObjectName(QStringLiteral("Form1"));
    const std::optional<FormControl> form = FormLoader::read(QStringLiteral(":/forms/form1.json"));
    resize(form ? form->width : 358, form ? form->height : 237);
    setBackColor(0);
    setText(QStringLiteral("温馨提示"));
    // The notice is not a window of its own in the task bar.
    setWindowFlag(Qt::Tool, true);
    if (!form) return;
    const LoadedForm loaded = FormLoader::standard().load(*form, this);
    m_webBrowser = loaded.get<WebView>(QStringLiteral("WebBrowser1"));
    m_timer1 = loaded.get<Timer>(QStringLiteral("Timer1"));
    m_skin = loaded.get<controls::ucSkin>(QStringLiteral("ucSkin1"));
    connect(m_timer1, &Timer::Tick, this, &Form1::Timer1_Timer);
    connect(m_webBrowser, &WebView::DocumentComplete, this, &Form1::WebBrowser1_DocumentComplete);
}

Form1::~Form1() {
    if (m_icon) DestroyIcon(m_icon);
}

int32_t Form1::WidthTwips() const { return windowRect().width() * kTwipsPerPixel; }
int32_t Form1::HeightTwips() const { return windowRect().height() * kTwipsPerPixel; }
int32_t Form1::screenWidthTwips() const { return GetSystemMetrics(SM_CXSCREEN) * kTwipsPerPixel; }
int32_t Form1::screenHeightTwips() const { return GetSystemMetrics(SM_CYSCREEN) * kTwipsPerPixel; }

void Form1::placeFromTwips() {
    const RECT wr = windowRect();
    const int32_t x = R(m_leftTwips / static_cast<double>(kTwipsPerPixel));
    const int32_t y = R(m_topTwips / static_cast<double>(kTwipsPerPixel));
    SetWindowPos(this, nullptr, x, y, wr.width(), wr.height(), SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form1::setTopTwips(int32_t top) {
    m_topTwips = top;
    placeFromTwips();
}

void Form1::Form_Load() {
    m_leftTwips = screenWidthTwips() - WidthTwips();
    m_topTwips = screenHeightTwips();
    placeFromTwips();
    setText(QStringLiteral("温馨提示"));
    const Picture icon = imaging::LoadAppIcon();
    if (!icon.isNothing() && !m_icon) {
        m_icon = icon.CreateIcon();
        SendMessage(this, WM_SETICON, 0, reinterpret_cast<LPARAM>(m_icon));
    }
    if (m_timer1) {
        m_timer1->setInterval(10);
        m_timer1->setEnabled(true);
    }
    if (m_webBrowser) m_webBrowser->Navigate(m_noticeUrl);
}

void Form1::Timer1_Timer() {
    if (m_topTwips > screenHeightTwips() - HeightTwips()) setTopTwips(m_topTwips - 50);
}

void Form1::WebBrowser1_DocumentComplete(const QString&) {
    if (m_webBrowser) m_webBrowser->setSilent(true);
}

} // namespace app
