// FrmMain: the keys of the main window. They work whichever of its parts has the focus (a
// list, the video, the window itself), so the window sees every key press in it before the
// part does, turns the press into one of its commands and sends that as WM_COMMAND, the way
// the main menu does:
//
//   Space play/pause   S stop   M mute   Up/Down selection   Enter play the selected row
//   PageUp/PageDown previous/next channel   Ctrl+Up/Ctrl+Down volume   Left/Right seek
//   Tab, Ctrl+Tab next category (with Shift: previous)   F, F11 fullscreen   Esc leave it
//   Ctrl+U open an address   Ctrl+O import a playlist   F5 reload the channels
//
// Dialogs and menus are windows of their own: their keys stay theirs.

#include "app/frm_main.h"
#include "app/main_commands.h"
#include "platform/window/window_functions.h"

#include <QApplication>
#include <QKeyEvent>

namespace app {

using namespace platform;

namespace {

struct Accelerator {
    int key;
    Qt::KeyboardModifiers modifiers;
    UINT command;
    // Whether the key's automatic repeats repeat the command.
    bool repeats;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

const Accelerator kAccelerators[] = {
    {Qt::Key_Space, kNone, kCmdPlayPause, false},
    {Qt::Key_S, kNone, kCmdStop, false},
    {Qt::Key_M, kNone, kCmdMute, false},
    {Qt::Key_Up, kNone, kCmdSelectionUp, true},
    {Qt::Key_Down, kNone, kCmdSelectionDown, true},
    {Qt::Key_Return, kNone, kCmdPlaySelected, false},
    {Qt::Key_Enter, kNone, kCmdPlaySelected, false},
    {Qt::Key_PageUp, kNone, kCmdPreviousChannel, true},
    {Qt::Key_PageDown, kNone, kCmdNextChannel, true},
    {Qt::Key_Up, kCtrl, kCmdVolumeUp, true},
    {Qt::Key_Down, kCtrl, kCmdVolumeDown, true},
    {Qt::Key_Left, kNone, kCmdSeekBack, true},
    {Qt::Key_Right, kNone, kCmdSeekForward, true},
    {Qt::Key_Tab, kNone, kCmdNextCategory, false},
    {Qt::Key_Tab, kCtrl, kCmdNextCategory, false},
    // Shift+Tab arrives as Backtab.
    {Qt::Key_Backtab, kShift, kCmdPreviousCategory, false},
    {Qt::Key_Backtab, kCtrl | kShift, kCmdPreviousCategory, false},
    {Qt::Key_F, kNone, kCmdFullscreen, false},
    {Qt::Key_F11, kNone, kCmdFullscreen, false},
    {Qt::Key_Escape, kNone, kCmdLeaveFullscreen, false},
    {Qt::Key_U, kCtrl, kCmdOpenAddress, false},
    {Qt::Key_O, kCtrl, kCmdImportPlaylist, false},
    {Qt::Key_F5, kNone, kCmdReload, false},
};

} // namespace

UINT CommandForKey(int key, Qt::KeyboardModifiers modifiers, bool repeated) {
    // The keypad's own flag does not make another key: its Enter is Enter.
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    for (const Accelerator& a : kAccelerators) {
        if (a.key == key && a.modifiers == held) return repeated && !a.repeats ? 0 : a.command;
    }
    return 0;
}

bool FrmMain::keyPress(QKeyEvent* e) {
    const UINT command = CommandForKey(e->key(), e->modifiers(), e->isAutoRepeat());
    if (!command) return false;
    SendMessage(this, WM_COMMAND, command, 0);
    return true;
}

void FrmMain::moveSelection(int step) {
    const int category = currentCategory();
    controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(category)];
    const int32_t count = list->ListCount();
    if (list->isHidden() || count == 0) return;
    const int32_t from = list->ListIndex();
    const int32_t to = from < 0 ? (step > 0 ? 0 : count - 1) : std::clamp(from + step, 0, count - 1);
    if (to == from) return;
    // One row at a time: the list's own rule would page the row to the top once it leaves
    // the view, which loses the user's place when stepping.
    const int32_t rows = std::max(1, list->ViewHeight() / std::max(1, list->ItemHeight()));
    if (to < list->TopIndex()) list->ucBar()->setValue(to);
    else if (to >= list->TopIndex() + rows) list->ucBar()->setValue(to - rows + 1);
    list->setListIndex(static_cast<int16_t>(to));
}

void FrmMain::playSelected() {
    const int category = currentCategory();
    controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(category)];
    const int16_t row = list->ListIndex();
    if (list->isHidden() || row < 0 || row >= list->ListCount()) return;
    if (row != list->PlayIndex()) {
        list->setPlayIndex(row);
        return;
    }
    // The marked row moves no mark: it starts again unless it is playing.
    switch (m_player->playState()) {
    case MediaPlayer::Playing:
    case MediaPlayer::Buffering:
    case MediaPlayer::Transitioning: return;
    default: startChannel(category, row);
    }
}

} // namespace app
