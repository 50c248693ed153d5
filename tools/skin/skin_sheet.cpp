// skin_sheet: one PNG for judging the skin by eye. Every catalogue picture is shown at 4x
// (magenta, the transparent key, as a checkerboard) with its name and size, followed by the
// real controls at 2x — the window frame, the tab strip, tool strip and channel list, the
// scrollbars and the control bar's buttons — made offscreen from the main window's form
// file, brought to fixed looks by the pointer messages a user would cause, and copied from
// their retained images.
//
//   QT_QPA_PLATFORM=offscreen skin_sheet OUT.png     (./x skin-sheet)

#include "sheet.h"

#include "controls/chrome/font_conversion.h"
#include "controls/chrome/tab_painting.h"
#include "controls/chrome/uc_button.h"
#include "controls/chrome/uc_skin.h"
#include "controls/list/list_box.h"
#include "imaging/draw_text_ellipsis.h"
#include "imaging/skin_catalogue.h"
#include "platform/forms/form_file.h"
#include "platform/forms/number_rules.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/memory_surface.h"
#include "platform/gdi/outline.h"
#include "platform/gdi/select_guard.h"
#include "platform/window/window_functions.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <cstdio>
#include <vector>

using namespace platform;
using controls::ButtonLook;
using skintool::Sheet;

namespace {

constexpr QRgb kMagentaKey = 0xFFFF00FF;
constexpr QRgb kBarBack = 0xFF232324;

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
            sheet.add(QStringLiteral("%1 %2x%3").arg(QLatin1String(e.name)).arg(img.width()).arg(img.height()),
                      magnified(img, 4, true), 150);
        }
    }
    sheet.heading(QStringLiteral("Play icon, application icon (8-bit and 32-bit), tab pointer at 4x"));
    const QImage play = QImage::fromData(imaging::LoadResData(QStringLiteral("PLAY"), QStringLiteral("PNGICON")));
    sheet.add(QStringLiteral("PLAY"), magnified(play, 4, false), 60);
    const Picture icons = imaging::LoadAppIcon();
    for (const QImage& icon : icons.iconImages())
        sheet.add(QStringLiteral("icon %1").arg(icon.width()), magnified(icon, 4, false), 60);
    sheet.add(QStringLiteral("pointer (6,0)"), magnified(imaging::LoadTabPointer().image(), 4, false));
}

// ---- the real controls -----------------------------------------------------------------

// A control of the main window's form file by name (an empty one when it is missing).
const FormControl& control(const FormControl& form, const QString& name) {
    static const FormControl kNone;
    for (const FormControl& c : form.controls) {
        if (c.name == name) return c;
        if (const FormControl& inner = control(c, name); !inner.name.isEmpty()) return inner;
    }
    return kNone;
}

// A window's retained image with those of its shown child windows over it, as on screen.
QImage grab(Window* w) {
    UpdateWindow(w);
    QImage out = w->surface().toImage();
    QPainter p(&out);
    for (QObject* o : w->children()) {
        if (auto* child = qobject_cast<Window*>(o); child && !child->isHidden()) p.drawImage(child->pos(), grab(child));
    }
    return out;
}

// Pointer messages in client coordinates; a press holds the left button.
using Pointer = std::vector<std::pair<UINT, QPoint>>;
WPARAM keysOf(UINT msg) { return msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0; }

// Images side by side (or one below the other), `gap` apart on `back`.
QImage row(const std::vector<QImage>& parts, bool across, int gap, QRgb back = kBarBack) {
    const QPoint step = across ? QPoint(parts[0].width() + gap, 0) : QPoint(0, parts[0].height() + gap);
    QImage out(parts[0].width() + step.x() * int(parts.size() - 1),
               parts[0].height() + step.y() * int(parts.size() - 1), QImage::Format_RGB32);
    out.fill(back);
    QPainter p(&out);
    for (size_t i = 0; i < parts.size(); ++i) p.drawImage(step * int(i), parts[i]);
    return out;
}

// The main window's frame over a 420 x 48 client area without an icon, active; `pointer`
// names caption buttons by index.
QImage caption(const FormControl& form, const QString& title, bool maximised,
               const std::vector<std::pair<UINT, int>>& pointer) {
    Window host(nullptr, QStringLiteral("Form"), WS_OVERLAPPEDWINDOW);
    host.resize(420, 48);
    host.setText(title);
    // Maximised as a desktop does it: the state without a new place, so the strip stays 420 wide.
    if (maximised) host.changeShowState(ShowState::Maximized, Window::StateChangeBy::Desktop);
    auto* skin = new controls::ucSkin(&host);
    skin->ReadProperties(control(form, QStringLiteral("ucSkin1")).properties);
    skin->DrawCaption(true);
    for (const auto& [msg, index] : pointer) {
        const POINT p = skin->Zones().buttonPos(index);
        SendMessage(skin, msg, keysOf(msg), MAKELPARAM(p.x + 5, p.y + 5));
    }
    return grab(skin);
}

QImage button(const QString& picture, ButtonLook look) {
    Window host;
    auto* b = new controls::ucButton(&host);
    b->ReadProperties(PropertyBag());
    b->setSkinPicture(imaging::LoadResPicture(picture));
    b->PaintState(look, true);
    return grab(b);
}

// A scrollbar 17 x 200 (or 200 x 17) at `value` of 0..100.
QImage scrollbar(bool vertical, int value, bool enabled, const Pointer& pointer) {
    Window host;
    auto* bar = new controls::UcScrollBar(&host);
    MoveWindow(bar, 0, 0, vertical ? 17 : 200, vertical ? 200 : 17, true);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Orientation"), int32_t{vertical ? 0 : 1});
    bar->ReadProperties(bag);
    bar->setValue(value);
    bar->setEnabled(enabled);
    for (const auto& [msg, at] : pointer) SendMessage(bar, msg, keysOf(msg), MAKELPARAM(at.x(), at.y()));
    return grab(bar);
}

// The list panel of the main window: tab strip, tool strip and, given rows, the first list.
QImage panel(const FormControl& form, int selected, int hot, ButtonLook hide, const QStringList& rows) {
    const PropertyBag& tab = control(form, QStringLiteral("PicTab")).properties;
    const int32_t S = control(form, QStringLiteral("PicTab")).width;
    MemorySurface strip(S, 32 + 25, TranslateColor(tab.ReadColor(QStringLiteral("BackColor"), 0)));
    const FontHandle font(controls::createFontFromDesc(tab.ReadFont(QStringLiteral("Font"), {})));
    const SelectGuard useFont(strip.dc(), font.get());
    SetTextColor(strip.dc(), TranslateColor(tab.ReadColor(QStringLiteral("ForeColor"), 0)));
    SetBkMode(strip.dc(), TRANSPARENT);
    imaging::pcMemDC tabBar;
    tabBar.CreateFromPicture(imaging::LoadResPicture(QStringLiteral("TABBAR")));
    const BrushHandle back(CreateSolidBrush(GetPixel(strip.dc(), 0, 0)));
    const QStringList captions = {QStringLiteral("监控"), QStringLiteral("音乐"), QStringLiteral("电视"),
                                  QStringLiteral("电台")};
    for (int i = 0; i < 4; ++i)
        controls::paintTab(strip.dc(), tabBar, back.get(), S, 4, i, i == selected,
                           i == hot ? ButtonLook::Hot : ButtonLook::Normal, captions[i]);
    const PropertyBag& tool = control(form, QStringLiteral("PicTool")).properties;
    const BrushHandle toolBack(CreateSolidBrush(tool.ReadColor(QStringLiteral("BackColor"), 0)));
    FillRect(strip.dc(), {0, 32, S, 57}, toolBack.get());
    drawLine(strip.dc(), {35, 32 + 23}, {S - 1, 32 + 23}, RGB(45, 45, 46));
    drawLine(strip.dc(), {35, 32 + 24}, {S - 1, 32 + 24}, RGB(0, 0, 0));

    QImage out(S, 57 + (rows.isEmpty() ? 0 : 200), QImage::Format_RGB32);
    QPainter p(&out);
    p.drawImage(0, 0, strip.bitmap()->toImage());
    p.drawImage(S - 24 - 2, 32 + 1, button(QStringLiteral("tBt_Cls"), hide));
    if (rows.isEmpty()) return out;
    Window host;
    auto* list = new controls::ucListBox(&host);
    MoveWindow(list, 0, 0, S, 200, true);
    list->ReadProperties(control(form, QStringLiteral("ucListTV0")).properties);
    for (const QString& r : rows) list->AddItem(r);
    list->setPlayIndex(1);
    list->setListIndex(2);
    list->Refresh();
    p.drawImage(0, 57, grab(list));
    return out;
}

// The control bar 450 wide: the "PLAYCTR" slices at seek fill `played` (0..1) and volume
// `volume` (0..100), the four transport buttons in `looks`, the status text.
QImage controlBar(double played, int volume, bool muted, bool playing, const ButtonLook (&looks)[4]) {
    constexpr int W = 450;
    MemorySurface surface(W, 64);
    const HDC dc = surface.dc();
    imaging::pcMemDC bar;
    bar.CreateFromPicture(imaging::LoadResPicture(QStringLiteral("PLAYCTR")));
    bar.StretchDraw(dc, 0, 0, 1, 64, 0, 0, W, 64);
    const int fill = R(played * (W - 99));
    bar.StretchDraw(dc, 10, 0, 1, 8, 5, 5, W - 107, 8);
    bar.Draw(dc, 2, 0, 8, 8, fill + 5, 5, false);
    if (fill > 0) bar.StretchDraw(dc, 1, 0, 1, 8, 5, 5, fill, 8);
    const int level = muted ? 0 : R(volume / 100.0 * 47);
    bar.StretchDraw(dc, 10, 8, 1, 8, 98, 38, 55, 8);
    if (level > 0) bar.StretchDraw(dc, 1, 8, 1, 8, 98, 38, level, 8);
    bar.Draw(dc, 2, 8, 8, 8, 98 + level, 38, false);
    const FontHandle font(controls::createFontFromDesc(FontDesc{}));
    const SelectGuard useFont(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(116, 116, 117));
    imaging::DrawTextEllipsis(dc, playing ? QStringLiteral("正在播放") : QStringLiteral("Tips"), 170, 36, W - 220, 16,
                              0);
    QImage out = surface.bitmap()->toImage();
    QPainter p(&out);
    p.drawImage(5, 25, button(playing ? QStringLiteral("PAUSEBT") : QStringLiteral("PLAYBT"), looks[0]));
    p.drawImage(42, 29, button(QStringLiteral("ctr_Stop"), looks[1]));
    p.drawImage(70, 29, button(muted ? QStringLiteral("SLIBT") : QStringLiteral("VOLBT"), looks[2]));
    p.drawImage(W - 26 - 10, 29, button(QStringLiteral("ctr_Lst"), looks[3]));
    return out;
}

void addControls(Sheet& sheet, const FormControl& form) {
    sheet.heading(QStringLiteral("The controls at 2x"));
    sheet.add(QStringLiteral("caption, active, buttons normal"),
              doubled(caption(form, QStringLiteral("天播 网络电视 电台 音乐"), false, {})));
    sheet.add(
        QStringLiteral("maximised: min hot, close hot, restore pressed"),
        doubled(caption(form, QStringLiteral("A window title much too long for the caption strip to show in full"),
                        true, {{WM_MOUSEMOVE, 0}, {WM_MOUSEMOVE, 2}, {WM_LBUTTONDOWN, 1}})));
    sheet.newRow();
    const QStringList rows = QStringLiteral("CCTV-1 综合|CCTV-2 财经 (playing)|CCTV-3 综艺 (selected)|凤凰卫视中文台|"
                                            "湖南卫视|A very long channel name that is cut|东方卫视|浙江卫视")
                                 .split(u'|');
    sheet.add(QStringLiteral("tab 0 selected, tab 2 hot"), doubled(panel(form, 0, 2, ButtonLook::Normal, rows)));
    sheet.add(QStringLiteral("tab 1 selected+hot, hide hot / tab 3, hide pressed"),
              doubled(row({panel(form, 1, 1, ButtonLook::Hot, {}), panel(form, 3, 0, ButtonLook::Pressed, {})}, false,
                          4, Sheet::kBack)));
    // The thumb of value 50 lies at 93..107, of value 20 at 48..62.
    sheet.add(QStringLiteral("normal, up hot, thumb hot / pressed: down, track, thumb / disabled"),
              doubled(row({scrollbar(true, 50, true, {}), scrollbar(true, 50, true, {{WM_MOUSEMOVE, {8, 5}}}),
                           scrollbar(true, 50, true, {{WM_MOUSEMOVE, {8, 100}}}),
                           scrollbar(true, 20, true, {{WM_LBUTTONDOWN, {8, 190}}}),
                           scrollbar(true, 20, true, {{WM_LBUTTONDOWN, {8, 150}}}),
                           scrollbar(true, 50, true, {{WM_LBUTTONDOWN, {8, 100}}}), scrollbar(true, 50, false, {})},
                          true, 10)),
              560);
    sheet.add(QStringLiteral("horizontal: normal / right hot / left pressed"),
              doubled(row({scrollbar(false, 30, true, {}), scrollbar(false, 60, true, {{WM_MOUSEMOVE, {190, 8}}}),
                           scrollbar(false, 90, true, {{WM_LBUTTONDOWN, {5, 8}}})},
                          false, 10)));
    sheet.newRow();
    using L = ButtonLook;
    sheet.add(QStringLiteral("control bar: stopped, half played, volume 80"),
              doubled(controlBar(0.5, 80, false, false, {L::Normal, L::Normal, L::Normal, L::Normal})));
    sheet.add(QStringLiteral("playing, pause hot, stop pressed, muted (hot), list hot"),
              doubled(controlBar(0.1, 0, true, true, {L::Hot, L::Pressed, L::Hot, L::Hot})));
    sheet.add(QStringLiteral("play pressed, stop disabled, list pressed, volume 100"),
              doubled(controlBar(0.0, 100, false, false, {L::Pressed, L::Disabled, L::Normal, L::Pressed})));
    sheet.add(QStringLiteral("play, volume, list disabled; played to the end"),
              doubled(controlBar(1.0, 30, false, false, {L::Disabled, L::Normal, L::Disabled, L::Disabled})));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_sheet OUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    QFile file(QStringLiteral(":/forms/frm_main.json"));
    const std::optional<FormControl> form =
        file.open(QIODevice::ReadOnly) ? ReadFormFile(file.readAll(), imaging::ResolveFormPicture) : std::nullopt;
    if (!form) {
        std::fprintf(stderr, "skin_sheet: the main window's form file is missing\n");
        return 1;
    }
    Sheet sheet;
    addCatalogue(sheet);
    addControls(sheet, *form);
    if (!sheet.image().save(QString::fromLocal8Bit(argv[1]), "png")) {
        std::fprintf(stderr, "skin_sheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
