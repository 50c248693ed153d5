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

#include "app/directory_config.h"
#include "app/directory_downloads.h"
#include "app/image_area.h"
#include "app/label.h"
#include "app/picture_box.h"
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

namespace app {

class Form1;
class LoadedForm;

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
};

} // namespace app
