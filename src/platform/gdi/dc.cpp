#include "dc.h"

#include "platform/window/window.h"
#include "platform/window/window_functions.h"

#include <QPainter>
#include <array>

namespace platform {

namespace {

int g_liveContexts = 0;

GdiObject* makeStock(int32_t index) {
    GdiObject* obj = nullptr;
    switch (index) {
    case WHITE_BRUSH: obj = new Brush(BS_SOLID, 0xFFFFFF, 0); break;
    case LTGRAY_BRUSH: obj = new Brush(BS_SOLID, 0xC0C0C0, 0); break;
    case GRAY_BRUSH: obj = new Brush(BS_SOLID, 0x808080, 0); break;
    case DKGRAY_BRUSH: obj = new Brush(BS_SOLID, 0x404040, 0); break;
    case BLACK_BRUSH: obj = new Brush(BS_SOLID, 0x000000, 0); break;
    case NULL_BRUSH: obj = new Brush(BS_NULL, 0, 0); break;
    case WHITE_PEN: obj = new Pen(PS_SOLID, 1, 0xFFFFFF); break;
    case BLACK_PEN: obj = new Pen(PS_SOLID, 1, 0x000000); break;
    case NULL_PEN: obj = new Pen(PS_NULL, 1, 0); break;
    case SYSTEM_FONT: {
        LOGFONT lf;
        lf.lfHeight = -12;
        lf.lfFaceName = QStringLiteral("宋体");
        lf.lfCharSet = GB2312_CHARSET;
        obj = new Font(lf);
        break;
    }
    case DEFAULT_GUI_FONT: {
        LOGFONT lf;
        lf.lfHeight = -12;
        lf.lfFaceName = QStringLiteral("宋体");
        lf.lfCharSet = GB2312_CHARSET;
        obj = new Font(lf);
        break;
    }
    default: return nullptr;
    }
    obj->markStock();
    return obj;
}

Bitmap* defaultBitmap() {
    static Bitmap* bmp = [] {
        auto* b = new Bitmap(1, 1, Bitmap::Format::Mono);
        b->markStock();
        return b;
    }();
    return bmp;
}

} // namespace

HGDIOBJ GetStockObject(int32_t index) {
    static std::array<GdiObject*, 18> stock{};
    if (index < 0 || index >= static_cast<int32_t>(stock.size())) return nullptr;
    auto& slot = stock[static_cast<size_t>(index)];
    if (!slot) slot = makeStock(index);
    return slot;
}

DeviceContext::DeviceContext(Kind kind, Window* window) : m_kind(kind), m_window(window) {
    if (kind != Kind::Window) ++g_liveContexts;
    select(GetStockObject(WHITE_BRUSH));
    select(GetStockObject(BLACK_PEN));
    select(GetStockObject(SYSTEM_FONT));
    if (kind == Kind::Memory) select(defaultBitmap());
}

DeviceContext::~DeviceContext() {
    if (m_kind != Kind::Window) --g_liveContexts;
    for (GdiObject* o : {static_cast<GdiObject*>(m_pen), static_cast<GdiObject*>(m_brush),
                         static_cast<GdiObject*>(m_font), static_cast<GdiObject*>(m_bitmap)}) {
        if (o) o->removeSelection();
    }
}

Bitmap* DeviceContext::target() const {
    switch (m_kind) {
    case Kind::Window: return m_window ? &m_window->surface() : nullptr;
    case Kind::Memory: return m_bitmap;
    case Kind::Screen: return nullptr;
    }
    return nullptr;
}

HGDIOBJ DeviceContext::select(HGDIOBJ obj) {
    if (!obj) return nullptr;
    GdiObject** slot = nullptr;
    switch (obj->type()) {
    case GdiObject::Type::Pen: slot = reinterpret_cast<GdiObject**>(&m_pen); break;
    case GdiObject::Type::Brush: slot = reinterpret_cast<GdiObject**>(&m_brush); break;
    case GdiObject::Type::Font: slot = reinterpret_cast<GdiObject**>(&m_font); break;
    case GdiObject::Type::Bitmap:
        if (m_kind != Kind::Memory) return nullptr;
        slot = reinterpret_cast<GdiObject**>(&m_bitmap);
        break;
    case GdiObject::Type::Region: m_clip = static_cast<Region*>(obj)->qregion(); return nullptr;
    }
    GdiObject* previous = *slot;
    if (previous == obj) return previous;
    obj->addSelection();
    *slot = obj;
    // The previous object may be deleted here when its deletion was requested while it was
    // selected; the caller gets its handle back only if it still lives.
    if (previous) previous->removeSelection();
    return previous;
}

QRegion DeviceContext::drawableArea() const {
    const Bitmap* t = target();
    if (!t) return {};
    QRegion area(0, 0, t->width(), t->height());
    if (m_clip) area &= *m_clip;
    return area;
}

void DeviceContext::touched(const QRect& r) {
    if (m_kind == Kind::Window && m_window && !r.isEmpty()) m_window->update(r);
}

bool DeviceContext::paint(const std::function<void(QPainter&)>& fn, const QRect& touchedArea) {
    Bitmap* t = target();
    if (!t || t->width() < 1 || t->height() < 1) return false;
    QImage view = t->memoryView();
    {
        QPainter p(&view);
        if (t->bottomUp()) {
            p.translate(0, t->height());
            p.scale(1, -1);
        }
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (m_clip) p.setClipRegion(*m_clip);
        fn(p);
    }
    touched(touchedArea);
    return true;
}

int deviceContextCount() { return g_liveContexts; }

HDC CreateCompatibleDC(HDC) { return new DeviceContext(DeviceContext::Kind::Memory, nullptr); }

HDC CreateDC(const QString&) { return new DeviceContext(DeviceContext::Kind::Screen, nullptr); }

bool DeleteDC(HDC hdc) {
    if (!hdc || hdc->kind() == DeviceContext::Kind::Window) return false;
    delete hdc;
    return true;
}

HDC GetDC(HWND hwnd) {
    if (!hwnd) return CreateDC(QStringLiteral("DISPLAY"));
    if (!IsWindow(hwnd)) return nullptr;
    return hwnd->dc();
}

int32_t ReleaseDC(HWND, HDC hdc) {
    if (hdc && hdc->kind() == DeviceContext::Kind::Screen) delete hdc;
    return 1;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) { return hdc ? hdc->select(obj) : nullptr; }

HGDIOBJ GetCurrentObject(HDC hdc, GdiObject::Type type) {
    if (!hdc) return nullptr;
    switch (type) {
    case GdiObject::Type::Pen: return hdc->pen();
    case GdiObject::Type::Brush: return hdc->brush();
    case GdiObject::Type::Font: return hdc->font();
    case GdiObject::Type::Bitmap: return hdc->selectedBitmap();
    default: return nullptr;
    }
}

int32_t GetDeviceCaps(HDC hdc, int32_t index) {
    switch (index) {
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    case BITSPIXEL: {
        const Bitmap* t = hdc ? hdc->target() : nullptr;
        return t && t->isMono() ? 1 : 32;
    }
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return 0; // true colour, no palette
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE: return 0;
    default: return 0;
    }
}

COLORREF SetTextColor(HDC hdc, COLORREF c) {
    if (!hdc) return CLR_INVALID;
    const COLORREF old = hdc->textColor;
    hdc->textColor = c & 0xFFFFFF;
    return old;
}
COLORREF GetTextColor(HDC hdc) { return hdc ? hdc->textColor : CLR_INVALID; }
COLORREF SetBkColor(HDC hdc, COLORREF c) {
    if (!hdc) return CLR_INVALID;
    const COLORREF old = hdc->bkColor;
    hdc->bkColor = c & 0xFFFFFF;
    return old;
}
COLORREF GetBkColor(HDC hdc) { return hdc ? hdc->bkColor : CLR_INVALID; }
int32_t SetBkMode(HDC hdc, int32_t mode) {
    if (!hdc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int32_t old = hdc->bkMode;
    hdc->bkMode = mode;
    return old;
}
int32_t GetBkMode(HDC hdc) { return hdc ? hdc->bkMode : 0; }
int32_t SetROP2(HDC hdc, int32_t mode) {
    if (!hdc || mode < 1 || mode > 16) return 0;
    const int32_t old = hdc->rop2;
    hdc->rop2 = mode;
    return old;
}
int32_t GetROP2(HDC hdc) { return hdc ? hdc->rop2 : 0; }
int32_t SetStretchBltMode(HDC hdc, int32_t mode) {
    if (!hdc || mode < 1 || mode > 4) return 0;
    const int32_t old = hdc->stretchMode;
    hdc->stretchMode = mode;
    return old;
}
int32_t GetStretchBltMode(HDC hdc) { return hdc ? hdc->stretchMode : 0; }
bool SetBrushOrgEx(HDC hdc, int32_t x, int32_t y, POINT* old) {
    if (!hdc) return false;
    if (old) *old = hdc->brushOrigin;
    hdc->brushOrigin = {x, y};
    return true;
}
bool MoveToEx(HDC hdc, int32_t x, int32_t y, POINT* old) {
    if (!hdc) return false;
    if (old) *old = hdc->currentPosition;
    hdc->currentPosition = {x, y};
    return true;
}
bool GetCurrentPositionEx(HDC hdc, POINT* pt) {
    if (!hdc || !pt) return false;
    *pt = hdc->currentPosition;
    return true;
}

int32_t SelectClipRgn(HDC hdc, HRGN rgn) {
    if (!hdc) return RGN_ERROR;
    if (!rgn) {
        hdc->setClip(std::nullopt);
        return SIMPLEREGION;
    }
    hdc->setClip(rgn->qregion());
    return rgn->complexity();
}

int32_t IntersectClipRect(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b) {
    if (!hdc) return RGN_ERROR;
    QRegion rect(l, t, std::max(0, r - l), std::max(0, b - t));
    QRegion clip = hdc->clip() ? (*hdc->clip() & rect) : rect;
    if (!hdc->clip()) {
        if (const Bitmap* tg = hdc->target()) clip &= QRegion(0, 0, tg->width(), tg->height());
    }
    hdc->setClip(clip);
    return clip.isEmpty() ? NULLREGION : (clip.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION);
}

int32_t ExcludeClipRect(HDC hdc, int32_t l, int32_t t, int32_t r, int32_t b) {
    if (!hdc) return RGN_ERROR;
    QRegion clip = hdc->clip() ? *hdc->clip() : hdc->drawableArea();
    clip -= QRegion(l, t, std::max(0, r - l), std::max(0, b - t));
    hdc->setClip(clip);
    return clip.isEmpty() ? NULLREGION : (clip.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION);
}

int32_t GetClipBox(HDC hdc, RECT* rc) {
    if (!hdc || !rc) return RGN_ERROR;
    const QRect b = hdc->drawableArea().boundingRect();
    *rc = b.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    return b.isEmpty() ? NULLREGION : SIMPLEREGION;
}

} // namespace platform
