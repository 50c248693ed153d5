#pragma once
// FrmMain: the player's main window and the owner of everything else. It is dressed by the
// skin frame and laid out in pixels: the video area on the left, the list panel on the right
// (tab strip, tool strip, four channel lists), the splitter between them and the control bar
// along the bottom:
//
//   ┌ucSkin1 caption──────────────────────────────────────┐
//   │PicCnt (video, WMP)              ║│PicTab  监控 音乐 …│
//   │                                 ║│PicTool         [x]│
//   │                        PicSplit ║│ucListTV0..3       │
//   │                                 ║│                   │
//   ├PicCtr: seek bar, ▶ ■ 🔊 volume, status, [list]──────┤
//   └─────────────────────────────────────────────────────┘
//
// Its controls come from the form file compiled into the program, made by the form loader;
// the window itself keeps layout and event wiring. Start-up (Form_Load),
// layout, the splitter and the panel buttons live in frm_main.cpp, the tab strip in
// frm_main_tabs.cpp, playback and the control bar in frm_main_playback.cpp.
//
// The everyday comforts around them: the actions the keyboard, the main menu and the
// desktop's media keys share (frm_main_actions.cpp), the keys (frm_main_keys.cpp), the main
// menu and its dialogs (frm_main_menu.cpp), fullscreen (frm_main_fullscreen.cpp), the
// user's playlists and dropped files (frm_main_playlists.cpp), the settings file
// (frm_main_settings.cpp) and the seek bar's, volume's and lists' pointer extras
// (frm_main_pointer.cpp).

#include "app/channels/playlist_reader.h"
#include "app/directory_config.h"
#include "app/directory_downloads.h"
#include "app/image_area.h"
#include "app/label.h"
#include "app/picture_box.h"
#include "app/playlist_reads.h"
#include "controls/chrome/button_look.h"
#include "controls/chrome/c_magnetic_wnd.h"
#include "controls/chrome/skin_menu_receiver.h"
#include "controls/chrome/uc_button.h"
#include "controls/chrome/uc_skin.h"
#include "controls/list/list_box.h"
#include "imaging/pc_mem_dc.h"
#include "platform/media/media_player.h"
#include "platform/web/web_view.h"
#include "platform/window/timer.h"
#include "platform/window/window.h"

#include <QPushButton>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class QHelpEvent;
class QKeyEvent;
class QWheelEvent;

namespace app {

class Form1;
class LoadedForm;
class Settings;

// One tab of the strip: its caption and the look it was last painted in (normal or hot;
// None before its first paint).
struct TabRecord {
    QString Caption;
    controls::ButtonLook State = controls::ButtonLook::None;
};

class FrmMain : public platform::Window {
    Q_OBJECT

public:
    // Builds the window and its controls from the form file; nothing is loaded yet. The
    // directory configuration says where the loaders and the notice window fetch from.
    explicit FrmMain(DirectoryConfig config = {});
    // Builds the window from a settings file: its directory configuration, the user's
    // playlists and the state of the last run. The window saves to it from then on, on every
    // change that matters and at its unload.
    explicit FrmMain(std::unique_ptr<Settings> settings);
    ~FrmMain() override;

    // The load step: icon, snapping, skin surfaces, tabs, transport buttons, player settings,
    // the four directory downloads and the notice window, in that order.
    void Form_Load();

    // Directory loaders, one per category; each appends its channels to its list. At start-up
    // and on a reload the four downloads run together and each loader takes its own; a
    // loader called on its own downloads alone.
    void Mv();
    void Mu();
    void Dv();
    void Dd();
    QString GetStrStartToStop(const QString& text, const QString& start, const QString& stop) const;
    // Empties the four lists and downloads the four directories again (the F5 key). The
    // window stays responsive: the loaders run as their downloads arrive.
    void ReloadDirectories();

    // The selected tab. Writing a different value repaints the old and the new tab; it does
    // not change which list is visible.
    int16_t TabIndex() const { return m_tabIndex; }
    void setTabIndex(int16_t index);

    platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) override;

    // --- Actions. The keyboard, the main menu and the desktop's media keys call these. ---
    void playPause();
    void stop();
    void toggleMute();
    // The next or previous channel of the list that is playing (of the visible list when
    // none plays), round from the last row to the first and back.
    void nextChannel();
    void previousChannel();
    // The player's volume, 0..100; setting it (clamped) also ends a mute.
    int volume() const;
    void setVolume(int volume);
    // Moves the playing position by `seconds` when the media can seek (it has a length).
    void seekBy(double seconds);
    // Plays `address` (a stream address or a media file) at once. With addToCategory it also
    // becomes a channel of the current category, kept in the category's own playlist.
    void openAddress(const QString& address, bool addToCategory);
    // Adds a playlist (.m3u, .m3u8, .pls file or address) to the current category: its
    // channels follow that category's directory and earlier playlists. With save it is kept
    // in the settings and read again at every start. False, with the reason in the status
    // line, when it cannot be read.
    bool importPlaylist(const QString& fileOrUrl, bool save);
    // Playlists of a category (0..3) in the order added, and removing one with its channels.
    QStringList playlists(int category) const;
    void removePlaylist(int category, int index);
    bool isFullscreen() const { return m_fullscreen.on; }
    void toggleFullscreen() { setFullscreen(!m_fullscreen.on); }
    void setFullscreen(bool on);
    bool keepOnTop() const;
    void setKeepOnTop(bool on);
    // Shows category 0..3: its tab selected, its list the visible one.
    void selectCategory(int category);
    // The category the user works in: the one whose list is visible, else the selected tab.
    int currentCategory() const;
    // What the command line names, after the load step: playlists are imported for this run,
    // the first other item plays. Returns the items it could not use.
    QStringList openCommandLineItems(const QStringList& items);
    // Shows the window the way the last run left it (normal or maximised).
    void showAsLastRun();

signals:
    // The window was unloaded; the program ends.
    void Unloaded();

private:
    friend class TestPeer;
    // The desktop's media controls act on the lists and the player as the buttons do.
    friend class MprisBridge;

    // The controls of the form file, by their names there.
    struct Controls {
        controls::ucSkin* ucSkin1 = nullptr;
        PictureBox* PicCnt = nullptr;
        PictureBox* PicTab = nullptr;
        PictureBox* PicTool = nullptr;
        PictureBox* PicSplit = nullptr;
        PictureBox* PicCtr = nullptr;
        controls::ucButton* tBt_Cls = nullptr;
        controls::ucButton* ctr_Lst = nullptr;
        controls::ucButton* ctr_Play = nullptr;
        controls::ucButton* ctr_Stop = nullptr;
        controls::ucButton* ctr_Vol = nullptr;
        std::array<controls::ucListBox*, 4> ucListTV{};
        Label* Label1 = nullptr;
        ImageArea* ImgPro = nullptr;
        ImageArea* ImgProPt = nullptr;
        ImageArea* ImgVol = nullptr;
        ImageArea* ImgVolP = nullptr;
        platform::WebView* WebBrowser1 = nullptr;
        QPushButton* Command1 = nullptr;
        platform::Timer* Timer1 = nullptr;
        platform::Timer* Timer2 = nullptr;
    };

    void bindControls(const LoadedForm& form);
    void connectEvents();
    void loadCategory(int category);
    void runLoaders();
    void continueReload();
    void showLoadResult();
    QString StripHtmlTags(const QString& text) const;
    // The inner size the layout works with.
    int32_t innerWidth() const { return width(); }
    int32_t innerHeight() const { return height(); }

    // Layout and panels.
    void Form_Resize();
    void Form_Unload();
    void PicCnt_Resize();
    void PicCtr_Resize();
    void PicTool_Resize();
    void PicSplit_Resize();
    void PicSplit_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void PicSplit_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void PicSplit_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void ctr_Lst_Click();
    void tBt_Cls_Click();
    void showOnlyList(int index);

    // Tab strip.
    bool DrawTab(int16_t index, controls::ButtonLook state, bool force);
    void PicTab_Resize();
    void PicTab_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void PicTab_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    int32_t tabHitWidth() const;

    // Playback and transport.
    void DrawProgressBar();
    // The seek bar's fill for the current position, in pixels.
    int32_t progressFill() const;
    void DrawVolumeBar();
    void ucList_PlayIndexChanged(int list, int16_t NewIndex);
    void ucList_DBClick(int list, int16_t Button, int16_t Shift, float X, float Y);
    void startChannel(int list, int16_t index);
    void markPlaying(int list, int16_t index);
    void WMP_PlayStateChange(int32_t NewState);
    void WMP_StatusChange();
    void WMP_PositionChange(double oldPosition, double newPosition);
    void Timer1_Timer();
    void Timer2_Timer();
    void ctr_Play_Click();
    void ctr_Stop_Click();
    void ctr_Vol_Click();
    void ImgProPt_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void ImgProPt_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void ImgProPt_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void ImgVolP_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void ImgVolP_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    double mediaDuration() const;
    void setSkinPicture(controls::ucButton* button, const char* name);

    // Form state.
    DirectoryConfig m_config;
    QString m_appPath;
    platform::HICON m_windowIcon = nullptr;
    imaging::pcMemDC m_tabBarSurface;
    imaging::pcMemDC m_playCtrSurface;
    std::array<TabRecord, 4> m_tabs;
    int16_t m_tabCount = 0;
    int16_t m_tabIndex = 0;
    int16_t m_hotTab = 0;
    platform::HBRUSH m_tabBackBrush = nullptr;
    int32_t m_dragOffset = 0;
    bool m_seekDragging = false;
    // The fill the seek bar was last drawn with.
    int32_t m_drawnProgressFill = -1;
    int16_t m_musicIndex = 0;
    // The list whose item the player holds (-1 none), and whether a playing mark is being set
    // without starting its item.
    int m_playingList = -1;
    bool m_markOnly = false;
    // The player's previous state: a stop right after the media's end is the end of an item.
    int32_t m_lastPlayState = 0;
    bool m_loaded = false;
    bool m_unloaded = false;

    // Directory loading: the downloads of the current load, which categories failed in it,
    // and a reload in progress (the next category to load, the timer that looks for it).
    DirectoryDownloads m_downloads;
    std::array<bool, 4> m_loadFailed{};
    // Rows each list holds of its directory (its first rows), and channel lines of each
    // directory beyond what a list holds, in the current load.
    std::array<int32_t, 4> m_directoryRows{};
    std::array<int64_t, 4> m_directoryDropped{};
    bool m_loadMessageShown = false;
    QString m_designCaption;
    int m_reloadNext = -1;
    QString m_reloadPlayingUrl;
    QTimer* m_reloadTimer = nullptr;

    // Controls (owned by the window through Qt parents unless noted).
    Controls m_ui;
    std::unique_ptr<platform::MediaPlayer> m_player;
    QWidget* m_video = nullptr;
    std::unique_ptr<controls::cMagneticWnd> m_magnetic;
    // The owner-drawn menu control: the system menu in the skin's colours while the window lives.
    std::unique_ptr<controls::SkinMenuReceiver> m_menus;
    Form1* m_notice = nullptr;

    // --- The everyday comforts (frm_main_actions/keys/menu/fullscreen/playlists/settings/pointer). ---
    void connectComforts();
    void endComforts();
    bool eventFilter(QObject* watched, QEvent* e) override;
    void onCommand(platform::UINT command);
    bool keyPress(QKeyEvent* e);
    void moveSelection(int step);
    void playSelected();
    void stepChannel(int step);
    int playingCategory() const;
    void showVolume();

    void ucSkin1_MenuButtonClick();
    void showMainMenu();
    void showOpenAddressDialog();
    void showImportDialog();
    void showAbout();

    // Fullscreen: what leaving it restores, and the bar that shows while the pointer moves.
    struct FullscreenState {
        bool on = false;
        bool wasMaximized = false;
        platform::RECT windowRect;
        bool listShown = true;
        int visibleList = 0;
        bool barShown = true;
    };
    void layoutFullscreen();
    void fullscreenPointerMoved();
    // Opens (or closes) the hole in the picture where the fullscreen bar lies over it.
    void uncoverFullscreenBar(bool shown);
    void hideFullscreenBar();

    // A playlist of a category: where it is, whether the settings keep it, and its channels
    // as last read (none when it failed).
    struct PlaylistSource {
        QString location;
        bool saved = false;
        // The category's own playlist of addresses the user opened and kept.
        bool own = false;
        std::vector<PlaylistChannel> channels;
        // Entries beyond a playlist's capacity, and rows the list holds of it.
        int64_t dropped = 0;
        int rows = 0;
        QString error;
    };
    // The playlists of every category, read (files) and downloaded (addresses) all at once;
    // each category's channels are appended to its list when all are in.
    void takeSettingsPlaylists();
    PlaylistReads startPlaylistReads();
    void finishPlaylistReads(PlaylistReads& reads);
    void appendPlaylistChannels(int category);
    void clearPlaylistRows();
    void appendChannels(int category, PlaylistSource& source, std::optional<int> at = std::nullopt);
    bool addPlaylist(int category, PlaylistReads::Result& read, bool save);
    int playlistRows(int category) const;
    // Where a row's address comes from: the network for a directory's rows and for those of a
    // playlist downloaded from an address; this computer for playlists read from files and
    // the category's own one.
    platform::MediaPlayer::Origin rowOrigin(int category, int32_t row) const;
    void reportPlaylistProblems(const std::vector<const PlaylistSource*>& sources);
    void savePlaylists(int category);
    QString ownPlaylistPath(int category) const;
    QString playlistLabel(int category, int index) const;
    bool isPlaylistPath(const QString& item) const;
    void dropItems(const QStringList& items);
    bool dragAndDrop(QEvent* e);

    // Settings.
    void applySettingsAtLoad();
    void applyLastChannel();
    void saveSettingsSoon();
    void saveSettingsNow();

    // Pointer extras.
    void ImgPro_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void seekBarHover(QWidget* area, const QPoint& pos);
    bool wheelVolume(QWheelEvent* e);
    bool listToolTip(controls::ucListBox* list, QHelpEvent* e);
    void updateStatusTip();

    std::unique_ptr<Settings> m_settings;
    std::array<std::vector<PlaylistSource>, 4> m_playlists;
    // The playlists' reads of a reload in progress.
    PlaylistReads m_reloadPlaylists;
    FullscreenState m_fullscreen;
    QTimer m_fullscreenBarTimer;
    // Where the pointer was last seen over the window (screen coordinates).
    QPoint m_lastPointer;
    QTimer m_saveTimer;
    bool m_saveFailed = false;
    // The channel that plays when it is none of the lists' (an address opened by itself).
    QString m_looseAddress;
    // The last channel started from a list, selected again at the next start.
    int m_lastCategory = -1;
    QString m_lastAddress;
    // Wheel turns smaller than a notch, kept until they add up to one.
    int m_wheelRest = 0;
};

} // namespace app
