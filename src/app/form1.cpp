#include "app/form1.h"

#include "app/form_loader.h"
#include "imaging/skin_catalogue.h"
#include "platform/forms/number_rules.h"
#include "platform/gdi/icon.h"
#include "platform/window/window_functions.h"

#include <algorithm>
#include <cmath>

namespace app {

using namespace platform;

namespace {

// The notice shown when the configured page cannot be loaded. The window shows the page
// from 8 pixels left and 384 pixels down, 358 x 237 pixels, under a 24-pixel caption and
// 4-pixel borders, so the text sits in that part of it.
constexpr char16_t kFallbackNoticePage[] = uR"(<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>温馨提示</title>
<style>
html, body { margin: 0; padding: 0; overflow: hidden; background: #18181a; color: #c8ccd4;
  font-family: "WenQuanYi Zen Hei", "宋体", sans-serif; }
.panel { position: absolute; left: 8px; top: 384px; width: 358px; height: 237px;
  box-sizing: border-box; padding: 40px 20px 14px; background: #18181a; }
h1 { margin: 0 0 12px; padding-bottom: 6px; font-size: 15px; font-weight: normal; color: #ffffff;
  border-bottom: 1px solid #53b702; }
p { margin: 0 0 8px; font-size: 13px; line-height: 1.6; }
</style></head>
<body><div class="panel">
<h1>暂时无法显示公告</h1>
<p>公告页面暂时打不开，可能是网络尚未连通。</p>
<p>这不影响收看节目：双击右侧列表中的频道即可播放。</p>
</div></body></html>
)";

} // namespace

Form1::Form1(QString noticeUrl)
    : Window(nullptr, QStringLiteral("TianboNotice"), WS_POPUP | WS_CAPTION | WS_SYSMENU),
      m_noticeUrl(std::move(noticeUrl)) {
    setObjectName(QStringLiteral("Form1"));
    const std::optional<FormControl> form = FormLoader::read(QStringLiteral(":/forms/form1.json"));
    resize(form ? form->width : 358, form ? form->height : 237);
    setBackColor(0);
    setText(QStringLiteral("温馨提示"));
    if (!form) return;
    const LoadedForm loaded = FormLoader::standard().load(*form, this);
    m_webBrowser = loaded.get<WebView>(QStringLiteral("WebBrowser1"));
    m_timer1 = loaded.get<Timer>(QStringLiteral("Timer1"));
    m_skin = loaded.get<controls::ucSkin>(QStringLiteral("ucSkin1"));
    connect(m_timer1, &Timer::Tick, this, &Form1::Timer1_Timer);
    connect(m_webBrowser, &WebView::DocumentComplete, this, &Form1::WebBrowser1_DocumentComplete);
    // A notice page that cannot be loaded is replaced by one of our own, not by the engine's
    // error page (in English, with a button that reloads a page the user cannot mend). The
    // replacement waits for the failed navigation to finish, which would cancel it.
    m_webBrowser->setErrorPageEnabled(false);
    connect(m_webBrowser, &WebView::NavigateError, this, &Form1::WebBrowser1_NavigateError, Qt::QueuedConnection);
}

Form1::~Form1() {
    if (m_icon) DestroyIcon(m_icon);
}

int32_t Form1::WidthTwips() const { return windowRect().width() * kTwipsPerPixel; }
int32_t Form1::HeightTwips() const { return windowRect().height() * kTwipsPerPixel; }
int32_t Form1::screenWidthTwips() const { return GetSystemMetrics(SM_CXSCREEN) * kTwipsPerPixel; }
int32_t Form1::screenHeightTwips() const { return GetSystemMetrics(SM_CYSCREEN) * kTwipsPerPixel; }

RECT Form1::workAreaTwips() const {
    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    return {work.left * kTwipsPerPixel, work.top * kTwipsPerPixel, work.right * kTwipsPerPixel,
            work.bottom * kTwipsPerPixel};
}

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
    // At the right edge of the work area, just below its bottom: behind a bottom panel, or
    // off the screen when there is none.
    const RECT work = workAreaTwips();
    m_leftTwips = work.right - WidthTwips();
    m_topTwips = work.bottom;
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
    // The last step is shortened, so the window comes to rest with its bottom edge on the
    // work area's bottom edge, above any panel there.
    const int32_t rest = workAreaTwips().bottom - HeightTwips();
    if (m_topTwips > rest) setTopTwips(std::max(m_topTwips - 50, rest));
    // Arrived, the window stays where the slide put it; a timer left running would wake the
    // program a hundred times a second for nothing.
    if (m_topTwips <= rest && m_timer1) m_timer1->setEnabled(false);
}

LRESULT Form1::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A notice the user closed is not shown again: the page's engine goes with it.
    if (msg == WM_DESTROY && m_webBrowser) m_webBrowser->Quit();
    return Window::WindowProc(msg, wParam, lParam);
}

void Form1::WebBrowser1_DocumentComplete(const QString&) {
    if (m_webBrowser) m_webBrowser->setSilent(true);
}

void Form1::WebBrowser1_NavigateError(const QString&, int) {
    if (m_webBrowser) m_webBrowser->setHtml(QString::fromUtf16(kFallbackNoticePage));
}

} // namespace app
