// FrmMain: the tab strip above the channel lists: which tab is selected and hot, presses and
// hover. The tabs are painted by controls::paintTab.
//
// Hit-testing divides by R(S / TabCount) while painting cuts tabs of S div TabCount pixels,
// so the two can disagree by a few pixels at the borders, as they always have.

#include "app/frm_main.h"
#include "controls/chrome/tab_painting.h"
#include "platform/forms/number_rules.h"
#include "platform/window/window_functions.h"

#include <cmath>

namespace app {

using namespace platform;
using controls::ButtonLook;

bool FrmMain::DrawTab(int16_t index, controls::ButtonLook state, bool force) {
    if (m_tabCount <= 0 || index < 0 || index >= m_tabCount) return false;
    TabRecord& tab = m_tabs[static_cast<size_t>(index)];
    if (state == tab.State && !force) return false;
    controls::paintTab(m_ui.PicTab->hdc(), m_tabBarSurface, m_tabBackBrush, m_ui.PicTab->ScaleWidth(), m_tabCount,
                       index, index == m_tabIndex, state, tab.Caption);
    tab.State = state;
    return true;
}

void FrmMain::setTabIndex(int16_t index) {
    if (index == m_tabIndex) return;
    const int16_t old = m_tabIndex;
    m_tabIndex = index;
    const bool a = DrawTab(old, ButtonLook::Normal, true);
    const bool b = DrawTab(index, ButtonLook::Normal, true);
    if (a || b) m_ui.PicTab->Refresh();
}

void FrmMain::PicTab_Resize() {
    for (int16_t i = 0; i < m_tabCount; ++i) DrawTab(i, ButtonLook::Normal, true);
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
    const int32_t i = static_cast<int32_t>(Fix(X / hit));
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
        if (DrawTab(m_hotTab, ButtonLook::Normal, false)) m_ui.PicTab->Refresh();
        return;
    }
    SetCapture(m_ui.PicTab);
    const int32_t hit = tabHitWidth();
    if (hit <= 0) return;
    const int32_t t = static_cast<int32_t>(Fix(X / hit));
    DrawTab(m_hotTab, ButtonLook::Normal, false);
    if (t >= INT16_MIN && t <= INT16_MAX && DrawTab(static_cast<int16_t>(t), ButtonLook::Hot, false)) {
        m_hotTab = static_cast<int16_t>(t);
        m_ui.PicTab->Refresh();
    }
}

} // namespace app
