// FrmMain: the actions the keyboard, the main menu and the desktop's media keys share, the
// one handler of the window's commands, and the event watch that feeds the keys, the wheel,
// fullscreen's pointer and the tooltips of the window's parts.

#include "app/frm_main.h"
#include "app/main_commands.h"
#include "app/settings.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace app {

using namespace platform;

void FrmMain::connectComforts() {
    connect(m_ui.ucSkin1, &controls::ucSkin::MenuButtonClick, this, &FrmMain::ucSkin1_MenuButtonClick);
    connect(m_ui.ImgPro, &ImageArea::MouseDown, this, &FrmMain::ImgPro_MouseDown);
    // The video reports the pointer's moves without a button held, for fullscreen's bar.
    m_video->setMouseTracking(true);
    setAcceptDrops(true);
    m_fullscreenBarTimer.setSingleShot(true);
    m_fullscreenBarTimer.setInterval(2000);
    connect(&m_fullscreenBarTimer, &QTimer::timeout, this, &FrmMain::hideFullscreenBar);
    // Changes that come in runs (a volume drag, a window drag) are written once they settle.
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(500);
    connect(&m_saveTimer, &QTimer::timeout, this, &FrmMain::saveSettingsNow);
    connect(m_ui.ucSkin1, &controls::ucSkin::KeepOnTopChanged, this, &FrmMain::saveSettingsSoon);
    for (controls::ucButton* b : {m_ui.ctr_Vol, m_ui.ctr_Lst, m_ui.tBt_Cls})
        connect(b, &controls::ucButton::Click, this, &FrmMain::saveSettingsSoon);
    connect(m_ui.PicSplit, &PictureBox::MouseUp, this, &FrmMain::saveSettingsSoon);
    connect(m_ui.PicTab, &PictureBox::MouseDown, this, &FrmMain::saveSettingsSoon);
    connect(m_ui.ImgVolP, &ImageArea::MouseUp, this, &FrmMain::saveSettingsSoon);
    connect(m_ui.ImgVolP, &ImageArea::MouseMove, this, &FrmMain::saveSettingsSoon);
    for (int i = 0; i < 4; ++i) {
        connect(m_ui.ucListTV[static_cast<size_t>(i)], &controls::ucListBox::PlayIndexChanged, this,
                [this, i](int16_t NewIndex, int16_t) {
                    if (NewIndex < 0) return;
                    m_lastCategory = i;
                    m_lastAddress = m_ui.ucListTV[static_cast<size_t>(i)]->URL(NewIndex);
                    m_looseAddress.clear();
                    updateStatusTip();
                    saveSettingsSoon();
                });
    }
    qApp->installEventFilter(this);
}

void FrmMain::endComforts() {
    qApp->removeEventFilter(this);
    m_fullscreenBarTimer.stop();
    saveSettingsNow();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this) return keyPress(static_cast<QKeyEvent*>(e));
        break;
    }
    case QEvent::Wheel:
        if (watched == m_video || watched == m_ui.PicCnt || watched == m_ui.ImgVol || watched == m_ui.ImgVolP ||
            watched == m_ui.ctr_Vol)
            return wheelVolume(static_cast<QWheelEvent*>(e));
        break;
    case QEvent::MouseMove: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (m_fullscreen.on && w && w->window() == this) {
            m_lastPointer = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
            fullscreenPointerMoved();
        }
        if (watched == m_ui.ImgPro || watched == m_ui.ImgProPt)
            seekBarHover(w, static_cast<QMouseEvent*>(e)->position().toPoint());
        break;
    }
    case QEvent::Leave:
        if (watched == m_ui.ImgPro || watched == m_ui.ImgProPt) QToolTip::hideText();
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == m_video) {
            toggleFullscreen();
            return true;
        }
        break;
    case QEvent::ToolTip:
        for (controls::ucListBox* list : m_ui.ucListTV) {
            if (watched == list) return listToolTip(list, static_cast<QHelpEvent*>(e));
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (watched == this) return dragAndDrop(e);
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (watched == this && isVisible()) saveSettingsSoon();
        break;
    default: break;
    }
    return false;
}

void FrmMain::onCommand(UINT command) {
    switch (command) {
    case kCmdOpenAddress: showOpenAddressDialog(); break;
    case kCmdImportPlaylist: showImportDialog(); break;
    case kCmdReload: ReloadDirectories(); break;
    case kCmdFullscreen: toggleFullscreen(); break;
    case kCmdLeaveFullscreen: setFullscreen(false); break;
    case kCmdKeepOnTop: setKeepOnTop(!keepOnTop()); break;
    case kCmdAbout: showAbout(); break;
    case kCmdPlayPause: playPause(); break;
    case kCmdStop: stop(); break;
    case kCmdMute: toggleMute(); break;
    case kCmdSelectionUp: moveSelection(-1); break;
    case kCmdSelectionDown: moveSelection(1); break;
    case kCmdPlaySelected: playSelected(); break;
    case kCmdPreviousChannel: previousChannel(); break;
    case kCmdNextChannel: nextChannel(); break;
    case kCmdVolumeUp: setVolume(volume() + 5); break;
    case kCmdVolumeDown: setVolume(volume() - 5); break;
    case kCmdSeekBack: seekBy(-10); break;
    case kCmdSeekForward: seekBy(10); break;
    case kCmdNextCategory: selectCategory((currentCategory() + 1) % 4); break;
    case kCmdPreviousCategory: selectCategory((currentCategory() + 3) % 4); break;
    default:
        if (command >= kCmdRemovePlaylist && command < kCmdRemovePlaylistEnd)
            removePlaylist(currentCategory(), static_cast<int>(command - kCmdRemovePlaylist));
        break;
    }
}

void FrmMain::playPause() {
    // With nothing opened yet, play means the row the user has selected.
    if (m_player->URL().isEmpty()) {
        playSelected();
        return;
    }
    ctr_Play_Click();
}

void FrmMain::stop() { ctr_Stop_Click(); }

void FrmMain::toggleMute() {
    ctr_Vol_Click();
    saveSettingsSoon();
}

int FrmMain::volume() const { return m_player->settings().volume(); }

void FrmMain::setVolume(int v) {
    // Choosing a volume means wanting to hear it.
    if (m_player->settings().mute()) m_player->settings().setMute(false);
    m_player->settings().setVolume(std::clamp(v, 0, 100));
    showVolume();
    saveSettingsSoon();
}

void FrmMain::showVolume() {
    setSkinPicture(m_ui.ctr_Vol, m_player->settings().mute() ? "SLIBT" : "VOLBT");
    DrawVolumeBar();
}

void FrmMain::seekBy(double seconds) {
    const double duration = mediaDuration();
    if (!(duration > 0) || !std::isfinite(duration)) return;
    const double now = m_player->controls().currentPosition();
    m_player->controls().setCurrentPosition(std::clamp(now + seconds, 0.0, duration));
    if (!m_seekDragging) DrawProgressBar();
    m_ui.PicCtr->Refresh();
}

int FrmMain::playingCategory() const {
    for (size_t i = 0; i < m_ui.ucListTV.size(); ++i) {
        if (m_ui.ucListTV[i]->PlayIndex() >= 0) return static_cast<int>(i);
    }
    return -1;
}

void FrmMain::nextChannel() { stepChannel(1); }
void FrmMain::previousChannel() { stepChannel(-1); }

void FrmMain::stepChannel(int step) {
    int category = playingCategory();
    if (category < 0) category = currentCategory();
    controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(category)];
    const int32_t count = list->ListCount();
    if (count == 0) return;
    int32_t from = list->PlayIndex();
    if (from < 0) from = list->ListIndex();
    int32_t to = from < 0 ? (step > 0 ? 0 : count - 1) : from + step;
    // Round like a television's channel buttons.
    if (to >= count) to = 0;
    if (to < 0) to = count - 1;
    list->setListIndex(static_cast<int16_t>(to));
    if (to != list->PlayIndex()) list->setPlayIndex(static_cast<int16_t>(to));
}

int FrmMain::currentCategory() const {
    for (size_t i = 0; i < m_ui.ucListTV.size(); ++i) {
        if (!m_ui.ucListTV[i]->isHidden()) return static_cast<int>(i);
    }
    return m_tabIndex >= 0 && m_tabIndex < 4 ? m_tabIndex : 0;
}

void FrmMain::selectCategory(int category) {
    if (category < 0 || category > 3) return;
    setTabIndex(static_cast<int16_t>(category));
    // In fullscreen the list shows when fullscreen ends; with the panel hidden, when it shows.
    if (m_fullscreen.on) m_fullscreen.visibleList = category;
    else if (!m_ui.PicTab->isHidden()) showOnlyList(category);
    saveSettingsSoon();
}

bool FrmMain::keepOnTop() const { return m_ui.ucSkin1->KeepOnTop(); }

void FrmMain::setKeepOnTop(bool on) { m_ui.ucSkin1->setKeepOnTop(on); }

} // namespace app
