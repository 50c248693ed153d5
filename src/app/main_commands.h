#pragma once
// The main window's commands: one number per action, carried by WM_COMMAND whether the main
// menu or a key asked for it, so each action has exactly one handler.

#include "platform/window/messages.h"

#include <Qt>

namespace app {

enum MainCommand : platform::UINT {
    kCmdOpenAddress = 100,
    kCmdImportPlaylist,
    kCmdReload,
    kCmdFullscreen,
    kCmdLeaveFullscreen,
    kCmdKeepOnTop,
    kCmdAbout,
    kCmdPlayPause,
    kCmdStop,
    kCmdMute,
    kCmdSelectionUp,
    kCmdSelectionDown,
    kCmdPlaySelected,
    kCmdPreviousChannel,
    kCmdNextChannel,
    kCmdVolumeUp,
    kCmdVolumeDown,
    kCmdSeekBack,
    kCmdSeekForward,
    kCmdNextCategory,
    kCmdPreviousCategory,
    // Removing playlist n of the current category: kCmdRemovePlaylist + n.
    kCmdRemovePlaylist = 1000,
    kCmdRemovePlaylistEnd = kCmdRemovePlaylist + 1000,
};

// The command a key press asks for in the main window, 0 for none. `repeated` is true for
// the key's automatic repeats, which only the stepping keys (selection, channel, volume,
// seek) follow; a held F does not toggle fullscreen over and over.
platform::UINT CommandForKey(int key, Qt::KeyboardModifiers modifiers, bool repeated);

} // namespace app
