// FrmMain: the tab strip above the channel lists, painted from "TABBAR".
//
//   x0+1      x0+6                 x0+R((w-8)/2)      x0+w-6
//   │cap 5│ body (12 px, stretched) │centre 8│ body … │cap 5│   plate at y 6, 24 high
//
// Painting cuts the strip into tabs of S div TabCount pixels (the last one takes the rest);
// hit-testing divides by R(S / TabCount), so the two can disagree by a few pixels at the
// borders, as they always have.

#include "app/frm_main.h"
#include "imaging/draw_text_ellipsis.h"
#include "platform/window/window_functions.h"

#include <cmath>

namespace app {

using namespace platform;

namespace {
int32_t R(double x) { return static_cast<int32_t>(std::nearbyint(x)); }
} // namespace

bool FrmMain::DrawTab(int16_t index, int16_t state, bool force) {
    if (m_tabCount <= 0 || index < 0 || index >= m_tabCount) return false;
    TabRecord& tab = m_tabs[static_cast<size_t>(index)];
    if (state == tab.State && !force) return false;
    const int32_t S = m_ui.PicTab->ScaleWidth();
    HDC dc = m_ui.PicTab->hdc();
    int32_t w = static_cast<int32_t>(std::trunc(static_cast<double>(S) / m_tabCount));
    const int32_t x0 = index * w;
    // The last tab takes the rest of the strip, and its plate reaches into that rest: the
    // background is cleared over the widened tab, or a deselected last tab would leave the
    // two right-hand columns of its plate behind.
    if (index == m_tabCount - 1) w = S - x0;
    if (m_tabBackBrush) FillRect(dc, {x0, 0, x0 + w + 1, 29}, m_tabBackBrush);
    int32_t row = -1;
    if (index == m_tabIndex) row = 0;
    else if (state == 2) row = 24;
    if (row >= 0) {
        m_tabBarSurface.Draw(dc, 0, row, 5, 24, x0 + 1, 6, false);
        m_tabBarSurface.StretchDraw(dc, 5, row, 12, 24, x0 + 6, 6, w - 12, 24);
        m_tabBarSurface.Draw(dc, 36, row, 5, 24, x0 + w - 6, 6, false);
        m_tabBarSurface.Draw(dc, 17, row, 8, 24, x0 + R((w - 8) / 2.0), 6, false);
    }
    imaging::DrawTextEllipsis(dc, tab.Caption, x0 + 2, 8, w - 4, 20, DT_CENTER);
    tab.State = state;
    return true;
}

void FrmMain::setTabIndex(int16_t index) {
    if (index == m_tabIndex) return;
    const int16_t old = m_tabIndex;
    m_tabIndex = index;
    const bool a = DrawTab(old, 1, true);
    const bool b = DrawTab(index, 1, true);
    if (a || b) m_ui.PicTab->Refresh();
}

void FrmMain::PicTab_Resize() {
    for (int16_t i = 0; i < m_tabCount; ++i) DrawTab(i, 1, true);
    m_ui.PicTab->Refresh();
}

int32_t FrmMain::tabHitWidth() const {
    if (m_tabCount <= 0) return 0;
    return R(static_cast<double>(m_ui.PicTab->ScaleWidth()) / m_tabCount);
}

void FrmMain::PicTab_MouseDown(int16_t Button, int16_t, float X, float) {
    if (Button != 1) return;
    const int32_t hit = tabHitWidth();
    // A strip narrower than two pixels has no tab width to divide by; the press is ignored.
    if (hit <= 0) return;
    const int32_t i = static_cast<int32_t>(std::trunc(X / hit));
    if (i < INT16_MIN || i > INT16_MAX) return;
    setTabIndex(static_cast<int16_t>(i));
    if (i >= 0 && i <= 3) showOnlyList(i);
}

void FrmMain::PicTab_MouseMove(int16_t, int16_t, float X, float Y) {
    if (m_tabCount <= 0) return;
    POINT cursor;
    GetCursorPos(&cursor);
    const int32_t S = m_ui.PicTab->ScaleWidth();
    const bool outside =
        WindowFromPoint(cursor) != m_ui.PicTab || X < 0 || X > S || Y < 0 || Y > m_ui.PicTab->ScaleHeight();
    if (outside) {
        ReleaseCapture();
        if (DrawTab(m_hotTab, 1, false)) m_ui.PicTab->Refresh();
        return;
    }
    SetCapture(m_ui.PicTab);
    const int32_t hit = tabHitWidth();
    if (hit <= 0) return;
    const int32_t t = static_cast<int32_t>(std::trunc(X / hit));
    DrawTab(m_hotTab, 1, false);
    if (t >= INT16_MIN && t <= INT16_MAX && DrawTab(static_cast<int16_t>(t), 2, false)) {
        m_hotTab = static_cast<int16_t>(t);
        m_ui.PicTab->Refresh();
    }
}

} // namespace app
