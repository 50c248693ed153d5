// FrmMain: construction from the form file, start-up, layout, splitter, list panel and
// shutdown, and the directory loaders.

#include "app/frm_main.h"

#include "app/channels/directory_text.h"
#include "app/config.h"
#include "app/directory_request.h"
#include "app/form1.h"
#include "imaging/skin_catalogue.h"
#include "platform/forms/number_rules.h"
#include "platform/forms/runtime_error.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/outline.h"
#include "platform/window/window_functions.h"

#include <QCoreApplication>
#include <QFile>
#include <cmath>

namespace app {

using namespace platform;

namespace {

void place(QWidget* w, const FormControl& c) { w->setGeometry(c.left, c.top, c.width, c.height); }

} // namespace

FrmMain::FrmMain() : Window(nullptr, QStringLiteral("TianboMain"), WS_OVERLAPPEDWINDOW) {
    setObjectName(QStringLiteral("FrmMain"));
    QFile file(QStringLiteral(":/forms/frm_main.json"));
    std::optional<FormControl> form;
    if (file.open(QIODevice::ReadOnly)) form = ReadFormFile(file.readAll(), imaging::ResolveFormPicture);
    if (!form)
        throw RuntimeError(kErrInvalidArgument, QStringLiteral("FrmMain"),
                           QStringLiteral("The main window's form file is missing"));
    m_menus = std::make_unique<controls::SkinMenuReceiver>();
    buildFromForm(*form);
    connectEvents();
}

FrmMain::~FrmMain() {
    if (!m_unloaded) Form_Unload();
}

void FrmMain::buildFromForm(const FormControl& form) {
    setText(QString::fromUtf8(config::kTitle));
    setBackColor(form.properties.ReadColor(QStringLiteral("BackColor"), 0));
    resize(form.width, form.height);

    // Creates one control (and its children) from its description.
    std::function<void(const FormControl&, Window*)> make = [&](const FormControl& c, Window* parent) {
        const PropertyBag& p = c.properties;
        if (c.type == QStringLiteral("PictureBox")) {
            auto* box = new PictureBox(parent, c.name);
            place(box, c);
            box->setBackColor(p.ReadColor(QStringLiteral("BackColor"), 0));
            const QString tip = p.ReadString(QStringLiteral("ToolTipText"), {});
            if (!tip.isEmpty()) box->setToolTip(tip);
            const Picture pointer = p.ReadPicture(QStringLiteral("MouseIcon"), {});
            if (!pointer.isNothing())
                box->setCursor(
                    QCursor(QPixmap::fromImage(pointer.image()), pointer.hotSpot().x(), pointer.hotSpot().y()));
            if (p.contains(QStringLiteral("Font"))) {
                const FontDesc fd = p.ReadFont(QStringLiteral("Font"), {});
                LOGFONT lf;
                lf.lfHeight = pointsToLogicalHeight(fd.Size);
                lf.lfWeight = fd.Bold ? FW_BOLD : FW_NORMAL;
                lf.lfCharSet = static_cast<uint8_t>(fd.Charset);
                lf.lfFaceName = fd.Name;
                HFONT font = CreateFontIndirect(lf);
                SelectObject(box->hdc(), font);
                if (c.name == QStringLiteral("PicTab")) m_tabFont = font;
                else DeleteObject(font); // stays alive while selected; freed with the window's context
            }
            SetTextColor(box->hdc(), TranslateColor(p.ReadColor(QStringLiteral("ForeColor"), 0)));
            SetBkMode(box->hdc(), TRANSPARENT);
            box->setVisible(c.visible);
            for (const FormControl& k : c.controls) make(k, box);
        } else if (c.type == QStringLiteral("ucListBox")) {
            auto* list = new controls::ucListBox(parent);
            list->setObjectName(c.name);
            place(list, c);
            list->ReadProperties(p);
            list->setVisible(c.visible);
        } else if (c.type == QStringLiteral("ucButton")) {
            auto* b = new controls::ucButton(parent, c.name);
            place(b, c);
            b->ReadProperties(p);
            b->setToolTipText(p.ReadString(QStringLiteral("ToolTipText"), {}));
        } else if (c.type == QStringLiteral("Label")) {
            auto* l = new Label(parent, c.name);
            place(l, c);
            l->setCaption(p.ReadString(QStringLiteral("Caption"), {}));
            l->setForeColor(p.ReadColor(QStringLiteral("ForeColor"), 0));
            l->setFont(p.ReadFont(QStringLiteral("Font"), {}));
        } else if (c.type == QStringLiteral("Image")) {
            auto* img = new ImageArea(parent, c.name);
            place(img, c);
        } else if (c.type == QStringLiteral("WebBrowser")) {
            m_webBrowser = new WebView(parent);
            m_webBrowser->setObjectName(c.name);
            place(m_webBrowser, c);
        } else if (c.type == QStringLiteral("CommandButton")) {
            m_command1 = new QPushButton(p.ReadString(QStringLiteral("Caption"), c.name), parent);
            m_command1->setObjectName(c.name);
            place(m_command1, c);
            // It sits below the window's design area; a window made large enough to reach it
            // keeps it under the video area rather than over the picture.
            m_command1->lower();
        } else if (c.type == QStringLiteral("Timer")) {
            auto* t =
                new Timer(this, p.ReadInt(QStringLiteral("Interval"), 0), p.ReadBool(QStringLiteral("Enabled"), true));
            t->setObjectName(c.name);
        } else if (c.type == QStringLiteral("ucSkin")) {
            m_skin = new controls::ucSkin(parent, c.name);
            place(m_skin, c);
            m_skin->ReadProperties(p);
        }
    };
    for (const FormControl& c : form.controls) make(c, this);

    m_picCnt = picture(QStringLiteral("PicCnt"));
    m_picTab = picture(QStringLiteral("PicTab"));
    m_picTool = picture(QStringLiteral("PicTool"));
    m_picSplit = picture(QStringLiteral("PicSplit"));
    m_picCtr = picture(QStringLiteral("PicCtr"));
    m_tBtCls = button(QStringLiteral("tBt_Cls"));
    m_ctrLst = button(QStringLiteral("ctr_Lst"));
    m_ctrPlay = button(QStringLiteral("ctr_Play"));
    m_ctrStop = button(QStringLiteral("ctr_Stop"));
    m_ctrVol = button(QStringLiteral("ctr_Vol"));
    for (int i = 0; i < 4; ++i)
        m_lists[static_cast<size_t>(i)] = findChild<controls::ucListBox*>(QStringLiteral("ucListTV%1").arg(i));
    m_label1 = findChild<Label*>(QStringLiteral("Label1"));
    m_imgPro = imageArea(QStringLiteral("ImgPro"));
    m_imgProPt = imageArea(QStringLiteral("ImgProPt"));
    m_imgVol = imageArea(QStringLiteral("ImgVol"));
    m_imgVolP = imageArea(QStringLiteral("ImgVolP"));
    m_timer1 = findChild<Timer*>(QStringLiteral("Timer1"));
    m_timer2 = findChild<Timer*>(QStringLiteral("Timer2"));

    m_player = std::make_unique<MediaPlayer>();
    m_video = m_player->videoWidget(m_picCnt);
    m_video->show();
}

PictureBox* FrmMain::picture(const QString& name) const { return findChild<PictureBox*>(name); }
controls::ucButton* FrmMain::button(const QString& name) const { return findChild<controls::ucButton*>(name); }
ImageArea* FrmMain::imageArea(const QString& name) const { return findChild<ImageArea*>(name); }

void FrmMain::connectEvents() {
    connect(m_picCnt, &PictureBox::Resize, this, &FrmMain::PicCnt_Resize);
    connect(m_picCtr, &PictureBox::Resize, this, &FrmMain::PicCtr_Resize);
    connect(m_picTool, &PictureBox::Resize, this, &FrmMain::PicTool_Resize);
    connect(m_picSplit, &PictureBox::Resize, this, &FrmMain::PicSplit_Resize);
    connect(m_picSplit, &PictureBox::MouseDown, this, &FrmMain::PicSplit_MouseDown);
    connect(m_picSplit, &PictureBox::MouseMove, this, &FrmMain::PicSplit_MouseMove);
    connect(m_picSplit, &PictureBox::MouseUp, this, &FrmMain::PicSplit_MouseUp);
    connect(m_picTab, &PictureBox::Resize, this, &FrmMain::PicTab_Resize);
    connect(m_picTab, &PictureBox::MouseDown, this, &FrmMain::PicTab_MouseDown);
    connect(m_picTab, &PictureBox::MouseMove, this, &FrmMain::PicTab_MouseMove);
    connect(m_ctrLst, &controls::ucButton::Click, this, &FrmMain::ctr_Lst_Click);
    connect(m_tBtCls, &controls::ucButton::Click, this, &FrmMain::tBt_Cls_Click);
    connect(m_ctrPlay, &controls::ucButton::Click, this, &FrmMain::ctr_Play_Click);
    connect(m_ctrStop, &controls::ucButton::Click, this, &FrmMain::ctr_Stop_Click);
    connect(m_ctrVol, &controls::ucButton::Click, this, &FrmMain::ctr_Vol_Click);
    for (int i = 0; i < 4; ++i) {
        connect(m_lists[static_cast<size_t>(i)], &controls::ucListBox::PlayIndexChanged, this,
                [this, i](int16_t NewIndex, int16_t) { ucList_PlayIndexChanged(i, NewIndex); });
    }
    connect(m_player.get(), &MediaPlayer::PlayStateChange, this, &FrmMain::WMP_PlayStateChange);
    connect(m_player.get(), &MediaPlayer::StatusChange, this, &FrmMain::WMP_StatusChange);
    connect(m_player.get(), &MediaPlayer::PositionChange, this, &FrmMain::WMP_PositionChange);
    connect(m_timer1, &Timer::Tick, this, &FrmMain::Timer1_Timer);
    connect(m_timer2, &Timer::Tick, this, &FrmMain::Timer2_Timer);
    connect(m_command1, &QPushButton::clicked, this, &FrmMain::Timer2_Timer);
    connect(m_imgProPt, &ImageArea::MouseDown, this, &FrmMain::ImgProPt_MouseDown);
    connect(m_imgProPt, &ImageArea::MouseMove, this, &FrmMain::ImgProPt_MouseMove);
    connect(m_imgProPt, &ImageArea::MouseUp, this, &FrmMain::ImgProPt_MouseUp);
    connect(m_imgVolP, &ImageArea::MouseDown, this, &FrmMain::ImgVolP_MouseDown);
    connect(m_imgVolP, &ImageArea::MouseMove, this, &FrmMain::ImgVolP_MouseMove);
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
    setSkinPicture(m_ctrPlay, "PLAYBT");
    setSkinPicture(m_ctrVol, "VOLBT");
    m_ctrPlay->move(5, 25);
    m_ctrStop->move(42, 29);
    m_ctrVol->move(70, 29);
    // 9, 10. The tab strip.
    m_tabBackBrush = CreateSolidBrush(m_picTab->BackColor());
    PicTab_Resize();
    // 11. Player settings.
    m_player->setStretchToFit(true);
    m_player->settings().setVolume(100);
    m_loaded = true;
    // 12. The four directories, one after another.
    Mv();
    Mu();
    Dv();
    Dd();
    // 13. The notice window.
    m_notice = new Form1();
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
    default: return Window::WindowProc(msg, wParam, lParam);
    }
}

void FrmMain::Form_Resize() {
    if (!m_skin || IsIconic(this)) return;
    const int32_t W = innerWidth(), H = innerHeight();
    const int32_t L = controls::ucSkin::SizeLBorder(), R = controls::ucSkin::SizeRBorder();
    const int32_t T = controls::ucSkin::SizeCaption(), B = controls::ucSkin::SizeBottom();
    // Each statement in turn; a window refuses a negative size, so such a statement is
    // skipped and the next one runs.
    if (W - L - R >= 0) m_picCtr->Move(L, H - m_picCtr->Height() - B, W - L - R);
    m_picTab->Move(W - m_picTab->Width() - R, T);
    m_picTool->Move(m_picTab->Left(), m_picTab->Top() + m_picTab->Height(), m_picTab->Width());
    if (m_picCtr->Top() - m_picTab->Top() >= 0)
        m_picSplit->Move(m_picTab->Left() - m_picSplit->Width(), m_picTab->Top(), -1,
                         m_picCtr->Top() - m_picTab->Top());
    for (controls::ucListBox* list : m_lists) {
        const int32_t top = m_picTool->Top() + m_picTool->Height();
        const int32_t h = m_picCtr->Top() - list->y();
        if (h >= 0) MoveWindow(list, m_picTab->Left(), top, m_picTab->Width(), h, true);
        else MoveWindow(list, m_picTab->Left(), top, m_picTab->Width(), list->height(), true);
    }
    const int32_t cntWidth = m_picTab->isVisible() || !m_picTab->isHidden() ? m_picSplit->Left() - L : W - L;
    if (cntWidth >= 0 && m_picCtr->Top() - T >= 0) m_picCnt->Move(L, T, cntWidth, m_picCtr->Top() - T);
}

void FrmMain::PicCnt_Resize() {
    if (m_video) m_video->setGeometry(0, 0, m_picCnt->ScaleWidth(), m_picCnt->ScaleHeight());
}

void FrmMain::PicCtr_Resize() {
    const int32_t w = m_picCtr->ScaleWidth();
    m_playCtrSurface.StretchDraw(m_picCtr->hdc(), 0, 0, 1, 64, 0, 0, w, 64);
    DrawProgressBar();
    DrawVolumeBar();
    m_ctrLst->move(innerWidth() - m_ctrLst->width() - 10, 29);
    if (w - 107 >= 0) m_imgPro->Move(5, 5, w - 107, 8);
}

void FrmMain::PicTool_Resize() {
    const int32_t w = m_picTool->ScaleWidth(), h = m_picTool->ScaleHeight();
    m_picTool->Cls();
    drawLine(m_picTool->hdc(), {35, h - 2}, {w - 1, h - 2}, RGB(45, 45, 46));
    drawLine(m_picTool->hdc(), {35, h - 1}, {w - 1, h - 1}, RGB(0, 0, 0));
    m_tBtCls->move(w - m_tBtCls->width() - 2, 1);
}

void FrmMain::PicSplit_Resize() { m_picSplit->Cls(); }

void FrmMain::PicSplit_MouseDown(int16_t Button, int16_t, float X, float) {
    if (Button != 1) return;
    m_picSplit->setBackColor(RGB(40, 63, 84));
    m_dragOffset = R(X);
}

void FrmMain::PicSplit_MouseMove(int16_t Button, int16_t, float X, float) {
    if (!(Button & 1)) return;
    QPointer<FrmMain> self(this);
    DoEvents();
    if (!self) return;
    const int32_t W = innerWidth(), rightBorder = controls::ucSkin::SizeRBorder();
    m_picSplit->ZOrder();
    int32_t left = R(m_picSplit->Left() + X - m_dragOffset);
    if (left < W * 0.3) left = R(W * 0.3);
    if (left > W - 150 - rightBorder) left = R(W - 150 - rightBorder);
    m_picSplit->Move(left, m_picSplit->Top());
}

void FrmMain::PicSplit_MouseUp(int16_t Button, int16_t, float, float) {
    if (Button != 1) return;
    QPointer<FrmMain> self(this);
    DoEvents();
    if (!self) return;
    const int32_t W = innerWidth(), L = controls::ucSkin::SizeLBorder(), rightBorder = controls::ucSkin::SizeRBorder();
    m_picSplit->setBackColor(RGB(13, 20, 24));
    m_picCnt->Move(m_picCnt->Left(), m_picCnt->Top(), std::max(0, m_picSplit->Left() - L));
    const int32_t left = m_picSplit->Left() + m_picSplit->Width();
    if (W - rightBorder - left >= 0) m_picTab->Move(left, m_picTab->Top(), W - rightBorder - left);
    m_picTool->Move(m_picTab->Left(), m_picTool->Top(), m_picTab->Width());
    for (controls::ucListBox* list : m_lists)
        MoveWindow(list, m_picTab->Left(), list->y(), m_picTab->Width(), list->height(), true);
}

void FrmMain::showOnlyList(int index) {
    for (int i = 0; i < 4; ++i) m_lists[static_cast<size_t>(i)]->setVisible(i == index);
}

void FrmMain::ctr_Lst_Click() {
    const bool show = m_picTab->isHidden();
    const int32_t W = innerWidth(), L = controls::ucSkin::SizeLBorder(), T = controls::ucSkin::SizeCaption();
    m_picTab->setVisible(show);
    m_picTool->setVisible(show);
    m_picSplit->setVisible(show);
    if (show) {
        // The panel returns with the first tab selected and only its list showing (a tab
        // press shows one list at a time, so the panel never shows more than one).
        setTabIndex(0);
        showOnlyList(0);
        m_picCnt->Move(L, T, m_picSplit->Left() - L, m_picCtr->Top() - T);
    } else {
        showOnlyList(-1);
        m_picCnt->Move(L, T, W - L, m_picCtr->Top() - T);
    }
}

void FrmMain::tBt_Cls_Click() {
    const int32_t W = innerWidth(), L = controls::ucSkin::SizeLBorder(), T = controls::ucSkin::SizeCaption();
    m_picTab->setVisible(false);
    m_picTool->setVisible(false);
    m_picSplit->setVisible(false);
    showOnlyList(-1);
    m_picCnt->Move(L, T, W - L, m_picCtr->Top() - T);
}

void FrmMain::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    if (m_player) m_player->controls().stop();
    if (m_notice) {
        if (IsWindow(m_notice)) m_notice->destroyWindow();
        delete m_notice;
        m_notice = nullptr;
    }
    if (m_tabBackBrush) DeleteObject(m_tabBackBrush);
    m_tabBackBrush = nullptr;
    // Still selected into the strip's context: it goes when the strip's window does.
    if (m_tabFont) DeleteObject(m_tabFont);
    m_tabFont = nullptr;
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

QString FrmMain::DownloadText(const QString& url) const { return app::DownloadText(url); }

QString FrmMain::StripHtmlTags(const QString& text) const { return app::StripHtmlTags(text); }

void FrmMain::loadCategory(int category) {
    QString page;
    try {
        page = DownloadText(DirectoryRequestUrl(category, LocalClockTimestamp()));
    } catch (const RuntimeError&) {
        // No network, a refused connection, a body too large: the list stays as it is.
    }
    controls::ucListBox* list = m_lists[static_cast<size_t>(category)];
    for (const ChannelLine& line : ChannelLinesOf(page, category)) {
        try {
            list->AddItem(line.title, std::nullopt, line.address);
        } catch (const RuntimeError&) {
            // That line is lost; the others go on.
        }
    }
}

} // namespace app
