#include "uc_skin.h"

#include "leave_tracking.h"

#include "imaging/skin_catalogue.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/memory_dc.h"
#include "platform/gdi/outline.h"
#include "platform/gdi/select_guard.h"
#include "platform/window/menu.h"
#include "platform/window/mouse_args.h"
#include "platform/window/screens.h"
#include "platform/window/window_functions.h"

#include <QHelpEvent>
#include <QPointer>
#include <QToolTip>

namespace controls {

using namespace platform;

namespace {

constexpr COLORREF kTitleActive = 0xDCDCDC;
constexpr COLORREF kTitleInactive = 0xBEBEBF;
constexpr COLORREF kOuterActive = 0x000000;
constexpr COLORREF kOuterInactive = 0x4B4949;
constexpr COLORREF kInnerActive = 0x888B8B;
constexpr COLORREF kInnerInactive = 0x7D7979;
constexpr COLORREF kClientFrame = 0x333939;
constexpr int32_t kStripHeight = 23;

// Size of the ellipses that round the frame's outer corners.
constexpr int32_t kOutlineCorner = 7;

} // namespace

ucSkin::ucSkin(Window* parent, const QString& name) : Window(parent, QStringLiteral("ucSkin")) {
    setObjectName(name);
    setBackColor(0x000000);
    m_tips = {QStringLiteral("最小化"), QStringLiteral("最大化"), QStringLiteral("关闭"), QStringLiteral("主菜单"),
              QStringLiteral("窗口置顶")};
    if (Window::designMode()) paintDesignView();
}

ucSkin::~ucSkin() { m_subclasser.UnsubclassAll(); }

void ucSkin::paintDesignView() {
    // In a form designer the frame is a small labelled box.
    resize(90, 24);
    setBackColor(0x000000);
    clearSurface();
    SetTextColor(dc(), 0xFFFFFF);
    SetBkMode(dc(), TRANSPARENT);
    RECT rc{0, 0, 90, 24};
    platform::DrawText(dc(), objectName(), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void ucSkin::setDrawIcon(bool on) {
    if (on == m_drawIcon) return;
    m_drawIcon = on;
    if (m_running) DrawCaption(GetForegroundWindow() == m_parent);
}

void ucSkin::setMenuButton(bool on) {
    if (on == m_menuButton) return;
    m_menuButton = on;
    if (m_running) DrawCaption(GetForegroundWindow() == m_parent);
}

void ucSkin::setTopMostButton(bool on) {
    if (on == m_topMostButton) return;
    m_topMostButton = on;
    if (m_running) DrawCaption(GetForegroundWindow() == m_parent);
}

void ucSkin::ReadProperties(const PropertyBag& bag) {
    m_drawIcon = bag.ReadBool(QStringLiteral("DrawIcon"), false);
    m_minWidth = bag.ReadInt(QStringLiteral("MinWidth"), 0);
    m_minHeight = bag.ReadInt(QStringLiteral("MinHeight"), 0);
    m_drawBorder = bag.ReadBool(QStringLiteral("DrawBorder"), false);
    m_menuButton = bag.ReadBool(QStringLiteral("MenuButton"), false);
    m_topMostButton = bag.ReadBool(QStringLiteral("TopMostButton"), false);
    if (Window::designMode()) {
        paintDesignView();
        return;
    }
    start();
}

void ucSkin::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("DrawIcon"), m_drawIcon);
    bag.WriteProperty(QStringLiteral("MinWidth"), m_minWidth);
    bag.WriteProperty(QStringLiteral("MinHeight"), m_minHeight);
    bag.WriteProperty(QStringLiteral("DrawBorder"), m_drawBorder);
    bag.WriteProperty(QStringLiteral("MenuButton"), m_menuButton);
    bag.WriteProperty(QStringLiteral("TopMostButton"), m_topMostButton);
}

void ucSkin::start() {
    if (m_running) return;
    m_parent = parentWindow();
    if (!IsWindow(m_parent)) return;
    HasTrackMouseEvent();
    m_running = true;
    m_subclasser.Subclass(m_parent);
    for (UINT msg : {WM_GETMINMAXINFO, WM_SIZE, WM_SHOWWINDOW, WM_NCACTIVATE})
        m_subclasser.AddMsg(m_parent, msg, MsgWhen::After);
    m_subclasser.Subclass(this);
    m_subclasser.AddMsg(this, WM_MOUSELEAVE, MsgWhen::After);
    // The styles are read here as well as on every show, so the first layout already knows
    // whether the host has a sizing frame.
    readWindowStyles();
    try {
        m_skin.CreateFromPicture(imaging::LoadResPicture(QStringLiteral("SKIN")));
    } catch (const RuntimeError&) {
        // Without the skin image the frame draws its outlines and title only.
    }
    // The host may have had its last WM_SIZE before the frame existed: lay out now.
    layout();
}

void ucSkin::setSkinImage(const Picture& skin) {
    m_skin.CreateFromPicture(skin);
    if (m_running) DrawCaption(GetForegroundWindow() == m_parent);
}

ButtonLook ucSkin::ButtonState(int32_t index) const {
    return index >= 0 && index < FrameZones::kButtonCount ? m_state[static_cast<size_t>(index)] : ButtonLook::None;
}

bool ucSkin::ButtonVisible(int32_t index) const {
    return index >= 0 && index < FrameZones::kButtonCount && m_visible[static_cast<size_t>(index)];
}

QString ucSkin::ButtonToolTip(int32_t index) const {
    return index >= 0 && index < FrameZones::kButtonCount ? m_tips[static_cast<size_t>(index)] : QString();
}

bool ucSkin::parentMinimized() const { return !IsWindow(m_parent) || IsIconic(m_parent); }
bool ucSkin::parentNormal() const { return IsWindow(m_parent) && !IsIconic(m_parent) && !IsZoomed(m_parent); }

HICON ucSkin::parentIcon() const {
    if (!IsWindow(m_parent)) return nullptr;
    HICON small = reinterpret_cast<HICON>(SendMessage(m_parent, WM_GETICON, 0, 0));
    return small ? small : m_parent->icon(1);
}

void ucSkin::readWindowStyles() {
    const auto style = static_cast<uint32_t>(GetWindowLong(m_parent, GWL_STYLE));
    const auto exStyle = static_cast<uint32_t>(GetWindowLong(m_parent, GWL_EXSTYLE));
    m_resizable = style & WS_THICKFRAME;
    m_minBox = style & WS_MINIMIZEBOX;
    m_maxBox = style & WS_MAXIMIZEBOX;
    m_windowEdge = exStyle & WS_EX_WINDOWEDGE;
}

void ucSkin::updateButtonVisibility() { m_visible = {m_minBox, m_maxBox, true, m_menuButton, m_topMostButton}; }

void ucSkin::ApplyFrameRegions(bool windowRegion, bool controlRegion) {
    if (!m_running || parentMinimized()) return;
    QPointer<ucSkin> self(this);
    if (windowRegion) {
        const auto style = static_cast<uint32_t>(GetWindowLong(m_parent, GWL_STYLE));
        SetWindowLong(m_parent, GWL_STYLE, static_cast<int32_t>(style & ~WS_CAPTION));
        SetWindowPos(m_parent, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
        if (!self || !IsWindow(m_parent)) return;
        HRGN rgn = nullptr;
        if (parentNormal()) {
            RECT wr;
            GetWindowRect(m_parent, &wr);
            const int32_t w = wr.width();
            const int32_t h = wr.height();
            // A sizing frame (or the window-edge style) is hidden by cutting 3 pixels away.
            if (!m_resizable && !m_windowEdge) rgn = CreateRoundRectRgn(0, 0, w + 1, h + 1, 6, 6);
            else rgn = CreateRoundRectRgn(3, 3, w - 2, h - 2, 6, 6);
        }
        SetWindowRgn(m_parent, rgn, true);
    }
    if (controlRegion) {
        const int32_t W = width();
        const int32_t H = height();
        HRGN rgn = parentNormal() ? CreateRoundRectRgn(0, 0, W + 1, H + 1, 6, 6) : CreateRectRgn(0, 0, W, H);
        const RegionHandle inside(CreateRectRgn(4, 24, W - 4, H - 4));
        if (rgn && inside) CombineRgn(rgn, rgn, inside.get(), RGN_XOR);
        // The window takes the region over.
        if (rgn) SetWindowRgn(this, rgn, true);
    }
}

void ucSkin::layout() {
    if (!m_running || !IsWindow(m_parent)) return;
    QPointer<ucSkin> self(this);
    RECT client;
    GetClientRect(m_parent, &client);
    SetWindowPos(this, HWND_TOP, 0, 0, client.width(), client.height(), 0);
    if (!self) return;
    ApplyFrameRegions(true, true);
    if (!self) return;
    m_zones.layout(width(), height());
    // The maximise button's tip follows the state however it was reached (the button, a
    // double click on the caption, the window manager).
    m_tips[MaxButton] = IsZoomed(m_parent) ? QStringLiteral("向下还原") : QStringLiteral("最大化");
    DrawCaption(GetForegroundWindow() == m_parent);
}

int32_t ucSkin::glyphColumn(int32_t index) const {
    switch (index) {
    case MinButton: return 0;
    case MaxButton: return IsZoomed(m_parent) ? 66 : 11;
    case CloseButton: return 22;
    case MenuBtn: return 33;
    case TopMostBtn: return m_topMost ? 55 : 44;
    default: return 0;
    }
}

void ucSkin::drawCaptionButton(HDC target, int32_t index, ButtonLook look, bool force, bool refresh) {
    if (!m_running || parentMinimized()) return;
    // The glyphs have rows for the normal, hot and pressed looks only.
    const bool drawable = look == ButtonLook::Normal || look == ButtonLook::Hot || look == ButtonLook::Pressed;
    if (index < 0 || index >= FrameZones::kButtonCount || !drawable) return;
    auto& last = m_state[static_cast<size_t>(index)];
    if (look == last && !force) return;
    const POINT p = m_zones.buttonPos(index);
    m_skin.Draw(target, glyphColumn(index), 11 * frameOf(look), FrameZones::kButtonSize, FrameZones::kButtonSize, p.x,
                p.y, false);
    last = look;
    if (refresh) update();
}

void ucSkin::drawCaptionButtons(HDC target, bool force) {
    // A button the window does not have shows the subdued pressed row.
    drawCaptionButton(target, MinButton, m_minBox ? ButtonLook::Normal : ButtonLook::Pressed, force, false);
    drawCaptionButton(target, MaxButton, m_maxBox ? ButtonLook::Normal : ButtonLook::Pressed, force, false);
    drawCaptionButton(target, CloseButton, ButtonLook::Normal, force, false);
    if (m_menuButton) drawCaptionButton(target, MenuBtn, ButtonLook::Normal, force, false);
    if (m_topMostButton) drawCaptionButton(target, TopMostBtn, ButtonLook::Normal, force, false);
}

void ucSkin::DrawCaption(bool active) {
    if (!m_running || parentMinimized()) return;
    const int32_t W = width();
    const int32_t H = height();
    // 1-2. A screen-compatible strip W x 23 and the bold caption font.
    const MemoryDC strip(std::max(1, W), kStripHeight);
    const FontHandle font(CreateFont(12, 6, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0x30, m_font.Name));
    if (!strip || !font) return;
    const SelectGuard useFont(strip.dc(), font.get());
    SetBkMode(strip.dc(), TRANSPARENT);
    // 3. The control's own surface to its background colour.
    clearSurface();
    // 4. Title position.
    const HICON icon = parentIcon();
    const bool showIcon = m_drawIcon && icon;
    const int32_t titleLeft = showIcon ? 21 : 6;
    const int32_t titleWidth = W - titleLeft - 85;
    // 5. The caption background stretched over the strip.
    m_skin.StretchDraw(strip.dc(), 0, 44, 77, 21, 1, 2, W - 2, 21);
    // 6. All caption buttons.
    drawCaptionButtons(strip.dc(), true);
    // 7. The icon.
    if (showIcon) DrawIconEx(strip.dc(), 3, 3, icon, 16, 16, 0, nullptr, DI_NORMAL);
    // 8. The title, cut with "..." when it does not fit.
    SetTextColor(strip.dc(), active ? kTitleActive : kTitleInactive);
    if (titleWidth > 0)
        m_skin.pDrawText(strip.dc(), GetWindowText(m_parent), titleLeft, 6, titleWidth, kStripHeight, 0);
    // 9. The strip onto the control.
    platform::BitBlt(dc(), 0, 0, W, kStripHeight, strip.dc(), 0, 0, SRCCOPY);
    // 10-11. Outlines: rounded ones only in the normal state, the client frame always.
    if (parentNormal()) {
        drawOutline(dc(), {0, 0, W, H}, active ? kOuterActive : kOuterInactive, 1, kOutlineCorner);
        drawOutline(dc(), {1, 1, W - 1, H - 1}, active ? kInnerActive : kInnerInactive, 1, kOutlineCorner);
    }
    drawOutline(dc(), {3, 23, W - 3, H - 3}, kClientFrame);
    update();
}

void ucSkin::ShowSystemMenu() {
    if (!IsWindow(m_parent)) return;
    POINT pt;
    GetCursorPos(&pt);
    HMENU menu = GetSystemMenu(m_parent, false);
    QPointer<Window> parent(m_parent);
    const UINT cmd = TrackPopupMenu(menu, TPM_RETURNCMD, pt.x, pt.y, 0, m_parent, nullptr);
    if (parent) SendMessage(parent, WM_SYSCOMMAND, cmd, 0);
}

void ucSkin::setKeepOnTop(bool on) {
    if (on == m_topMost || !IsWindow(m_parent)) return;
    m_topMost = on;
    QPointer<ucSkin> self(this);
    SetWindowPos(m_parent, m_topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (!self) return;
    drawCaptionButton(dc(), TopMostBtn, ButtonLook::Normal, true, true);
    if (self) emit KeepOnTopChanged(m_topMost);
}

void ucSkin::closeParent() {
    if (IsWindow(m_parent)) SendMessage(m_parent, WM_CLOSE, 0, 0);
}

ucSkin::FrameHit ucSkin::frameHitAt(int32_t x, int32_t y) const {
    FrameHit hit;
    if (m_resizable) {
        if (parentNormal()) {
            const int32_t zone = m_zones.zoneAt(x, y);
            if (zone >= 0) {
                hit.code = FrameZones::hitCode(zone);
                hit.shape = FrameZones::pointerShape(zone);
            } else if (y <= SizeCaption()) {
                hit.code = HTCAPTION;
            }
        }
        // A maximised window is neither dragged nor sized.
    } else if (y <= SizeCaption()) {
        hit.code = HTCAPTION;
    }
    return hit;
}

void ucSkin::frameMove(int32_t x, int32_t y, WPARAM keys) {
    StartLeaveTracking(this);
    drawCaptionButtons(dc(), false);
    // With the left button held since a press on the frame, the press point decides between a
    // move and which resize: a brisk drag's first move event may land far from it (above
    // the caption, or past the narrow border zone it started in).
    const bool dragging = (keys & MK_LBUTTON) && m_pressButton == 1;
    const FrameHit hit = dragging ? frameHitAt(m_pressPos.x, m_pressPos.y) : frameHitAt(x, y);
    SetCursor(LoadCursor(hit.shape));
    if (dragging && hit.code != HTNOWHERE && IsWindow(m_parent)) {
        ReleaseCapture();
        SendMessage(m_parent, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit.code), 0);
    }
}

void ucSkin::framePress(int32_t button, int32_t x, int32_t y) {
    m_pressButton = button;
    m_pressPos = POINT{x, y};
    const bool onIcon = m_drawIcon && parentIcon() && x >= 3 && x <= 19 && y >= 5 && y <= 21;
    if (button == 1 && onIcon) ShowSystemMenu();
    else if (button == 2 && y <= SizeCaption()) ShowSystemMenu();
}

void ucSkin::frameDoubleClick() {
    if (m_pressButton != 1 || m_pressPos.y > SizeCaption()) return;
    const int32_t x = m_pressPos.x;
    const int32_t y = m_pressPos.y;
    if (m_drawIcon && parentIcon() && x > 2 && x < 20 && y > 4 && y < 22) {
        closeParent();
        return;
    }
    if (!m_maxBox || !IsWindow(m_parent)) return;
    ShowWindow(m_parent, IsZoomed(m_parent) ? SW_RESTORE : SW_MAXIMIZE);
}

void ucSkin::buttonPress(int32_t index, int32_t button) {
    if (button == 1) {
        drawCaptionButton(dc(), index, ButtonLook::Pressed, false, true);
    } else if (button == 2) {
        // The menu takes the pointer; its release may never reach the button.
        m_captureButton = -1;
        ShowSystemMenu();
    }
}

void ucSkin::buttonMove(int32_t index, WPARAM keys) {
    StartLeaveTracking(this);
    SetCursor(LoadCursor(IDC_ARROW));
    drawCaptionButton(dc(), index, (keys & MK_LBUTTON) ? ButtonLook::Pressed : ButtonLook::Hot, false, true);
}

void ucSkin::buttonRelease(int32_t index, int32_t button, int32_t x, int32_t y) {
    // x and y are relative to the button; its box counts with the far edges included.
    const bool click = x >= 0 && x <= FrameZones::kButtonSize && y >= 0 && y <= FrameZones::kButtonSize;
    drawCaptionButton(dc(), index, click ? ButtonLook::Hot : ButtonLook::Normal, false, true);
    if (!click || button != 1 || !IsWindow(m_parent)) return;
    QPointer<ucSkin> self(this);
    switch (index) {
    case MinButton:
        emit MinButtonClick();
        if (self && IsWindow(m_parent)) ShowWindow(m_parent, SW_MINIMIZE);
        break;
    case MaxButton: {
        bool cancel = false;
        emit MaxButtonClick(cancel);
        if (!self || cancel || !IsWindow(m_parent)) break;
        if (IsZoomed(m_parent)) {
            ShowWindow(m_parent, SW_RESTORE);
            if (self) m_tips[MaxButton] = QStringLiteral("最大化");
        } else {
            ShowWindow(m_parent, SW_MAXIMIZE);
            if (self) m_tips[MaxButton] = QStringLiteral("向下还原");
        }
        break;
    }
    case CloseButton: {
        bool cancel = false;
        emit CloseButtonClick(cancel);
        if (self && !cancel) closeParent();
        break;
    }
    case MenuBtn: emit MenuButtonClick(); break;
    case TopMostBtn: setKeepOnTop(!m_topMost); break;
    default: break;
    }
}

LRESULT ucSkin::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_running) {
        if (msg == WM_SIZE && Window::designMode() && (width() != 90 || height() != 24)) paintDesignView();
        return Window::WindowProc(msg, wParam, lParam);
    }
    const int32_t x = GET_X_LPARAM(lParam);
    const int32_t y = GET_Y_LPARAM(lParam);
    switch (msg) {
    case WM_MOUSEMOVE: {
        const int32_t index = m_captureButton >= 0 ? m_captureButton : m_zones.buttonAt(x, y, m_visible);
        if (index >= 0) buttonMove(index, wParam);
        else frameMove(x, y, wParam);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int32_t index = m_zones.buttonAt(x, y, m_visible);
        // A press decides anew which button, if any, follows the pointer until the release.
        m_captureButton = index;
        if (index >= 0) {
            // A double click on a button acts as its second press.
            buttonPress(index, mouseButtonOf(msg));
        } else if (msg == WM_LBUTTONDBLCLK) {
            frameDoubleClick();
        } else {
            framePress(mouseButtonOf(msg), x, y);
        }
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const int32_t index = m_captureButton;
        m_captureButton = -1;
        if (index >= 0) {
            const POINT p = m_zones.buttonPos(index);
            buttonRelease(index, mouseButtonOf(msg), x - p.x, y - p.y);
        }
        return 0;
    }
    default: break;
    }
    return Window::WindowProc(msg, wParam, lParam);
}

void ucSkin::zSubclass_Proc(bool bBefore, bool&, LRESULT&, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam, LPARAM& lParam) {
    if (bBefore || !m_running) return;
    if (lng_hWnd == this) {
        if (uMsg == WM_MOUSELEAVE) {
            drawCaptionButtons(dc(), true);
            update();
        }
        return;
    }
    if (lng_hWnd != m_parent) return;
    switch (uMsg) {
    case WM_SIZE: layout(); break;
    case WM_SHOWWINDOW: {
        QPointer<ucSkin> self(this);
        ApplyFrameRegions(true, true);
        if (!self) return;
        readWindowStyles();
        updateButtonVisibility();
        break;
    }
    case WM_NCACTIVATE:
        if (wParam == 0) DrawCaption(false);
        else if (wParam == 1 || wParam == 2) DrawCaption(true);
        break;
    case WM_GETMINMAXINFO: {
        if (lParam == 0) break;
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
        // The work area of the screen the window is on, where it really is: a panel along
        // the top or a second screen moves its origin. The 3 pixels on every side are the
        // sizing frame the window region hides.
        const RECT work = WorkAreaOf(m_parent);
        mmi->ptMaxPosition = POINT{work.left - 3, work.top - 3};
        mmi->ptMaxSize = POINT{work.width() + 6, work.height() + 6};
        mmi->ptMaxTrackSize = mmi->ptMaxSize;
        mmi->ptMinTrackSize = POINT{m_minWidth < 1 ? 142 : m_minWidth, m_minHeight < 1 ? 50 : m_minHeight};
        break;
    }
    default: break;
    }
}

bool ucSkin::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && m_running) {
        auto* help = static_cast<QHelpEvent*>(e);
        const int32_t index = m_zones.buttonAt(help->pos().x(), help->pos().y(), m_visible);
        if (index >= 0) QToolTip::showText(help->globalPos(), m_tips[static_cast<size_t>(index)], this);
        else QToolTip::hideText();
        return true;
    }
    return Window::event(e);
}

} // namespace controls
