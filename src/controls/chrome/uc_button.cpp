#include "uc_button.h"

#include "font_conversion.h"
#include "leave_tracking.h"

#include "imaging/draw_text_ellipsis.h"
#include "platform/forms/number_rules.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/outline.h"
#include "platform/window/mouse_args.h"
#include "platform/window/window_functions.h"

#include <cmath>

namespace controls {

using namespace platform;

namespace {

// The built-in face: column c is the vertical gradient of the look whose frame is c (normal,
// hot, pressed).
constexpr COLORREF kFace[20][3] = {
    {0x757575, 0x686868, 0x6C6C6C}, {0x747474, 0x676767, 0x6F6F6F}, {0x747474, 0x656565, 0x6F6F6F},
    {0x747474, 0x646464, 0x6E6E6E}, {0x737373, 0x636363, 0x6E6E6E}, {0x737373, 0x626262, 0x6D6D6D},
    {0x737373, 0x606060, 0x6D6D6D}, {0x727272, 0x5F5F5F, 0x6C6C6C}, {0x727272, 0x5E5E5E, 0x6C6C6C},
    {0x727272, 0x585858, 0x6B6B6B}, {0x717171, 0x575757, 0x6A6A6A}, {0x717171, 0x565656, 0x6A6A6A},
    {0x717171, 0x565656, 0x696969}, {0x717171, 0x545454, 0x696969}, {0x707070, 0x545454, 0x696969},
    {0x6F6F6F, 0x535353, 0x686868}, {0x6F6F6F, 0x525252, 0x686868}, {0x6F6F6F, 0x515151, 0x676767},
    {0x6F6F6F, 0x4F4F4F, 0x676767}, {0x6E6E6E, 0x4F4F4F, 0x676767},
};

constexpr COLORREF kBackground = 0x404040;
constexpr COLORREF kDisabledBackground = 0xD8E9EC;
constexpr COLORREF kOuterOutline = 0x000000;
constexpr COLORREF kInnerOutline = 0x868585;
constexpr COLORREF kDisabledInnerOutline = 0xF1F0F0;
// Size of the ellipses that round the outlines' corners.
constexpr int32_t kCorner = 3;

} // namespace

ucButton::ucButton(Window* parent, const QString& name) : Window(parent, QStringLiteral("ucButton")) {
    setObjectName(name);
    m_caption = name;
    m_hfont.reset(createFontFromDesc(m_font));
    setBackColor(kBackground);
    buildDefaultFace();
}

ucButton::~ucButton() {
    m_subclasser.UnsubclassAll();
    releaseDefaultFace();
    m_skin.reset();
    if (m_hfont) SelectObject(dc(), GetStockObject(SYSTEM_FONT));
}

void ucButton::setEnabled(bool on) {
    if (on) {
        QWidget::setEnabled(true);
        PaintState(ButtonLook::Normal, true);
    } else {
        PaintState(ButtonLook::Disabled, true);
        QWidget::setEnabled(false);
    }
}

void ucButton::setFont(const FontDesc& font) {
    m_font = font;
    if (HFONT f = createFontFromDesc(m_font)) {
        SelectObject(dc(), f);
        m_hfont.reset(f);
    }
    PaintState(ButtonLook::Normal, true);
}

void ucButton::setCaption(const QString& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    PaintState(ButtonLook::Normal, true);
}

void ucButton::setForeColor(COLORREF color) {
    if (color == m_foreColor) return;
    m_foreColor = color;
    PaintState(ButtonLook::Normal, true);
}

void ucButton::setDefaultStyle(bool on) {
    if (on != m_defaultStyle) {
        m_defaultStyle = on;
        if (on) {
            m_skin.reset();
            buildDefaultFace();
        } else {
            SetWindowRgn(this, nullptr, true);
            createSkinSurface();
        }
    }
    PaintState(ButtonLook::Normal, true);
}

void ucButton::setSkinPicture(const Picture& picture) {
    m_skinPicture = picture;
    if (m_defaultStyle) return;
    createSkinSurface();
    onResize();
    PaintState(isEnabled() ? ButtonLook::Normal : ButtonLook::Disabled, true);
}

void ucButton::createSkinSurface() {
    m_skin = std::make_unique<imaging::pcMemDC>();
    m_skin->CreateFromPicture(m_skinPicture);
}

void ucButton::buildDefaultFace() {
    if (m_face) return;
    m_face = MemoryDC(3, 20);
    for (int32_t y = 0; y < 20 && m_face; ++y) {
        for (int32_t x = 0; x < 3; ++x) platform::SetPixel(m_face.dc(), x, y, kFace[y][x]);
    }
}

void ucButton::releaseDefaultFace() { m_face.reset(); }

void ucButton::PaintState(ButtonLook state, bool force) {
    if (state == m_state && !force) return;
    if (frameOf(state) < 0 || state > ButtonLook::Disabled) return;
    const int32_t W = width();
    const int32_t H = height();
    HDC hdc = dc();
    setBackColor(kBackground);
    clearSurface();
    COLORREF textColor = m_foreColor;
    if (m_defaultStyle) {
        if (state != ButtonLook::Disabled && m_face) {
            platform::StretchBlt(hdc, 2, 2, W - 2, H - 2, m_face.dc(), frameOf(state), 0, 1, 20, SRCCOPY);
        }
        if (state != ButtonLook::Disabled) {
            drawOutline(hdc, {0, 0, W, H}, kOuterOutline, 1, kCorner);
            drawOutline(hdc, {1, 1, W - 1, H - 1}, kInnerOutline, 1, kCorner);
        } else {
            setBackColor(kDisabledBackground);
            clearSurface();
            drawOutline(hdc, {0, 0, W, H}, GetSysColor(COLOR_BTNSHADOW), 1, kCorner);
            drawOutline(hdc, {1, 1, W - 1, H - 1}, kDisabledInnerOutline, 1, kCorner);
            textColor = GetSysColor(COLOR_BTNSHADOW);
        }
    } else if (m_skin && m_skin->hdc()) {
        const int32_t frameHeight = R(m_skin->Height() / 4.0);
        m_skin->Draw(hdc, 0, frameOf(state) * frameHeight, m_skin->Width(), frameHeight, 0, 0, true);
    }
    // The caption, centred; the pressed look moves it one pixel right and down.
    if (m_hfont) SelectObject(hdc, m_hfont.get());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, TranslateColor(textColor));
    SIZE extent;
    GetTextExtentPoint32(hdc, m_caption.isEmpty() ? QStringLiteral(" ") : m_caption, &extent);
    int32_t top = R((H - extent.cy) / 2.0);
    int32_t left = 1;
    if (state == ButtonLook::Pressed) {
        ++top;
        left = 2;
    }
    if (!m_caption.isEmpty()) imaging::DrawTextEllipsis(hdc, m_caption, left, top, W - 2, H, DT_CENTER);
    update();
    m_state = state;
}

void ucButton::onResize() {
    if (m_defaultStyle) {
        SetWindowRgn(this, CreateRoundRectRgn(0, 0, width() + 1, height() + 1, 3, 3), true);
        PaintState(isEnabled() ? ButtonLook::Normal : ButtonLook::Disabled, true);
        return;
    }
    if (!m_skin || !m_skin->hdc()) return;
    // A picture dimension of zero keeps that dimension of the button.
    const int32_t w = m_skin->Width() > 0 ? m_skin->Width() : width();
    const int32_t h = m_skin->Height() > 0 ? R(m_skin->Height() / 4.0) : height();
    if (w != width() || h != height()) SetWindowPos(this, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
}

bool ucButton::inside(int32_t x, int32_t y) const { return x >= 0 && x <= width() && y >= 0 && y <= height(); }

void ucButton::ReadProperties(const PropertyBag& bag) {
    m_font = bag.ReadFont(QStringLiteral("Font"), m_font);
    if (HFONT f = createFontFromDesc(m_font)) {
        SelectObject(dc(), f);
        m_hfont.reset(f);
    }
    m_foreColor = bag.ReadColor(QStringLiteral("ForeColor"), m_foreColor);
    m_caption = bag.ReadString(QStringLiteral("Caption"), QString());
    m_defaultStyle = bag.ReadBool(QStringLiteral("DefaultStyle"), false);
    m_skinPicture = bag.ReadPicture(QStringLiteral("SkinPicture"), Picture());
    // The resize handler runs before the skin surface exists, so a skin-style button keeps
    // the size it was given until its picture is set or it is resized again.
    m_skin.reset();
    onResize();
    if (m_defaultStyle) {
        buildDefaultFace();
    } else {
        releaseDefaultFace();
        createSkinSurface();
    }
    setEnabled(bag.ReadBool(QStringLiteral("Enabled"), isEnabled()));
    if (!Window::designMode() && m_subclasser.Count() == 0) {
        HasTrackMouseEvent();
        m_subclasser.Subclass(this);
        m_subclasser.AddMsg(this, WM_MOUSELEAVE, MsgWhen::After);
    }
}

void ucButton::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Enabled"), isEnabled());
    bag.WriteProperty(QStringLiteral("Font"), m_font);
    bag.WriteProperty(QStringLiteral("ForeColor"), static_cast<int32_t>(m_foreColor));
    bag.WriteProperty(QStringLiteral("Caption"), m_caption);
    bag.WriteProperty(QStringLiteral("DefaultStyle"), m_defaultStyle);
    bag.WriteProperty(QStringLiteral("SkinPicture"), m_skinPicture);
}

void ucButton::zSubclass_Proc(bool bBefore, bool&, LRESULT&, HWND&, UINT& uMsg, WPARAM&, LPARAM&) {
    if (!bBefore && uMsg == WM_MOUSELEAVE) PaintState(ButtonLook::Normal);
}

LRESULT ucButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int32_t x = GET_X_LPARAM(lParam);
    const int32_t y = GET_Y_LPARAM(lParam);
    MouseArgs a = MouseArgs::fromMessage(msg, wParam, lParam);
    switch (msg) {
    case WM_SIZE: onResize(); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        m_lastButton = a.Button;
        // A pointer that comes back to the very spot it left brings no move message, so the
        // press may be the first the button hears of it: the look it paints now must be
        // undone when the pointer leaves.
        StartLeaveTracking(this);
        if (a.Button == 1) PaintState(ButtonLook::Pressed);
        emit MouseDown(a.Button, a.Shift, a.X, a.Y);
        return 0;
    case WM_MOUSEMOVE:
        StartLeaveTracking(this);
        if (inside(x, y)) PaintState((wParam & MK_LBUTTON) ? ButtonLook::Pressed : ButtonLook::Hot);
        emit MouseMove(a.Button, a.Shift, a.X, a.Y);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        QPointer<ucButton> self(this);
        if (!inside(x, y)) {
            PaintState(ButtonLook::Normal);
        } else {
            StartLeaveTracking(this);
            PaintState(ButtonLook::Hot);
            if (a.Button == 1) emit Click();
        }
        if (self) emit MouseUp(a.Button, a.Shift, a.X, a.Y);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        if (m_lastButton == 1) PaintState(ButtonLook::Pressed);
        return 0;
    default: break;
    }
    return Window::WindowProc(msg, wParam, lParam);
}

} // namespace controls
