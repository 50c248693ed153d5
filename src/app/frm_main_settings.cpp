// FrmMain: the state a run leaves for the next one — volume and mute, the tab, the window's
// normal rectangle and maximised state, the list panel and its width, keep-on-top, and the
// last channel (selected again at start, not played). It is written to the settings file on
// every change that matters (changes that come in runs, once they settle) and at unload.

#include "app/frm_main.h"
#include "app/settings.h"
#include "platform/forms/number_rules.h"
#include "platform/window/window_functions.h"

#include <QGuiApplication>
#include <QScreen>

namespace app {

using namespace platform;

namespace {

// Whether a good part of `r` (a window's title bar at least) lies on some screen, so the
// window can be reached there.
bool reachable(const QRect& r) {
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->availableGeometry().intersected(r);
        if (common.width() >= 100 && common.height() >= 40) return true;
    }
    return false;
}

} // namespace

void FrmMain::applySettingsAtLoad() {
    if (!m_settings) return;
    const WindowState& st = m_settings->state();
    if (st.volume) m_player->settings().setVolume(*st.volume);
    if (st.mute) m_player->settings().setMute(true);
    showVolume();
    const QRect g = st.normalGeometry;
    if (!g.isNull() && reachable(g)) SetWindowPos(this, nullptr, g.x(), g.y(), g.width(), g.height(), SWP_NOZORDER);
    if (st.listWidth) {
        // Where the splitter would put the panel for this width, within the splitter's limits.
        const int32_t W = innerWidth(), right = controls::ucSkin::SizeRBorder();
        const int32_t splitW = m_ui.PicSplit->Width();
        const int32_t lowest = R(W * 0.3) + splitW;
        const int32_t highest = W - 150 - right + splitW;
        const int32_t left = std::clamp(W - right - *st.listWidth, std::min(lowest, highest), highest);
        if (W - right - left > 0) m_ui.PicTab->Move(left, m_ui.PicTab->Top(), W - right - left);
        Form_Resize();
    }
    if (st.tab) selectCategory(*st.tab);
    if (!st.listShown) tBt_Cls_Click();
    if (st.keepOnTop) setKeepOnTop(true);
    if (st.lastCategory) {
        m_lastCategory = *st.lastCategory;
        m_lastAddress = st.lastAddress;
        applyLastChannel();
    }
}

void FrmMain::applyLastChannel() {
    if (m_lastCategory < 0 || m_lastCategory > 3 || m_lastAddress.isEmpty()) return;
    controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(m_lastCategory)];
    for (int32_t i = 0; i < list->ListCount(); ++i) {
        if (list->URL(static_cast<int16_t>(i)) != m_lastAddress) continue;
        list->setListIndex(static_cast<int16_t>(i));
        return;
    }
}

void FrmMain::showAsLastRun() {
    if (m_settings && m_settings->state().maximized) ShowWindow(this, SW_MAXIMIZE);
    else show();
}

void FrmMain::saveSettingsSoon() {
    if (m_settings && m_loaded && !m_unloaded) m_saveTimer.start();
}

void FrmMain::saveSettingsNow() {
    m_saveTimer.stop();
    if (!m_settings || !m_loaded) return;
    WindowState st = m_settings->state();
    st.volume = m_player->settings().volume();
    st.mute = m_player->settings().mute();
    if (m_tabIndex >= 0 && m_tabIndex < 4) st.tab = m_tabIndex;
    // The rectangle the window returns to when it is neither maximised nor fullscreen.
    const bool maximized = m_fullscreen.on ? m_fullscreen.wasMaximized : IsZoomed(this);
    RECT normal = maximized || m_fullscreen.on ? normalRect() : windowRect();
    if (m_fullscreen.on && !m_fullscreen.wasMaximized) normal = m_fullscreen.windowRect;
    if (!IsIconic(this) && normal.width() > 0 && normal.height() > 0)
        st.normalGeometry = QRect(normal.left, normal.top, normal.width(), normal.height());
    st.maximized = maximized;
    st.listShown = m_fullscreen.on ? m_fullscreen.listShown : !m_ui.PicTab->isHidden();
    st.listWidth = m_ui.PicTab->Width();
    st.keepOnTop = keepOnTop();
    if (m_lastCategory >= 0) {
        st.lastCategory = m_lastCategory;
        st.lastAddress = m_lastAddress;
    }
    m_settings->setState(st);
    // A settings file that cannot be written is said once, not at every change.
    if (!m_settings->save() && !m_saveFailed) {
        m_saveFailed = true;
        qWarning("tianbo: %s", qPrintable(m_settings->lastError()));
    }
}

} // namespace app
