// FrmMain: playback and the control bar — the lists start channels, the player's events
// drive the buttons, the seek bar and the status line, and a music item that ends by itself
// is followed by the next one.
//
// Exactly one row of the four lists carries the playing mark: the item the player holds.
// Starting a channel clears the other lists' marks, and the automatic advance moves the music
// list's mark along without starting the item a second time.
//
// "PLAYCTR" (19 x 64) slices, x, y, width, height:
//   bar background (0, 0, 1, 64)
//   seek:   fill (1, 0, 1, 8)  knob (2, 0, 8, 8)  track (10, 0, 1, 8)
//   volume: fill (1, 8, 1, 8)  knob (2, 8, 8, 8)  track (10, 8, 1, 8)
//
// The seek bar spans x 5 .. W - 102 of the bar, the knob 8 pixels wide at fill + 5; the
// volume bar spans 98 .. 153 with the knob at 98 + level.

#include "app/frm_main.h"
#include "imaging/skin_catalogue.h"
#include "platform/forms/number_rules.h"
#include "platform/forms/runtime_error.h"

#include <cmath>

namespace app {

using namespace platform;

namespace {
// The music list, the only one the automatic advance walks through.
constexpr int kMusicList = 1;
} // namespace

double FrmMain::mediaDuration() const { return m_player ? m_player->currentMedia().duration() : 0.0; }

void FrmMain::ucList_PlayIndexChanged(int list, int16_t NewIndex) {
    if (m_markOnly) return;
    startChannel(list, NewIndex);
}

void FrmMain::startChannel(int list, int16_t index) {
    controls::ucListBox* l = m_ui.ucListTV[static_cast<size_t>(list)];
    m_playingList = list;
    markPlaying(list, index);
    m_player->setURL(l->URL(index), rowOrigin(list, index));
    if (list == kMusicList) m_musicIndex = l->ListIndex();
    m_ui.WebBrowser1->Navigate(QStringLiteral("about:blank"));
}

void FrmMain::markPlaying(int list, int16_t index) {
    const bool outer = m_markOnly;
    m_markOnly = true;
    for (size_t i = 0; i < m_ui.ucListTV.size(); ++i) {
        const int16_t wanted = static_cast<int>(i) == list ? index : int16_t{-1};
        if (m_ui.ucListTV[i]->PlayIndex() != wanted) m_ui.ucListTV[i]->setPlayIndex(wanted);
    }
    m_markOnly = outer;
}

// A double-click on the row that already carries the playing mark moves no mark, so the list
// raises no PlayIndexChanged for it; when that item no longer plays (stopped, paused, ended
// or failed), the double-click starts it again.
void FrmMain::ucList_DBClick(int list, int16_t Button, int16_t, float X, float Y) {
    controls::ucListBox* l = m_ui.ucListTV[static_cast<size_t>(list)];
    const int16_t row = l->IndexFromPoint(X, Y);
    if (Button != 1 || row < 0 || row != l->PlayIndex()) return;
    switch (m_player->playState()) {
    case MediaPlayer::Playing:
    case MediaPlayer::Buffering:
    case MediaPlayer::Transitioning: return;
    default: startChannel(list, row);
    }
}

void FrmMain::WMP_PlayStateChange(int32_t NewState) {
    // Only a stop that follows the media's end is an item that ended by itself; the user's
    // stop, the end of a live stream, a failed open and a channel change are not.
    const bool endedByItself = NewState == MediaPlayer::Stopped && m_lastPlayState == MediaPlayer::MediaEnded;
    m_lastPlayState = NewState;
    // The button offers what a click does: play whenever nothing plays, pause while playing.
    if (NewState == MediaPlayer::Stopped || NewState == MediaPlayer::Paused || NewState == MediaPlayer::Ready)
        setSkinPicture(m_ui.ctr_Play, "PLAYBT");
    else if (NewState == MediaPlayer::Playing) setSkinPicture(m_ui.ctr_Play, "PAUSEBT");
    if (!m_seekDragging) {
        DrawProgressBar();
        m_ui.PicCtr->Refresh();
    }
    if (m_player->playState() == MediaPlayer::Stopped && endedByItself && m_playingList == kMusicList)
        m_ui.Timer2->setInterval(100);
}

void FrmMain::Timer2_Timer() {
    // The index is a 16-bit number; at its end the advance stays on the last one it reached.
    if (m_musicIndex < INT16_MAX) ++m_musicIndex;
    m_ui.Timer2->setInterval(0);
    controls::ucListBox* music = m_ui.ucListTV[kMusicList];
    if (m_musicIndex < 0 || m_musicIndex >= music->ListCount()) {
        // Past the last item there is nothing to start: the player rests stopped, no row is
        // marked, and the status line says why rather than reporting a failure.
        m_playingList = -1;
        markPlaying(-1, -1);
        m_ui.Label1->setCaption(QStringLiteral("音乐列表已播放完毕"));
        return;
    }
    m_playingList = kMusicList;
    markPlaying(kMusicList, m_musicIndex);
    m_player->setURL(music->URL(m_musicIndex), rowOrigin(kMusicList, m_musicIndex));
}

void FrmMain::WMP_StatusChange() {
    m_ui.Timer1->setEnabled(false);
    switch (m_player->playState()) {
    case MediaPlayer::Buffering: m_ui.Timer1->setEnabled(true); break;
    case MediaPlayer::Ready: m_ui.Label1->setCaption(QStringLiteral("播放失败")); break;
    default: m_ui.Label1->setCaption(m_player->status()); break;
    }
}

void FrmMain::Timer1_Timer() {
    m_ui.Label1->setCaption(QStringLiteral("缓冲... ") + QString::number(m_player->network().bufferingProgress()) +
                            QStringLiteral("%"));
}

void FrmMain::WMP_PositionChange(double, double) {
    // A live stream's bar never moves, and a long medium's knob moves less than a pixel per
    // report: the bar is drawn again only when its fill changes.
    if (!m_seekDragging && progressFill() != m_drawnProgressFill) DrawProgressBar();
}

void FrmMain::ctr_Play_Click() {
    if (m_player->playState() == MediaPlayer::Playing) m_player->controls().pause();
    else m_player->controls().play();
}

void FrmMain::ctr_Stop_Click() { m_player->controls().stop(); }

void FrmMain::ctr_Vol_Click() {
    m_player->settings().setMute(!m_player->settings().mute());
    setSkinPicture(m_ui.ctr_Vol, m_player->settings().mute() ? "SLIBT" : "VOLBT");
    DrawVolumeBar();
}

int32_t FrmMain::progressFill() const {
    const double duration = mediaDuration();
    if (!(duration > 0) || !std::isfinite(duration)) return 0;
    const double position = m_player->controls().currentPosition();
    return std::isfinite(position) ? R(position / duration * (m_ui.PicCtr->ScaleWidth() - 99)) : 0;
}

void FrmMain::DrawProgressBar() {
    const int32_t W = m_ui.PicCtr->ScaleWidth();
    HDC dc = m_ui.PicCtr->hdc();
    const int32_t fill = progressFill();
    m_drawnProgressFill = fill;
    m_playCtrSurface.StretchDraw(dc, 10, 0, 1, 8, 5, 5, W - 107, 8);
    m_playCtrSurface.Draw(dc, 2, 0, 8, 8, fill + 5, 5, false);
    if (fill > 0) m_playCtrSurface.StretchDraw(dc, 1, 0, 1, 8, 5, 5, fill, 8);
    m_ui.ImgProPt->Move(fill + 5, 5, 8, 8);
}

void FrmMain::ImgProPt_MouseDown(int16_t Button, int16_t, float X, float) {
    if (Button != 1 || !(mediaDuration() > 0)) return;
    m_dragOffset = R(X / kTwipsPerPixel);
    m_seekDragging = true;
}

void FrmMain::ImgProPt_MouseMove(int16_t Button, int16_t, float X, float) {
    if (!(Button & 1) || !(mediaDuration() > 0)) return;
    const int32_t W = m_ui.PicCtr->ScaleWidth();
    int32_t left = R(X / kTwipsPerPixel + m_ui.ImgProPt->Left() - m_dragOffset);
    if (left < 10) left = 10;
    if (left > W - 99) left = W - 99;
    const int32_t fill = left - m_ui.ImgPro->Left();
    m_drawnProgressFill = fill;
    HDC dc = m_ui.PicCtr->hdc();
    m_playCtrSurface.StretchDraw(dc, 10, 0, 1, 8, 5, 5, W - 107, 8);
    m_playCtrSurface.Draw(dc, 2, 0, 8, 8, fill + 5, 5, false);
    if (fill > 0) m_playCtrSurface.StretchDraw(dc, 1, 0, 1, 8, 5, 5, fill, 8);
    m_ui.ImgProPt->Move(left, m_ui.ImgProPt->Top());
    m_ui.PicCtr->Refresh();
}

void FrmMain::ImgProPt_MouseUp(int16_t Button, int16_t, float, float) {
    if (Button != 1) return;
    const int32_t W = m_ui.PicCtr->ScaleWidth();
    const double duration = mediaDuration();
    if (W - 99 != 0 && std::isfinite(duration))
        m_player->controls().setCurrentPosition(static_cast<double>(m_ui.ImgProPt->Left() - m_ui.ImgPro->Left()) /
                                                (W - 99) * duration);
    m_seekDragging = false;
}

void FrmMain::DrawVolumeBar() {
    HDC dc = m_ui.PicCtr->hdc();
    if (!m_player->settings().mute()) {
        const int32_t level = R(m_player->settings().volume() / 100.0 * 47);
        m_playCtrSurface.StretchDraw(dc, 10, 8, 1, 8, 98, 38, 55, 8);
        m_playCtrSurface.StretchDraw(dc, 1, 8, 1, 8, 98, 38, level, 8);
        m_playCtrSurface.Draw(dc, 2, 8, 8, 8, 98 + level, 38, false);
        m_ui.ImgVol->Move(98, 38, 55, 8);
        m_ui.ImgVolP->Move(98 + level, 38, 8, 8);
    } else {
        m_playCtrSurface.StretchDraw(dc, 10, 8, 1, 8, 98, 38, 55, 8);
        m_playCtrSurface.Draw(dc, 2, 8, 8, 8, 98, 38, false);
    }
    m_ui.PicCtr->Refresh();
}

void FrmMain::ImgVolP_MouseDown(int16_t Button, int16_t, float X, float) {
    if (Button != 1) return;
    m_dragOffset = R(X / kTwipsPerPixel);
}

void FrmMain::ImgVolP_MouseMove(int16_t Button, int16_t, float X, float) {
    if (!(Button & 1)) return;
    int32_t left = R(X / kTwipsPerPixel + m_ui.ImgVolP->Left() - m_dragOffset);
    left = std::clamp(left, 98, 145);
    m_player->settings().setVolume(R((left - 98) / 47.0 * 100));
    DrawVolumeBar();
}

} // namespace app
