// FrmMain: construction from the form file, start-up, layout, splitter, list panel and
// shutdown, and the directory loaders.

#include "app/frm_main.h"

#include "app/channels/directory_text.h"
#include "app/form1.h"
#include "app/form_loader.h"
#include "app/main_commands.h"
#include "app/settings.h"
#include "imaging/skin_catalogue.h"
#include "platform/forms/number_rules.h"
#include "platform/forms/runtime_error.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/outline.h"
#include "platform/window/window_functions.h"

#include <QCoreApplication>
#include <cmath>

namespace app {

using namespace platform;

FrmMain::FrmMain(DirectoryConfig config)
    : Window(nullptr, QStringLiteral("TianboMain"), WS_OVERLAPPEDWINDOW), m_config(std::move(config)) {
    setObjectName(QStringLiteral("FrmMain"));
    const std::optional<FormControl> form = FormLoader::read(QStringLiteral(":/forms/frm_main.json"));
    if (!form)
        throw RuntimeError(kErrInvalidArgument, QStringLiteral("FrmMain"),
                           QStringLiteral("The main window's form file is missing"));
    m_menus = std::make_unique<controls::SkinMenuReceiver>();
    setText(m_config.title);
    setBackColor(form->properties.ReadColor(QStringLiteral("BackColor"), 0));
    resize(form->width, form->height);
    bindControls(FormLoader::standard().load(*form, this));
    m_reloadTimer = new QTimer(this);
    m_reloadTimer->setInterval(20);
    connect(m_reloadTimer, &QTimer::timeout, this, &FrmMain::continueReload);
    m_player = std::make_unique<MediaPlayer>();
    m_video = m_player->videoWidget(m_ui.PicCnt);
    m_video->show();
    connectEvents();
    connectComforts();
}

FrmMain::FrmMain(std::unique_ptr<Settings> settings) : FrmMain(settings ? settings->directory() : DirectoryConfig{}) {
    m_settings = std::move(settings);
}

FrmMain::~FrmMain() {
    if (!m_unloaded) Form_Unload();
}

void FrmMain::bindControls(const LoadedForm& form) {
    m_ui.ucSkin1 = form.get<controls::ucSkin>(QStringLiteral("ucSkin1"));
    m_ui.PicCnt = form.get<PictureBox>(QStringLiteral("PicCnt"));
    m_ui.PicTab = form.get<PictureBox>(QStringLiteral("PicTab"));
    m_ui.PicTool = form.get<PictureBox>(QStringLiteral("PicTool"));
    m_ui.PicSplit = form.get<PictureBox>(QStringLiteral("PicSplit"));
    m_ui.PicCtr = form.get<PictureBox>(QStringLiteral("PicCtr"));
    m_ui.tBt_Cls = form.get<controls::ucButton>(QStringLiteral("tBt_Cls"));
    m_ui.ctr_Lst = form.get<controls::ucButton>(QStringLiteral("ctr_Lst"));
    m_ui.ctr_Play = form.get<controls::ucButton>(QStringLiteral("ctr_Play"));
    m_ui.ctr_Stop = form.get<controls::ucButton>(QStringLiteral("ctr_Stop"));
    m_ui.ctr_Vol = form.get<controls::ucButton>(QStringLiteral("ctr_Vol"));
    for (size_t i = 0; i < m_ui.ucListTV.size(); ++i)
        m_ui.ucListTV[i] = form.get<controls::ucListBox>(QStringLiteral("ucListTV%1").arg(i));
    m_ui.Label1 = form.get<Label>(QStringLiteral("Label1"));
    m_ui.ImgPro = form.get<ImageArea>(QStringLiteral("ImgPro"));
    m_ui.ImgProPt = form.get<ImageArea>(QStringLiteral("ImgProPt"));
    m_ui.ImgVol = form.get<ImageArea>(QStringLiteral("ImgVol"));
    m_ui.ImgVolP = form.get<ImageArea>(QStringLiteral("ImgVolP"));
    m_ui.WebBrowser1 = form.get<WebView>(QStringLiteral("WebBrowser1"));
    m_ui.Command1 = form.get<QPushButton>(QStringLiteral("Command1"));
    m_ui.Timer1 = form.get<Timer>(QStringLiteral("Timer1"));
    m_ui.Timer2 = form.get<Timer>(QStringLiteral("Timer2"));
    m_designCaption = m_ui.Label1->Caption();
    // The advance button lies outside the window's design area and only lends its click to
    // the automatic advance; it is never shown, however large the window grows.
    m_ui.Command1->hide();
}

void FrmMain::connectEvents() {
    connect(m_ui.PicCnt, &PictureBox::Resize, this, &FrmMain::PicCnt_Resize);
    connect(m_ui.PicCtr, &PictureBox::Resize, this, &FrmMain::PicCtr_Resize);
    connect(m_ui.PicTool, &PictureBox::Resize, this, &FrmMain::PicTool_Resize);
    connect(m_ui.PicSplit, &PictureBox::Resize, this, &FrmMain::PicSplit_Resize);
    connect(m_ui.PicSplit, &PictureBox::MouseDown, this, &FrmMain::PicSplit_MouseDown);
    connect(m_ui.PicSplit, &PictureBox::MouseMove, this, &FrmMain::PicSplit_MouseMove);
    connect(m_ui.PicSplit, &PictureBox::MouseUp, this, &FrmMain::PicSplit_MouseUp);
    connect(m_ui.PicTab, &PictureBox::Resize, this, &FrmMain::PicTab_Resize);
    connect(m_ui.PicTab, &PictureBox::MouseDown, this, &FrmMain::PicTab_MouseDown);
    connect(m_ui.PicTab, &PictureBox::MouseMove, this, &FrmMain::PicTab_MouseMove);
    connect(m_ui.ctr_Lst, &controls::ucButton::Click, this, &FrmMain::ctr_Lst_Click);
    connect(m_ui.tBt_Cls, &controls::ucButton::Click, this, &FrmMain::tBt_Cls_Click);
    connect(m_ui.ctr_Play, &controls::ucButton::Click, this, &FrmMain::ctr_Play_Click);
    connect(m_ui.ctr_Stop, &controls::ucButton::Click, this, &FrmMain::ctr_Stop_Click);
    connect(m_ui.ctr_Vol, &controls::ucButton::Click, this, &FrmMain::ctr_Vol_Click);
    for (int i = 0; i < 4; ++i) {
        connect(m_ui.ucListTV[static_cast<size_t>(i)], &controls::ucListBox::PlayIndexChanged, this,
                [this, i](int16_t NewIndex, int16_t) { ucList_PlayIndexChanged(i, NewIndex); });
        connect(m_ui.ucListTV[static_cast<size_t>(i)], &controls::ucListBox::DBClick, this,
                [this, i](int16_t Button, int16_t Shift, float X, float Y) { ucList_DBClick(i, Button, Shift, X, Y); });
    }
    connect(m_player.get(), &MediaPlayer::PlayStateChange, this, &FrmMain::WMP_PlayStateChange);
    connect(m_player.get(), &MediaPlayer::StatusChange, this, &FrmMain::WMP_StatusChange);
    connect(m_player.get(), &MediaPlayer::PositionChange, this, &FrmMain::WMP_PositionChange);
    connect(m_ui.Timer1, &Timer::Tick, this, &FrmMain::Timer1_Timer);
    connect(m_ui.Timer2, &Timer::Tick, this, &FrmMain::Timer2_Timer);
    connect(m_ui.Command1, &QPushButton::clicked, this, &FrmMain::Timer2_Timer);
    connect(m_ui.ImgProPt, &ImageArea::MouseDown, this, &FrmMain::ImgProPt_MouseDown);
    connect(m_ui.ImgProPt, &ImageArea::MouseMove, this, &FrmMain::ImgProPt_MouseMove);
    connect(m_ui.ImgProPt, &ImageArea::MouseUp, this, &FrmMain::ImgProPt_MouseUp);
    connect(m_ui.ImgVolP, &ImageArea::MouseDown, this, &FrmMain::ImgVolP_MouseDown);
    connect(m_ui.ImgVolP, &ImageArea::MouseMove, this, &FrmMain::ImgVolP_MouseMove);
}

void FrmMain::Form_Load() {
    // 1. The program's folder. 2. The window icon (the program's own icon).
    m_appPath = QCoreApplication::applicationDirPath();
    if (!m_appPath.endsWith(QLatin1Char('/'))) m_appPath += QLatin1Char('/');
    const Picture icon = imaging::LoadAppIcon();
    if (!icon.isNothing()) {
        m_windowIcon = icon.CreateIcon();
        SendMessage(this, WM_SETICON, 0, reinterpret_cast<LPARAM>(m_windowIcon));
    }
    // 3. Black background. 4. Snapping.
    setBackColor(RGB(0, 0, 0));
    m_magnetic = std::make_unique<controls::cMagneticWnd>();
    m_magnetic->AddWindow(this, nullptr);
    // 5. Skin surfaces.
    try {
        m_tabBarSurface.CreateFromPicture(imaging::LoadResPicture(QStringLiteral("TABBAR")));
    } catch (const RuntimeError&) {}
    try {
        m_playCtrSurface.CreateFromPicture(imaging::LoadResPicture(QStringLiteral("PLAYCTR")));
    } catch (const RuntimeError&) {}
    // 6. Tabs.
    m_tabCount = 4;
    for (size_t i = 0; i < m_tabs.size(); ++i) m_tabs[i].Caption = QString::fromUtf16(kCategories[i].caption);
    // 7, 8. Transport buttons.
    setSkinPicture(m_ui.ctr_Play, "PLAYBT");
    setSkinPicture(m_ui.ctr_Vol, "VOLBT");
    m_ui.ctr_Play->move(5, 25);
    m_ui.ctr_Stop->move(42, 29);
    m_ui.ctr_Vol->move(70, 29);
    // 9, 10. The tab strip.
    m_tabBackBrush = CreateSolidBrush(m_ui.PicTab->BackColor());
    PicTab_Resize();
    // 11. Player settings.
    m_player->setStretchToFit(true);
    m_player->settings().setVolume(100);
    m_loaded = true;
    // 12. The four directories: downloaded together, each loader taking its own response in
    // the written order, all of them done within the downloads' deadline. The user's
    // playlists are read and downloaded beside them; each category's follow its directory.
    takeSettingsPlaylists();
    PlaylistReads playlists = startPlaylistReads();
    m_downloads.start(m_config);
    runLoaders();
    showLoadResult();
    finishPlaylistReads(playlists);
    // 13. The notice window.
    m_notice = new Form1(m_config.notice_url);
    m_notice->Form_Load();
    m_notice->show();
    // The window is about to be shown: its first layout, with the skin surfaces in place.
    // The children's own resize steps run too, as they do when the first layout changes
    // their design sizes, so the control bar and the tool strip are painted from the skin.
    Form_Resize();
    PicCnt_Resize();
    PicCtr_Resize();
    PicTool_Resize();
    PicSplit_Resize();
    // The state the last run left: volume, tab, panel, geometry, the last channel.
    applySettingsAtLoad();
}

void FrmMain::setSkinPicture(controls::ucButton* b, const char* name) {
    try {
        b->setSkinPicture(imaging::LoadResPicture(QString::fromLatin1(name)));
    } catch (const RuntimeError&) {}
}

LRESULT FrmMain::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) Form_Resize();
        return 0;
    case WM_DESTROY: Form_Unload(); return 0;
    case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
    default: return Window::WindowProc(msg, wParam, lParam);
    }
}

void FrmMain::Form_Resize() {
    if (!m_ui.ucSkin1 || IsIconic(this)) return;
    if (m_fullscreen.on) {
        layoutFullscreen();
        return;
    }
    const int32_t W = innerWidth(), H = innerHeight();
    const int32_t L = controls::ucSkin::SizeLBorder(), R = controls::ucSkin::SizeRBorder();
    const int32_t T = controls::ucSkin::SizeCaption(), B = controls::ucSkin::SizeBottom();
    // Each statement in turn; a window refuses a negative size, so such a statement is
    // skipped and the next one runs.
    if (W - L - R >= 0) m_ui.PicCtr->Move(L, H - m_ui.PicCtr->Height() - B, W - L - R);
    m_ui.PicTab->Move(W - m_ui.PicTab->Width() - R, T);
    m_ui.PicTool->Move(m_ui.PicTab->Left(), m_ui.PicTab->Top() + m_ui.PicTab->Height(), m_ui.PicTab->Width());
    if (m_ui.PicCtr->Top() - m_ui.PicTab->Top() >= 0)
        m_ui.PicSplit->Move(m_ui.PicTab->Left() - m_ui.PicSplit->Width(), m_ui.PicTab->Top(), -1,
                            m_ui.PicCtr->Top() - m_ui.PicTab->Top());
    for (controls::ucListBox* list : m_ui.ucListTV) {
        const int32_t top = m_ui.PicTool->Top() + m_ui.PicTool->Height();
        const int32_t h = m_ui.PicCtr->Top() - list->y();
        if (h >= 0) MoveWindow(list, m_ui.PicTab->Left(), top, m_ui.PicTab->Width(), h, true);
        else MoveWindow(list, m_ui.PicTab->Left(), top, m_ui.PicTab->Width(), list->height(), true);
    }
    const int32_t cntWidth = m_ui.PicTab->isVisible() || !m_ui.PicTab->isHidden() ? m_ui.PicSplit->Left() - L : W - L;
    if (cntWidth >= 0 && m_ui.PicCtr->Top() - T >= 0) m_ui.PicCnt->Move(L, T, cntWidth, m_ui.PicCtr->Top() - T);
}

void FrmMain::PicCnt_Resize() {
    if (m_video) m_video->setGeometry(0, 0, m_ui.PicCnt->ScaleWidth(), m_ui.PicCnt->ScaleHeight());
}

void FrmMain::PicCtr_Resize() {
    const int32_t w = m_ui.PicCtr->ScaleWidth();
    m_playCtrSurface.StretchDraw(m_ui.PicCtr->hdc(), 0, 0, 1, 64, 0, 0, w, 64);
    DrawProgressBar();
    DrawVolumeBar();
    m_ui.ctr_Lst->move(innerWidth() - m_ui.ctr_Lst->width() - 10, 29);
    if (w - 107 >= 0) m_ui.ImgPro->Move(5, 5, w - 107, 8);
}

void FrmMain::PicTool_Resize() {
    const int32_t w = m_ui.PicTool->ScaleWidth(), h = m_ui.PicTool->ScaleHeight();
    m_ui.PicTool->Cls();
    drawLine(m_ui.PicTool->hdc(), {35, h - 2}, {w - 1, h - 2}, RGB(45, 45, 46));
    drawLine(m_ui.PicTool->hdc(), {35, h - 1}, {w - 1, h - 1}, RGB(0, 0, 0));
    m_ui.tBt_Cls->move(w - m_ui.tBt_Cls->width() - 2, 1);
}

void FrmMain::PicSplit_Resize() { m_ui.PicSplit->Cls(); }

void FrmMain::PicSplit_MouseDown(int16_t Button, int16_t, float X, float) {
    if (Button != 1) return;
    m_ui.PicSplit->setBackColor(RGB(40, 63, 84));
    m_dragOffset = R(X);
}

void FrmMain::PicSplit_MouseMove(int16_t Button, int16_t, float X, float) {
    if (!(Button & 1)) return;
    QPointer<FrmMain> self(this);
    DoEvents();
    if (!self) return;
    const int32_t W = innerWidth(), rightBorder = controls::ucSkin::SizeRBorder();
    m_ui.PicSplit->ZOrder();
    int32_t left = R(m_ui.PicSplit->Left() + X - m_dragOffset);
    if (left < W * 0.3) left = R(W * 0.3);
    if (left > W - 150 - rightBorder) left = R(W - 150 - rightBorder);
    m_ui.PicSplit->Move(left, m_ui.PicSplit->Top());
}

void FrmMain::PicSplit_MouseUp(int16_t Button, int16_t, float, float) {
    if (Button != 1) return;
    QPointer<FrmMain> self(this);
    DoEvents();
    if (!self) return;
    const int32_t W = innerWidth(), L = controls::ucSkin::SizeLBorder(), rightBorder = controls::ucSkin::SizeRBorder();
    m_ui.PicSplit->setBackColor(RGB(13, 20, 24));
    m_ui.PicCnt->Move(m_ui.PicCnt->Left(), m_ui.PicCnt->Top(), std::max(0, m_ui.PicSplit->Left() - L));
    const int32_t left = m_ui.PicSplit->Left() + m_ui.PicSplit->Width();
    if (W - rightBorder - left >= 0) m_ui.PicTab->Move(left, m_ui.PicTab->Top(), W - rightBorder - left);
    m_ui.PicTool->Move(m_ui.PicTab->Left(), m_ui.PicTool->Top(), m_ui.PicTab->Width());
    for (controls::ucListBox* list : m_ui.ucListTV)
        MoveWindow(list, m_ui.PicTab->Left(), list->y(), m_ui.PicTab->Width(), list->height(), true);
}

void FrmMain::showOnlyList(int index) {
    for (int i = 0; i < 4; ++i) m_ui.ucListTV[static_cast<size_t>(i)]->setVisible(i == index);
}

void FrmMain::ctr_Lst_Click() {
    const bool show = m_ui.PicTab->isHidden();
    const int32_t W = innerWidth(), L = controls::ucSkin::SizeLBorder(), T = controls::ucSkin::SizeCaption();
    m_ui.PicTab->setVisible(show);
    m_ui.PicTool->setVisible(show);
    m_ui.PicSplit->setVisible(show);
    if (show) {
        // The panel returns with the first tab selected and only its list showing (a tab
        // press shows one list at a time, so the panel never shows more than one).
        setTabIndex(0);
        showOnlyList(0);
        m_ui.PicCnt->Move(L, T, m_ui.PicSplit->Left() - L, m_ui.PicCtr->Top() - T);
    } else {
        showOnlyList(-1);
        m_ui.PicCnt->Move(L, T, W - L, m_ui.PicCtr->Top() - T);
    }
}

void FrmMain::tBt_Cls_Click() {
    const int32_t W = innerWidth(), L = controls::ucSkin::SizeLBorder(), T = controls::ucSkin::SizeCaption();
    m_ui.PicTab->setVisible(false);
    m_ui.PicTool->setVisible(false);
    m_ui.PicSplit->setVisible(false);
    showOnlyList(-1);
    m_ui.PicCnt->Move(L, T, W - L, m_ui.PicCtr->Top() - T);
}

void FrmMain::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    // What the user set up is written before anything is torn down.
    endComforts();
    if (m_player) m_player->controls().stop();
    if (m_notice) {
        if (IsWindow(m_notice)) m_notice->destroyWindow();
        delete m_notice;
        m_notice = nullptr;
    }
    if (m_tabBackBrush) DeleteObject(m_tabBackBrush);
    m_tabBackBrush = nullptr;
    if (m_windowIcon) {
        SendMessage(this, WM_SETICON, 0, 0);
        DestroyIcon(m_windowIcon);
        m_windowIcon = nullptr;
    }
    m_magnetic.reset();
    m_menus.reset();
    m_tabBarSurface.CreateFromPicture({});
    m_playCtrSurface.CreateFromPicture({});
    emit Unloaded();
}

// Directory loaders.

void FrmMain::Mv() { loadCategory(0); }
void FrmMain::Mu() { loadCategory(1); }
void FrmMain::Dv() { loadCategory(2); }
void FrmMain::Dd() { loadCategory(3); }

QString FrmMain::GetStrStartToStop(const QString& text, const QString& start, const QString& stop) const {
    return app::GetStrStartToStop(text, start, stop);
}

QString FrmMain::StripHtmlTags(const QString& text) const { return app::StripHtmlTags(text); }

void FrmMain::runLoaders() {
    m_loadFailed = {};
    m_directoryDropped = {};
    Mv();
    Mu();
    Dv();
    Dd();
}

void FrmMain::loadCategory(int category) {
    std::optional<QString> page;
    if (m_downloads.pending(category)) {
        page = m_downloads.take(category);
    } else {
        // Called on its own, outside a start-up or a reload: this loader downloads alone.
        DirectoryDownloads single;
        single.start(m_config, category);
        page = single.take(category);
    }
    // A category without a post has no directory: nothing was downloaded and nothing failed.
    if (!page) {
        if (!m_config.postId(category).isEmpty()) m_loadFailed[static_cast<size_t>(category)] = true;
        return;
    }
    controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(category)];
    const DirectoryChannels channels = ReadDirectoryText(*page, category);
    m_directoryDropped[static_cast<size_t>(category)] = channels.dropped;
    for (const ChannelLine& line : channels.lines) {
        try {
            list->AddItem(line.title, std::nullopt, line.address);
            ++m_directoryRows[static_cast<size_t>(category)];
        } catch (const RuntimeError&) {
            // That line is lost; the others go on.
        }
    }
}

void FrmMain::showLoadResult() {
    QStringList failed, cut;
    for (size_t i = 0; i < m_loadFailed.size(); ++i) {
        const QString caption = QString::fromUtf16(kCategories[i].caption);
        if (m_loadFailed[i]) failed << caption;
        if (m_directoryDropped[i] > 0)
            cut << QStringLiteral("%1目录的 %2 个频道").arg(caption).arg(m_directoryDropped[i]);
    }
    QStringList parts;
    if (!failed.isEmpty()) parts << QStringLiteral("下载失败：%1，按F5重试").arg(failed.join(QStringLiteral("、")));
    if (!cut.isEmpty()) parts << QStringLiteral("列表已满，未加入") + cut.join(QStringLiteral("、"));
    if (!parts.isEmpty()) {
        m_ui.Label1->setCaption(parts.join(QStringLiteral("；")));
        m_loadMessageShown = true;
    } else if (m_loadMessageShown) {
        // The failure a reload has mended gives the line back to the player.
        const bool idle = m_player->playState() == MediaPlayer::Undefined;
        m_ui.Label1->setCaption(idle ? m_designCaption : m_player->status());
        m_loadMessageShown = false;
    }
}

void FrmMain::ReloadDirectories() {
    if (!m_loaded || m_unloaded || m_reloadNext >= 0) return;
    // The playing item's mark comes back if its list still holds its address.
    m_reloadPlayingUrl = m_playingList >= 0 ? m_player->URL() : QString();
    for (controls::ucListBox* list : m_ui.ucListTV) list->Clear();
    m_directoryRows = {};
    clearPlaylistRows();
    m_loadFailed = {};
    m_directoryDropped = {};
    // The playlists given as addresses are downloaded again beside the directories.
    m_reloadPlaylists = startPlaylistReads();
    m_downloads.start(m_config);
    m_reloadNext = 0;
    continueReload();
    if (m_reloadNext >= 0) m_reloadTimer->start();
}

// Runs the loaders whose downloads have arrived, in the written order: a loader waits for its
// predecessors, so the items go in as they always have.
void FrmMain::continueReload() {
    using Loader = void (FrmMain::*)();
    static constexpr std::array<Loader, 4> kLoaders = {&FrmMain::Mv, &FrmMain::Mu, &FrmMain::Dv, &FrmMain::Dd};
    while (m_reloadNext >= 0 && m_reloadNext < 4 && m_downloads.finished(m_reloadNext)) {
        const int category = m_reloadNext++;
        (this->*kLoaders[static_cast<size_t>(category)])();
        if (category == m_playingList && !m_reloadPlayingUrl.isEmpty()) {
            const int32_t row = m_ui.ucListTV[static_cast<size_t>(category)]->FindString(m_reloadPlayingUrl, 2);
            if (row >= 0) markPlaying(category, static_cast<int16_t>(row));
        }
    }
    if (m_reloadNext < 4) return;
    m_reloadNext = -1;
    m_reloadTimer->stop();
    showLoadResult();
    finishPlaylistReads(m_reloadPlaylists);
    // A channel of a playlist gets its mark back too.
    if (m_playingList >= 0 && !m_reloadPlayingUrl.isEmpty() &&
        m_ui.ucListTV[static_cast<size_t>(m_playingList)]->PlayIndex() < 0) {
        const int32_t row = m_ui.ucListTV[static_cast<size_t>(m_playingList)]->FindString(m_reloadPlayingUrl, 2);
        if (row >= 0) markPlaying(m_playingList, static_cast<int16_t>(row));
    }
}

} // namespace app
