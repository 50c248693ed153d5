// FrmMain: fullscreen. The video fills the screen the window is on; the frame, the list
// panel and the splitter go; the control bar lies over the bottom of the picture while the
// pointer moves, and goes with the pointer once it has rested two seconds (not while it rests
// on the bar itself). Leaving returns the window to exactly the rectangle and show state it
// had.
//
//   ┌──────────────── screen ────────────────┐
//   │PicCnt (video) 0,0 .. W,H               │
//   │                                        │
//   ├PicCtr over the picture: 0, H-64, W ────┤  shown while the pointer moves
//   └────────────────────────────────────────┘
//
// The window is maximised for it, so the frame drops its rounded regions and the layer keeps
// the normal rectangle to restore; then its client area is made the screen, the invisible
// sizing frame lying just outside.

#include "app/frm_main.h"
#include "platform/media/video_widget.h"
#include "platform/window/window_functions.h"

#include <QScreen>

namespace app {

using namespace platform;

void FrmMain::setFullscreen(bool on) {
    if (on == m_fullscreen.on) return;
    FullscreenState& f = m_fullscreen;
    QPointer<FrmMain> self(this);
    if (on) {
        f.wasMaximized = IsZoomed(this);
        f.windowRect = windowRect();
        f.listShown = !m_ui.PicTab->isHidden();
        f.visibleList = currentCategory();
        f.on = true;
        const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1280, 1024);
        m_ui.ucSkin1->hide();
        m_ui.PicTab->hide();
        m_ui.PicTool->hide();
        m_ui.PicSplit->hide();
        showOnlyList(-1);
        if (!f.wasMaximized) ShowWindow(this, SW_MAXIMIZE);
        if (!self) return;
        const int32_t frame = frameThickness();
        SetWindowPos(this, HWND_TOP, screenRect.x() - frame, screenRect.y() - frame, screenRect.width() + 2 * frame,
                     screenRect.height() + 2 * frame, 0);
        if (!self) return;
        layoutFullscreen();
        f.barShown = false;
        fullscreenPointerMoved();
        return;
    }
    f.on = false;
    m_fullscreenBarTimer.stop();
    uncoverFullscreenBar(false);
    m_video->unsetCursor();
    m_ui.ucSkin1->show();
    if (f.wasMaximized) {
        SetWindowPos(this, nullptr, f.windowRect.left, f.windowRect.top, f.windowRect.width(), f.windowRect.height(),
                     SWP_NOZORDER);
    } else {
        ShowWindow(this, SW_RESTORE);
    }
    if (!self) return;
    m_ui.PicCtr->show();
    if (f.listShown) {
        m_ui.PicTab->show();
        m_ui.PicTool->show();
        m_ui.PicSplit->show();
        showOnlyList(f.visibleList);
    }
    Form_Resize();
    PicCtr_Resize();
}

void FrmMain::layoutFullscreen() {
    const int32_t W = innerWidth(), H = innerHeight();
    m_ui.PicCnt->Move(0, 0, W, H);
    m_ui.PicCtr->Move(0, H - m_ui.PicCtr->Height(), W);
    m_ui.PicCtr->raise();
    uncoverFullscreenBar(m_fullscreen.barShown);
}

void FrmMain::uncoverFullscreenBar(bool shown) {
    auto* video = qobject_cast<platform::VideoWidget*>(m_video);
    if (!video) return;
    if (!shown) {
        video->setCovered({});
        return;
    }
    video->setCovered(QRect(m_video->mapFromGlobal(m_ui.PicCtr->mapToGlobal(QPoint(0, 0))), m_ui.PicCtr->size()));
}

void FrmMain::fullscreenPointerMoved() {
    if (!m_fullscreen.on) return;
    if (!m_fullscreen.barShown) {
        m_fullscreen.barShown = true;
        m_ui.PicCtr->show();
        m_ui.PicCtr->raise();
        uncoverFullscreenBar(true);
        m_video->unsetCursor();
    }
    m_fullscreenBarTimer.start();
}

void FrmMain::hideFullscreenBar() {
    if (!m_fullscreen.on) return;
    // The pointer resting on the bar is about to use it.
    if (m_ui.PicCtr->isVisible() && m_ui.PicCtr->rect().contains(m_ui.PicCtr->mapFromGlobal(m_lastPointer))) {
        m_fullscreenBarTimer.start();
        return;
    }
    m_fullscreen.barShown = false;
    m_ui.PicCtr->hide();
    uncoverFullscreenBar(false);
    m_video->setCursor(Qt::BlankCursor);
}

} // namespace app
