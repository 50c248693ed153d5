// skin_sheet: one PNG for judging the skin by eye. Every catalogue picture is shown at 4x
// (magenta, the transparent key, as a checkerboard) with its name and size, followed by
// mock-ups at 2x of the caption, the tab strip and tool strip, the scrollbars and the
// control bar, composed from the compiled-in pictures by the slicing rules the controls
// use, through the same picture surfaces.
//
//   QT_QPA_PLATFORM=offscreen skin_sheet OUT.png     (./x skin-sheet)

#include "imaging/draw_text_ellipsis.h"
#include "imaging/pc_mem_dc.h"
#include "imaging/skin_catalogue.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"
#include "platform/gdi/memory_surface.h"
#include "platform/gdi/pen.h"

#include <QApplication>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

using namespace platform;
using imaging::pcMemDC;

namespace {

constexpr QRgb kSheetBack = 0xFF5A5A5F;
constexpr QRgb kLabel = 0xFFEEEEEE;
constexpr QRgb kMagentaKey = 0xFFFF00FF;

int R(double v) { return static_cast<int>(std::nearbyint(v)); }

// A memory context over a device bitmap of the given size.
class MemSurface : public MemorySurface {
public:
    using MemorySurface::MemorySurface;
    QImage image() const { return bitmap()->toImage(); }
};

// The catalogue pictures as picture surfaces, by name; a picture that fails to load leaves
// an empty surface that draws nothing.
class Skin {
public:
    pcMemDC& operator[](const QString& name) {
        auto& slot = m_surfaces[name];
        if (!slot) {
            slot = std::make_unique<pcMemDC>();
            try {
                slot->CreateFromPicture(imaging::LoadResPicture(name));
            } catch (const RuntimeError&) { std::fprintf(stderr, "skin_sheet: no picture %s\n", qPrintable(name)); }
        }
        return *slot;
    }

private:
    std::map<QString, std::unique_ptr<pcMemDC>> m_surfaces;
};

void fillRect(HDC dc, RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, r, b);
    DeleteObject(b);
}

void line(HDC dc, int x1, int y1, int x2, int y2, COLORREF c) {
    HPEN pen = CreatePen(0, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// ---- caption ---------------------------------------------------------------------------

// The caption of a window W x H as the skin frame paints it, caption buttons in `states`
// (minimise, maximise, close, keep on top, menu).
void drawCaption(Skin& skin, HDC dc, int W, int H, const int (&states)[5], const QString& title, bool maximised) {
    fillRect(dc, {0, 0, W, H}, RGB(0, 0, 0));
    skin["SKIN"].StretchDraw(dc, 0, 44, 77, 21, 1, 2, W - 2, 21);
    const int columns[5] = {0, maximised ? 66 : 11, 22, 44, 33};
    const int xs[5] = {W - 51, W - 34, W - 17, W - 68, W - 85};
    for (int i = 0; i < 5; ++i) skin["SKIN"].Draw(dc, columns[i], 11 * states[i] - 11, 11, 11, xs[i], 6, false);
    HFONT font = CreateFont(12, 6, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0x30, QStringLiteral("宋体"));
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0xDCDCDC);
    imaging::DrawTextEllipsis(dc, title, 6, 6, W - 6 - 85, 23, 0);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HPEN outer = CreatePen(0, 1, 0x000000), inner = CreatePen(0, 1, 0x888B8B), frame = CreatePen(0, 1, 0x333939);
    HGDIOBJ oldPen = SelectObject(dc, outer);
    RoundRect(dc, 0, 0, W, H, 7, 7);
    SelectObject(dc, inner);
    RoundRect(dc, 1, 1, W - 1, H - 1, 7, 7);
    SelectObject(dc, frame);
    Rectangle(dc, 3, 23, W - 3, H - 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(outer);
    DeleteObject(inner);
    DeleteObject(frame);
}

// ---- tab strip and tool strip ------------------------------------------------------------

void drawTab(Skin& skin, HDC dc, int S, int index, int state, int tabIndex, const QString& caption) {
    int w = S / 4;
    const int x0 = index * w;
    fillRect(dc, {x0, 0, x0 + w + 1, 29}, RGB(13, 20, 24));
    if (index == 3) w = S - x0;
    int sy = -1;
    if (index == tabIndex) sy = 0;
    else if (state == 2) sy = 24;
    pcMemDC& tab = skin["TABBAR"];
    if (sy >= 0) {
        tab.Draw(dc, 0, sy, 5, 24, x0 + 1, 6, false);
        tab.StretchDraw(dc, 5, sy, 12, 24, x0 + 6, 6, w - 12, 24);
        tab.Draw(dc, 36, sy, 5, 24, x0 + w - 6, 6, false);
        tab.Draw(dc, 17, sy, 8, 24, x0 + R((w - 8) / 2.0), 6, false);
    }
    imaging::DrawTextEllipsis(dc, caption, x0 + 2, 8, w - 4, 20, DT_CENTER);
}

void drawTabStrip(Skin& skin, HDC dc, int S, int selected, int hot) {
    fillRect(dc, {0, 0, S, 32}, RGB(13, 20, 24));
    HFONT font = CreateFont(pointsToLogicalHeight(9), 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0,
                            QStringLiteral("宋体"));
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const QString captions[4] = {QStringLiteral("监控"), QStringLiteral("音乐"), QStringLiteral("电视"),
                                 QStringLiteral("电台")};
    for (int i = 0; i < 4; ++i) {
        SetTextColor(dc, i == selected ? RGB(255, 255, 255) : RGB(149, 149, 150));
        drawTab(skin, dc, S, i, i == hot ? 2 : 1, selected, captions[i]);
    }
    SelectObject(dc, old);
    DeleteObject(font);
}

void drawToolStrip(Skin& skin, HDC dc, int top, int w, int clsState) {
    const int h = 25;
    fillRect(dc, {0, top, w, top + h}, RGB(35, 35, 36));
    line(dc, 35, top + h - 2, w - 1, top + h - 2, RGB(45, 45, 46));
    line(dc, 35, top + h - 1, w - 1, top + h - 1, RGB(0, 0, 0));
    MemSurface button(24, 18, RGB(64, 64, 64));
    skin["tBt_Cls"].Draw(button.dc(), 0, (clsState - 1) * 18, 24, 18, 0, 0, true);
    BitBlt(dc, w - 24 - 2, top + 1, 24, 18, button.dc(), 0, 0, SRCCOPY);
}

// A few list rows in the lists' colours, to see the scrollbar against them.
void drawListRows(HDC dc, int top, int w, int h, const QString (&titles)[6]) {
    HFONT font = CreateFont(pointsToLogicalHeight(9), 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0,
                            QStringLiteral("宋体"));
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i * 27 < h; ++i) {
        const int y = top + i * 27;
        fillRect(dc, {0, y, w, std::min(y + 27, top + h)},
                 i == 2  ? RGB(64, 72, 50)
                 : i % 2 ? RGB(30, 30, 31)
                         : RGB(35, 35, 36));
        SetTextColor(dc, i == 1 ? RGB(83, 183, 2) : i == 2 ? RGB(149, 149, 150) : RGB(116, 116, 117));
        if (i < 6) imaging::DrawTextEllipsis(dc, titles[i], 24, y + 8, w - 28, 20, 0);
    }
    SelectObject(dc, old);
    DeleteObject(font);
}

// ---- scrollbar -----------------------------------------------------------------------------

struct BarLook {
    int arrow1, arrow2; // arrow frames
    int track1, track2; // track frames
    int thumb;          // thumb frame
};

void drawArrow(Skin& skin, HDC dc, bool vertical, bool second, RECT r, int f) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (vertical) {
        pcMemDC& face = skin["SCRARROWV"];
        face.Draw(dc, 0, 18 * f, 3, 18, r.left, r.top, false);
        face.Draw(dc, 14, 18 * f, 3, 18, r.right - 3, r.top, false);
        face.StretchDraw(dc, 3, 18 * f, 11, 18, r.left + 3, r.top, w - 6, 18);
        skin[second ? "SCRARROWVB" : "SCRARROWVT"].Draw(dc, 0, 18 * f, 17, 18, r.left + R((w - 17) / 2.0), r.top, true);
    } else {
        pcMemDC& face = skin["SCRARROWH"];
        face.Draw(dc, 18 * f, 0, 18, 3, r.left, r.top, false);
        face.Draw(dc, 18 * f, 14, 18, 3, r.left, r.bottom - 3, false);
        face.StretchDraw(dc, 18 * f, 3, 18, 11, r.left, r.top + 3, 18, h - 6);
        skin[second ? "SCRARROWHR" : "SCRARROWHL"].Draw(dc, 18 * f, 0, 18, 17, r.left, r.top + R((h - 17) / 2.0), true);
    }
}

void drawTrack(Skin& skin, HDC dc, bool vertical, RECT r, int f) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (vertical) {
        pcMemDC& s = skin["SCRBACKV"];
        s.StretchDraw(dc, 0, 2 * f, 3, 2, r.left, r.top, 3, h);
        s.StretchDraw(dc, 14, 2 * f, 3, 2, r.right - 3, r.top, 3, h);
        s.StretchDraw(dc, 3, 2 * f, 11, 2, r.left + 3, r.top, w - 6, h);
    } else {
        pcMemDC& s = skin["SCRBACKH"];
        s.StretchDraw(dc, 2 * f, 0, 2, 3, r.left, r.top, w, 3);
        s.StretchDraw(dc, 2 * f, 14, 2, 3, r.left, r.bottom - 3, w, 3);
        s.StretchDraw(dc, 2 * f, 3, 2, 11, r.left, r.top + 3, w, h - 6);
    }
}

void drawThumb(Skin& skin, HDC dc, bool vertical, RECT r, int f) {
    pcMemDC& s = skin[vertical ? "SCRTHUMBV" : "SCRTHUMBH"];
    const int cx = vertical ? 17 * f : 0, cy = vertical ? 0 : 17 * f;
    const int cw = vertical ? 17 : 15, ch = vertical ? 15 : 17;
    const int l = r.left, t = r.top, w = r.right - r.left, h = r.bottom - r.top;
    s.Draw(dc, cx, cy, 3, 3, l, t, false);
    s.Draw(dc, cx + cw - 3, cy, 3, 3, l + w - 3, t, false);
    s.Draw(dc, cx, cy + ch - 3, 3, 3, l, t + h - 3, false);
    s.Draw(dc, cx + cw - 3, cy + ch - 3, 3, 3, l + w - 3, t + h - 3, false);
    s.StretchDraw(dc, cx + 3, cy, cw - 6, 3, l + 3, t, w - 6, 3);
    s.StretchDraw(dc, cx + 3, cy + ch - 3, cw - 6, 3, l + 3, t + h - 3, w - 6, 3);
    s.StretchDraw(dc, cx, cy + 3, 3, ch - 6, l, t + 3, 3, h - 6);
    s.StretchDraw(dc, cx + cw - 3, cy + 3, 3, ch - 6, l + w - 3, t + 3, 3, h - 6);
    s.StretchDraw(dc, cx + 3, cy + 3, cw - 6, ch - 6, l + 3, t + 3, w - 6, h - 6);
    const int len = vertical ? h : w;
    if (len >= 16) {
        if (vertical) skin["SCRGRIPV"].Draw(dc, 0, 10 * f, 9, 10, l + R((w - 9) / 2.0), t + R((h - 10) / 2.0), true);
        else skin["SCRGRIPH"].Draw(dc, 0, 9 * f, 10, 9, l + R((w - 10) / 2.0), t + R((h - 9) / 2.0), true);
    }
}

// A scrollbar of `length` x 17 (or 17 x `length`) at `origin`, value `value` of 0..100 with
// LargeChange 10, painted in the frames of `look`.
void drawScrollbar(Skin& skin, HDC dc, QPoint origin, bool vertical, int length, int value, const BarLook& look) {
    const int trackStart = 18, trackEnd = length - 18, trackLength = trackEnd - trackStart;
    const int thumbLength = std::max(8, trackLength / (100 / 10 + 1));
    const int thumbPos = trackStart + R(static_cast<double>(trackLength - thumbLength) / 100 * value);
    const auto rect = [&](int a, int b) {
        return vertical ? RECT{origin.x(), origin.y() + a, origin.x() + 17, origin.y() + b}
                        : RECT{origin.x() + a, origin.y(), origin.x() + b, origin.y() + 17};
    };
    drawArrow(skin, dc, vertical, false, rect(0, 18), look.arrow1);
    drawArrow(skin, dc, vertical, true, rect(length - 18, length), look.arrow2);
    drawTrack(skin, dc, vertical, rect(trackStart, thumbPos), look.track1);
    drawTrack(skin, dc, vertical, rect(thumbPos + thumbLength, trackEnd), look.track2);
    drawThumb(skin, dc, vertical, rect(thumbPos, thumbPos + thumbLength), look.thumb);
}

// ---- control bar ---------------------------------------------------------------------------

// A skinned button as the button control paints it: its own surface cleared to 0x404040,
// the state's frame drawn with the magenta key, then shown on the bar.
void drawButton(Skin& skin, HDC dc, const QString& picture, int w, int frameH, int state, int x, int y) {
    MemSurface button(w, frameH, RGB(64, 64, 64));
    skin[picture].Draw(button.dc(), 0, (state - 1) * frameH, w, frameH, 0, 0, true);
    BitBlt(dc, x, y, w, frameH, button.dc(), 0, 0, SRCCOPY);
}

// The control bar of inner width W: seek fill `played` (0..1), volume `volume` (0..100).
void drawControlBar(Skin& skin, HDC dc, int W, double played, int volume, bool muted, bool playing,
                    const int (&states)[4]) {
    pcMemDC& bar = skin["PLAYCTR"];
    bar.StretchDraw(dc, 0, 0, 1, 64, 0, 0, W, 64);
    const int fill = R(played * (W - 99));
    bar.StretchDraw(dc, 10, 0, 1, 8, 5, 5, W - 107, 8);
    bar.Draw(dc, 2, 0, 8, 8, fill + 5, 5, false);
    if (fill > 0) bar.StretchDraw(dc, 1, 0, 1, 8, 5, 5, fill, 8);
    if (!muted) {
        const int level = R(volume / 100.0 * 47);
        bar.StretchDraw(dc, 10, 8, 1, 8, 98, 38, 55, 8);
        bar.StretchDraw(dc, 1, 8, 1, 8, 98, 38, level, 8);
        bar.Draw(dc, 2, 8, 8, 8, 98 + level, 38, false);
    } else {
        bar.StretchDraw(dc, 10, 8, 1, 8, 98, 38, 55, 8);
        bar.Draw(dc, 2, 8, 8, 8, 98, 38, false);
    }
    drawButton(skin, dc, playing ? "PAUSEBT" : "PLAYBT", 35, 34, states[0], 5, 25);
    drawButton(skin, dc, "ctr_Stop", 26, 26, states[1], 42, 29);
    drawButton(skin, dc, muted ? "SLIBT" : "VOLBT", 26, 27, states[2], 70, 29);
    drawButton(skin, dc, "ctr_Lst", 26, 26, states[3], W - 26 - 10, 29);
    HFONT font = CreateFont(pointsToLogicalHeight(9), 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0,
                            QStringLiteral("宋体"));
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(116, 116, 117));
    imaging::DrawTextEllipsis(dc, playing ? QStringLiteral("正在播放") : QStringLiteral("Tips"), 170, 36, W - 220, 16,
                              0);
    SelectObject(dc, old);
    DeleteObject(font);
}

// ---- the sheet -----------------------------------------------------------------------------

class Sheet {
public:
    explicit Sheet(int width) : m_width(width) {}

    // Reserves a cell of w x h (plus its label line) in the current row.
    QPoint place(int w, int h) {
        if (m_x > kMargin && m_x + w > m_width - kMargin) newRow();
        const QPoint at(m_x, m_y + kLabelHeight);
        m_x += w + kMargin;
        m_rowHeight = std::max(m_rowHeight, h + kLabelHeight);
        return at;
    }
    void newRow() {
        m_y += m_rowHeight + kMargin;
        m_x = kMargin;
        m_rowHeight = 0;
    }
    void heading(const QString& text) {
        newRow();
        m_items.push_back({QPoint(kMargin, m_y + 14), text, {}, true});
        m_y += 26;
    }
    void add(QPoint at, const QString& label, const QImage& image) { m_items.push_back({at, label, image, false}); }
    int height() const { return m_y + m_rowHeight + kMargin; }

    QImage render() const {
        QImage out(m_width, height(), QImage::Format_RGB32);
        out.fill(kSheetBack);
        QPainter p(&out);
        for (const Item& it : m_items) {
            p.setPen(QColor::fromRgb(kLabel));
            QFont f = p.font();
            f.setPixelSize(it.heading ? 15 : 12);
            f.setBold(it.heading);
            p.setFont(f);
            if (it.heading) {
                p.drawText(it.at, it.label);
                continue;
            }
            p.drawText(it.at + QPoint(0, -5), it.label);
            p.drawImage(it.at, it.image);
        }
        return out;
    }

    static constexpr int kMargin = 16;
    static constexpr int kLabelHeight = 18;

private:
    struct Item {
        QPoint at;
        QString label;
        QImage image;
        bool heading;
    };
    int m_width;
    int m_x = kMargin, m_y = 0, m_rowHeight = 0;
    std::vector<Item> m_items;
};

// `img` at `scale`x with magenta (when `keyed`) and transparent pixels over a checkerboard.
QImage magnified(const QImage& img, int scale, bool keyed) {
    const QImage src = img.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.width() * scale, src.height() * scale, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            QRgb p = src.pixel(x / scale, y / scale);
            const QRgb check = ((x / 8) + (y / 8)) % 2 ? 0xFFC8C8C8 : 0xFF9A9A9A;
            if (keyed && (p | 0xFF000000u) == kMagentaKey) p = 0;
            const int a = qAlpha(p);
            out.setPixel(x, y,
                         qRgb((qRed(p) * a + qRed(check) * (255 - a)) / 255,
                              (qGreen(p) * a + qGreen(check) * (255 - a)) / 255,
                              (qBlue(p) * a + qBlue(check) * (255 - a)) / 255));
        }
    }
    return out;
}

QImage doubled(const QImage& img) { return img.scaled(img.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation); }

void addCatalogue(Sheet& sheet) {
    sheet.heading(QStringLiteral("Named bitmaps and form pictures at 4x (magenta shown as checkerboard)"));
    for (const auto* list : {&imaging::skinBitmaps(), &imaging::formPictures()}) {
        for (const imaging::SkinEntry& e : *list) {
            QImage img;
            try {
                img = imaging::LoadResPicture(QString::fromLatin1(e.name)).image();
            } catch (const RuntimeError&) {
                img = QImage(e.width, e.height, QImage::Format_RGB32);
                img.fill(Qt::red);
            }
            const QImage big = magnified(img, 4, true);
            sheet.add(sheet.place(std::max(big.width(), 150), big.height()),
                      QStringLiteral("%1 %2x%3").arg(QLatin1String(e.name)).arg(img.width()).arg(img.height()), big);
        }
    }
    sheet.heading(QStringLiteral("Play icon, application icon (8-bit and 32-bit), tab pointer at 4x"));
    const QImage play = QImage::fromData(imaging::LoadResData(QStringLiteral("PLAY"), QStringLiteral("PNGICON")));
    sheet.add(sheet.place(60, 48), QStringLiteral("PLAY"), magnified(play, 4, false));
    const Picture icons = imaging::LoadAppIcon();
    for (const QImage& icon : icons.iconImages()) {
        const QImage big = magnified(icon.convertToFormat(QImage::Format_ARGB32), 4, false);
        sheet.add(sheet.place(std::max(big.width(), 60), big.height()), QStringLiteral("icon %1").arg(icon.width()),
                  big);
    }
    const QImage pointer = imaging::LoadTabPointer().image();
    sheet.add(sheet.place(128, 128), QStringLiteral("pointer (6,0)"), magnified(pointer, 4, false));
}

void addMockups(Sheet& sheet, Skin& skin) {
    sheet.heading(QStringLiteral("Mock-ups at 2x"));
    {
        MemSurface caption(420, 48, 0);
        const int normal[5] = {1, 1, 1, 1, 1};
        drawCaption(skin, caption.dc(), 420, 48, normal, QStringLiteral("天播 网络电视 电台 音乐"), false);
        sheet.add(sheet.place(840, 96), QStringLiteral("caption, active, buttons normal"), doubled(caption.image()));
        MemSurface caption2(420, 48, 0);
        const int mixed[5] = {2, 3, 2, 1, 1};
        drawCaption(skin, caption2.dc(), 420, 48, mixed,
                    QStringLiteral("A window title much too long for the caption strip to show in full"), true);
        sheet.add(sheet.place(840, 96), QStringLiteral("maximised: min hot, restore pressed, close hot"),
                  doubled(caption2.image()));
    }
    sheet.newRow();
    {
        const QString titles[6] = {QStringLiteral("CCTV-1 综合"),
                                   QStringLiteral("CCTV-2 财经 (playing)"),
                                   QStringLiteral("CCTV-3 综艺 (selected)"),
                                   QStringLiteral("凤凰卫视中文台"),
                                   QStringLiteral("湖南卫视"),
                                   QStringLiteral("A very long channel name that is cut")};
        const int S = 203;
        MemSurface panel(S, 32 + 25 + 200, 0);
        drawTabStrip(skin, panel.dc(), S, 0, 2);
        drawToolStrip(skin, panel.dc(), 32, S, 1);
        drawListRows(panel.dc(), 57, S - 17, 200, titles);
        drawScrollbar(skin, panel.dc(), QPoint(S - 17, 57), true, 200, 50, {0, 0, 0, 0, 0});
        sheet.add(sheet.place(2 * S, 2 * panel.height()), QStringLiteral("tab 0 selected, tab 2 hot"),
                  doubled(panel.image()));
        MemSurface panel2(S, 32 + 25, 0);
        drawTabStrip(skin, panel2.dc(), S, 1, 1);
        drawToolStrip(skin, panel2.dc(), 32, S, 2);
        MemSurface panel3(S, 32 + 25, 0);
        drawTabStrip(skin, panel3.dc(), S, 3, 0);
        drawToolStrip(skin, panel3.dc(), 32, S, 3);
        const QPoint at = sheet.place(2 * S, 2 * 2 * 57 + 8);
        sheet.add(at, QStringLiteral("tab 1 selected+hot, hide hot / tab 3, hide pressed"), doubled(panel2.image()));
        sheet.add(at + QPoint(0, 2 * 57 + 8), QString(), doubled(panel3.image()));
    }
    {
        MemSurface bars(4 * 17 + 3 * 10, 200, RGB(35, 35, 36));
        const BarLook looks[4] = {{0, 0, 0, 0, 0}, {2, 1, 0, 0, 1}, {1, 3, 0, 1, 2}, {4, 4, 0, 0, 3}};
        for (int i = 0; i < 4; ++i)
            drawScrollbar(skin, bars.dc(), QPoint(i * 27, 0), true, 200, i == 2 ? 20 : 50, looks[i]);
        sheet.add(sheet.place(2 * bars.width(), 400), QStringLiteral("normal / up hot / down+thumb pressed / disabled"),
                  doubled(bars.image()));
        MemSurface hbars(200, 17 * 3 + 20, RGB(35, 35, 36));
        drawScrollbar(skin, hbars.dc(), QPoint(0, 0), false, 200, 30, {0, 0, 0, 0, 0});
        drawScrollbar(skin, hbars.dc(), QPoint(0, 27), false, 200, 60, {1, 2, 0, 0, 1});
        drawScrollbar(skin, hbars.dc(), QPoint(0, 54), false, 200, 90, {3, 1, 1, 0, 2});
        sheet.add(sheet.place(400, 2 * hbars.height()), QStringLiteral("horizontal: normal / right hot / left pressed"),
                  doubled(hbars.image()));
    }
    sheet.newRow();
    {
        MemSurface bar(450, 64, 0);
        const int normal[4] = {1, 1, 1, 1};
        drawControlBar(skin, bar.dc(), 450, 0.5, 80, false, false, normal);
        sheet.add(sheet.place(900, 128), QStringLiteral("control bar: stopped, half played, volume 80"),
                  doubled(bar.image()));
        MemSurface bar2(450, 64, 0);
        const int mixed[4] = {2, 3, 2, 2};
        drawControlBar(skin, bar2.dc(), 450, 0.1, 0, true, true, mixed);
        sheet.add(sheet.place(900, 128), QStringLiteral("playing, pause hot, stop pressed, muted (hot), list hot"),
                  doubled(bar2.image()));
        MemSurface bar3(450, 64, 0);
        const int other[4] = {3, 4, 1, 3};
        drawControlBar(skin, bar3.dc(), 450, 0.0, 100, false, false, other);
        sheet.add(sheet.place(900, 128), QStringLiteral("play pressed, stop disabled, list pressed, volume 100"),
                  doubled(bar3.image()));
        MemSurface bar4(450, 64, 0);
        const int disabled[4] = {4, 1, 4, 4};
        drawControlBar(skin, bar4.dc(), 450, 1.0, 30, false, false, disabled);
        sheet.add(sheet.place(900, 128), QStringLiteral("play, volume, list disabled; played to the end"),
                  doubled(bar4.image()));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_sheet OUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    Sheet sheet(1900);
    Skin skin;
    addCatalogue(sheet);
    addMockups(sheet, skin);
    const QImage out = sheet.render();
    if (!out.save(QString::fromLocal8Bit(argv[1]), "png")) {
        std::fprintf(stderr, "skin_sheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
