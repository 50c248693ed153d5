// Text output and measurement of device contexts.

#include "colors.h"
#include "dc.h"
#include "dc_pixels.h"
#include "icon.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace platform {

namespace {

QFont fontOf(HDC hdc) {
    QFont f = hdc->font() ? hdc->font()->qfont() : QFont();
    f.setStyleStrategy(QFont::NoSubpixelAntialias);
    return f;
}

// One line of DrawText after prefix processing: the text and the index of the underlined
// character (-1 for none).
struct TextLine {
    QString text;
    int underline = -1;
};

TextLine stripPrefix(const QString& s, bool prefix) {
    TextLine line;
    if (!prefix) {
        line.text = s;
        return line;
    }
    line.text.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&')) {
            if (i + 1 < s.size()) {
                ++i;
                if (s[i] != QLatin1Char('&') && line.underline < 0) line.underline = static_cast<int>(line.text.size());
            } else {
                continue;
            }
        }
        line.text += s[i];
    }
    return line;
}

QString expandTabs(const QString& s, const QFontMetrics& fm, int tabChars) {
    if (!s.contains(QLatin1Char('\t'))) return s;
    const int tabWidth = std::max(1, fm.averageCharWidth() * tabChars);
    QString out;
    for (QChar c : s) {
        if (c == QLatin1Char('\t')) {
            const int w = fm.horizontalAdvance(out);
            const int target = (w / tabWidth + 1) * tabWidth;
            while (fm.horizontalAdvance(out) < target) out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out;
}

// Splits into lines at CR LF, LF or CR and, with word breaking, wraps at `width`.
std::vector<QString> layoutLines(const QString& text, uint32_t format, const QFontMetrics& fm, int width) {
    std::vector<QString> raw;
    if (format & DT_SINGLELINE) {
        raw.push_back(text);
    } else {
        QString cur;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                raw.push_back(cur);
                cur.clear();
                if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
            } else {
                cur += c;
            }
        }
        raw.push_back(cur);
    }
    if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE) || width <= 0) return raw;
    std::vector<QString> out;
    for (const QString& line : raw) {
        QString rest = line;
        while (!rest.isEmpty() && fm.horizontalAdvance(rest) > width) {
            // Break after the last space that keeps the line within the width; a word wider
            // than the line is broken at the width.
            qsizetype cut = -1;
            for (qsizetype i = 1; i <= rest.size(); ++i) {
                if (fm.horizontalAdvance(rest.left(i)) > width) break;
                if (i < rest.size() && rest[i] == QLatin1Char(' ')) cut = i;
                if (rest[i - 1].script() == QChar::Script_Han) cut = i;
            }
            if (cut <= 0) {
                cut = 1;
                while (cut < rest.size() && fm.horizontalAdvance(rest.left(cut + 1)) <= width) ++cut;
            }
            out.push_back(rest.left(cut));
            rest = rest.mid(cut);
            while (rest.startsWith(QLatin1Char(' '))) rest.remove(0, 1);
        }
        out.push_back(rest);
    }
    return out;
}

void drawRun(HDC hdc, QPainter& p, const QFontMetrics& fm, int x, int y, const TextLine& line) {
    const int w = fm.horizontalAdvance(line.text);
    if (hdc->bkMode == OPAQUE) p.fillRect(QRect(x, y, w, fm.height()), toQColor(hdc->bkColor));
    p.setPen(toQColor(hdc->textColor));
    p.drawText(x, y + fm.ascent(), line.text);
    if (line.underline >= 0 && line.underline < line.text.size()) {
        const int ux = x + fm.horizontalAdvance(line.text.left(line.underline));
        const int uw = fm.horizontalAdvance(line.text.mid(line.underline, 1));
        p.fillRect(QRect(ux, y + fm.ascent() + 1, uw, 1), toQColor(hdc->textColor));
    }
}

} // namespace

int32_t DrawTextEx(HDC hdc, const QString& text, RECT* rc, uint32_t format, const DRAWTEXTPARAMS* params) {
    if (!hdc || !rc) return 0;
    const QFont font = fontOf(hdc);
    const QFontMetrics fm(font);
    const int lineHeight = fm.height();
    const int leftMargin = params ? params->iLeftMargin : 0;
    const int rightMargin = params ? params->iRightMargin : 0;
    const int tabChars = params ? std::max(1, params->iTabLength) : 8;
    RECT box = *rc;
    box.left += leftMargin;
    box.right -= rightMargin;
    const int width = box.right - box.left;

    QString body = text;
    if (format & DT_EXPANDTABS) body = expandTabs(body, fm, tabChars);
    std::vector<QString> rawLines = layoutLines(body, format, fm, width);
    std::vector<TextLine> lines;
    lines.reserve(rawLines.size());
    for (const QString& l : rawLines) lines.push_back(stripPrefix(l, !(format & DT_NOPREFIX)));
    if ((format & DT_END_ELLIPSIS) && (format & DT_SINGLELINE) && !lines.empty()) {
        TextLine& l = lines.front();
        if (fm.horizontalAdvance(l.text) > width) {
            const QString dots = QStringLiteral("...");
            qsizetype n = l.text.size();
            while (n > 0 && fm.horizontalAdvance(l.text.left(n)) + fm.horizontalAdvance(dots) > width) --n;
            if (n > 0 && l.text[n - 1].isHighSurrogate()) --n;
            l.text = l.text.left(n) + dots;
            if (l.underline >= n) l.underline = -1;
        }
    }
    const int total = static_cast<int>(lines.size()) * lineHeight;
    int maxWidth = 0;
    for (const TextLine& l : lines) maxWidth = std::max(maxWidth, fm.horizontalAdvance(l.text));

    if (format & DT_CALCRECT) {
        if ((format & DT_SINGLELINE) || !(format & DT_WORDBREAK))
            rc->right = rc->left + maxWidth + leftMargin + rightMargin;
        rc->bottom = rc->top + total;
        return total;
    }

    int y = box.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) y = box.top + (box.bottom - box.top - lineHeight) / 2;
        else if (format & DT_BOTTOM) y = box.bottom - lineHeight;
    }
    const QRect clipRect(box.left, box.top, std::max(0, width), std::max(0, box.bottom - box.top));
    const QRect touched =
        (format & DT_NOCLIP) ? QRect(box.left - maxWidth, y, width + 2 * maxWidth + 1, total) : clipRect;
    hdc->paint(
        [&](QPainter& p) {
            p.setFont(font);
            p.setRenderHint(QPainter::TextAntialiasing, true);
            if (!(format & DT_NOCLIP)) {
                if (hdc->clip()) p.setClipRegion(*hdc->clip() & QRegion(clipRect));
                else p.setClipRect(clipRect);
            }
            int ly = y;
            for (const TextLine& l : lines) {
                const int lw = fm.horizontalAdvance(l.text);
                int x = box.left;
                if (format & DT_CENTER) x = box.left + (width - lw) / 2;
                else if (format & DT_RIGHT) x = box.right - lw;
                drawRun(hdc, p, fm, x, ly, l);
                ly += lineHeight;
            }
        },
        touched);
    if (params) { const_cast<DRAWTEXTPARAMS*>(params)->uiLengthDrawn = static_cast<uint32_t>(text.size()); }
    return (format & (DT_VCENTER | DT_BOTTOM)) && (format & DT_SINGLELINE) ? (y - box.top + total) : total;
}

int32_t DrawText(HDC hdc, const QString& text, RECT* rc, uint32_t format) {
    return DrawTextEx(hdc, text, rc, format, nullptr);
}

bool TextOut(HDC hdc, int32_t x, int32_t y, const QString& text) {
    if (!hdc) return false;
    const QFont font = fontOf(hdc);
    const QFontMetrics fm(font);
    const QRect area(x, y, fm.horizontalAdvance(text), fm.height());
    return hdc->paint(
        [&](QPainter& p) {
            p.setFont(font);
            drawRun(hdc, p, fm, x, y, TextLine{text, -1});
        },
        area);
}

bool ExtTextOut(HDC hdc, int32_t x, int32_t y, uint32_t options, const RECT* rc, const QString& text) {
    if (!hdc) return false;
    const QFont font = fontOf(hdc);
    const QFontMetrics fm(font);
    QRect area(x, y, fm.horizontalAdvance(text), fm.height());
    QRect box;
    if (rc) box = QRect(rc->left, rc->top, std::max(0, rc->right - rc->left), std::max(0, rc->bottom - rc->top));
    if (rc) area |= box;
    return hdc->paint(
        [&](QPainter& p) {
            p.setFont(font);
            if (rc && (options & ETO_CLIPPED)) {
                if (hdc->clip()) p.setClipRegion(*hdc->clip() & QRegion(box));
                else p.setClipRect(box);
            }
            if (rc && (options & ETO_OPAQUE)) p.fillRect(box, toQColor(hdc->bkColor));
            p.setPen(toQColor(hdc->textColor));
            if (hdc->bkMode == OPAQUE && !(options & ETO_OPAQUE))
                p.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), toQColor(hdc->bkColor));
            p.drawText(x, y + fm.ascent(), text);
        },
        area);
}

bool GetTextExtentPoint32(HDC hdc, const QString& text, SIZE* size) {
    if (!hdc || !size) return false;
    const QFontMetrics fm(fontOf(hdc));
    size->cx = fm.horizontalAdvance(text);
    size->cy = fm.height();
    return true;
}

bool GetTextMetrics(HDC hdc, TEXTMETRIC* tm) {
    if (!hdc || !tm || !hdc->font()) return false;
    *tm = hdc->font()->metrics();
    return true;
}

QString GetTextFace(HDC hdc) { return hdc && hdc->font() ? hdc->font()->logFont().lfFaceName : QString(); }

bool DrawIconEx(HDC hdc, int32_t x, int32_t y, HICON icon, int32_t cx, int32_t cy, uint32_t, HBRUSH flicker,
                uint32_t flags) {
    if (!hdc || !icon || icon->images().empty()) return false;
    QImage img = icon->imageFor(cx, cy);
    if (cx <= 0) cx = img.width();
    if (cy <= 0) cy = img.height();
    if (flicker) FillRect(hdc, {x, y, x + cx, y + cy}, flicker);
    if (!(flags & DI_IMAGE)) return true;
    return hdc->paint(
        [&](QPainter& p) {
            p.setRenderHint(QPainter::SmoothPixmapTransform, img.width() != cx || img.height() != cy);
            p.drawImage(QRect(x, y, cx, cy), img);
        },
        QRect(x, y, cx, cy));
}

} // namespace platform
