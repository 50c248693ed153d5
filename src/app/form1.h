#pragma once
// Form1: the notice window captioned "温馨提示", an ordinary top-level window. It slides up
// from below the bottom of the screen's work area at its right-hand side, 50 twips every
// 10 ms, until its bottom edge rests on the work area's bottom edge (above a panel there),
// where the slide stops, and shows the part of the notice page that begins 8 pixels from its left and 384 pixels
// from its top. A page that cannot be loaded gives way to a notice of our own.

#include "app/config.h"
#include "controls/chrome/uc_skin.h"
#include "platform/web/web_view.h"
#include "platform/window/timer.h"
#include "platform/window/window.h"

namespace app {

class Form1 : public platform::Window {
    Q_OBJECT

public:
    // A notice window that shows the page at `noticeUrl` when it loads.
    explicit Form1(QString noticeUrl = QString::fromUtf8(config::kNoticeUrl));
    ~Form1() override;

    // The load step: position at the right edge just below the screen, caption, slide timer,
    // navigation to the notice page.
    void Form_Load();

    // Geometry in twips: the window rectangle's position and size, and the screen's size.
    int32_t LeftTwips() const { return m_leftTwips; }
    int32_t TopTwips() const { return m_topTwips; }
    int32_t WidthTwips() const;
    int32_t HeightTwips() const;
    int32_t screenWidthTwips() const;
    int32_t screenHeightTwips() const;
    // The screen's work area (the screen less its panels), in twips.
    platform::RECT workAreaTwips() const;
    void setTopTwips(int32_t top);

    // One slide step (the timer's tick).
    void Timer1_Timer();

protected:
    platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) override;

private:
    friend class TestPeer;

    void placeFromTwips();
    void WebBrowser1_DocumentComplete(const QString& url);
    void WebBrowser1_NavigateError(const QString& url, int statusCode);

    QString m_noticeUrl;
    platform::HICON m_icon = nullptr;
    int32_t m_leftTwips = 0;
    int32_t m_topTwips = 0;
    controls::ucSkin* m_skin = nullptr;
    platform::WebView* m_webBrowser = nullptr;
    platform::Timer* m_timer1 = nullptr;
};

} // namespace app
