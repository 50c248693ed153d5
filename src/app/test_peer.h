#pragma once
// TestPeer: what the program's tests and tools may see of the two windows beyond their
// public members — the controls of their form files, the player, and the state the
// behaviours keep — without widening the windows' own interfaces.

#include "app/form1.h"
#include "app/frm_main.h"

namespace app {

class TestPeer {
public:
    using MainControls = FrmMain::Controls;

    // The main window.
    static const MainControls& ui(const FrmMain& f) { return f.m_ui; }
    static controls::ucListBox* list(const FrmMain& f, int index) { return f.m_ui.ucListTV.at(size_t(index)); }
    static platform::MediaPlayer* player(const FrmMain& f) { return f.m_player.get(); }
    static QWidget* videoWidget(const FrmMain& f) { return f.m_video; }
    static Form1* noticeWindow(const FrmMain& f) { return f.m_notice; }
    static controls::cMagneticWnd* magnetic(const FrmMain& f) { return f.m_magnetic.get(); }
    static controls::SkinMenuReceiver* menus(const FrmMain& f) { return f.m_menus.get(); }
    static const DirectoryConfig& config(const FrmMain& f) { return f.m_config; }
    static const QString& AppPath(const FrmMain& f) { return f.m_appPath; }
    static int16_t MusicIndex(const FrmMain& f) { return f.m_musicIndex; }
    static bool SeekDragging(const FrmMain& f) { return f.m_seekDragging; }
    static int16_t HotTab(const FrmMain& f) { return f.m_hotTab; }
    static const std::array<TabRecord, 4>& Tabs(const FrmMain& f) { return f.m_tabs; }
    static int32_t innerWidth(const FrmMain& f) { return f.innerWidth(); }
    static int32_t innerHeight(const FrmMain& f) { return f.innerHeight(); }
    static void DrawProgressBar(FrmMain& f) { f.DrawProgressBar(); }

    // The notice window.
    static platform::WebView* webBrowser(const Form1& f) { return f.m_webBrowser; }
    static controls::ucSkin* skin(const Form1& f) { return f.m_skin; }
    static platform::Timer* timer(const Form1& f) { return f.m_timer1; }
};

} // namespace app
