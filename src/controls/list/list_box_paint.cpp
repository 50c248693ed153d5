// ucListBox: geometry, painting, brushes, font and column measurement.
#include "list_box.h"

#include "play_icon.h"

#include "imaging/draw_text_ellipsis.h"
#include "platform/forms/number_rules.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/outline.h"
#include "platform/window/window_functions.h"

#include <QFileInfo>
#include <cmath>

namespace controls {

using namespace platform;

// --- Geometry ---------------------------------------------------------------------------

bool ucListBox::barVisible() const { return !m_bar->isHidden(); }

int32_t ucListBox::rowWidth() const {
    int32_t w = innerWidth();
    if (barVisible()) w -= m_bar->width();
    if (m_border) w -= 2 * m_borderWidth;
    return w;
}

int32_t ucListBox::computeViewHeight() const { return m_border ? innerHeight() - 2 * m_borderWidth : innerHeight(); }

// Rows are painted from TopOffset but hit-tested from BorderWidth, so with a border the hit
// bands sit one pixel above the painted rows.
int32_t ucListBox::rowAt(double y) const {
    const double r = Int((y - m_borderWidth) / m_itemHeight) + m_topIndex;
    if (!(r >= std::numeric_limits<int32_t>::min() && r <= std::numeric_limits<int32_t>::max())) return -1;
    return static_cast<int32_t>(r);
}

void ucListBox::CalcBottomIndex() {
    m_viewHeight = computeViewHeight();
    m_bottomIndex = static_cast<int32_t>(Int(double(m_viewHeight) / m_itemHeight)) + m_topIndex + 1;
}

// --- Painting ---------------------------------------------------------------------------

void ucListBox::FillArea(int32_t x, int32_t y, int32_t w, int32_t h, HBRUSH brush) {
    if (!brush || w <= 0 || h <= 0) return;
    FillRect(dc(), RECT{x, y, x + w, y + h}, brush);
}

void ucListBox::eraseToBackColor() { FillArea(0, 0, width(), height(), brush(BrushSlot::Back)); }

void ucListBox::drawBorder() {
    drawOutline(dc(), {0, 0, width(), height()}, TranslateColor(m_borderColor), m_borderWidth);
}

void ucListBox::RedrawAll() {
    HDC hdc = dc();
    const int32_t w = width();
    const int32_t h = height();
    if (m_items.empty()) {
        if (m_border)
            FillArea(m_borderWidth, m_borderWidth, w - 2 * m_borderWidth, h - 2 * m_borderWidth,
                     brush(BrushSlot::Back));
        else eraseToBackColor();
    }
    if (m_border) {
        // Clears the one-pixel strip above the first row, then outlines the control.
        drawLine(hdc, {1, 1}, {w - 1, 1}, TranslateColor(m_backColor), m_borderWidth);
        drawOutline(hdc, {0, 0, w, h}, TranslateColor(m_borderColor), m_borderWidth);
    }
    CalcBottomIndex();
    const int32_t last = m_bottomIndex;
    QPointer<ucListBox> self(this);
    // The rows go to the screen together when the last one is drawn. Shown row by row, a
    // view scrolled by one row would for a moment show the new first row twice: drawn at the
    // top and still standing, from the old view, in the row below.
    const bool presenting = updatesEnabled();
    setUpdatesEnabled(false);
    for (int32_t i = m_topIndex; i <= last; ++i) {
        DrawItem(i);
        // Other controls, timers and input run between rows; they may change the model or
        // start another repaint, and every row is checked against the model afresh.
        DoEvents();
        if (!self) return;
    }
    setUpdatesEnabled(presenting);
}

void ucListBox::DrawItem(int32_t i) {
    if (m_items.empty() || i < 0 || i > ListCount() - 1 || i < m_topIndex) return;
    m_viewHeight = computeViewHeight();
    const int32_t rw = rowWidth();
    const int32_t left = leftOffset();
    const int32_t top = topOffset();
    m_bottomIndex = static_cast<int32_t>(Int(double(m_viewHeight) / m_itemHeight)) + m_topIndex + 1;
    if (i > m_bottomIndex) return;

    ListItem& item = m_items[static_cast<size_t>(i)];
    if (m_autoCheckError) item.ItemError = item.URL.isEmpty() || fileMissing(item.URL);

    HDC hdc = dc();
    const int32_t rowTop = (i - m_topIndex) * m_itemHeight + top;
    uint32_t textColor;
    if (i == m_listIndex) {
        FillArea(left, rowTop, rw, m_itemHeight, brush(BrushSlot::ItemSelBk));
        textColor = m_itemSelTextColor;
    } else {
        // Stripes are counted from the first visible row, so they move with scrolling.
        FillArea(left, rowTop, rw, m_itemHeight,
                 brush((i - m_topIndex) % 2 == 0 ? BrushSlot::ItemBk1 : BrushSlot::ItemBk2));
        textColor = item.ItemError ? m_itemErrTextColor : i == m_playIndex ? m_itemPlyTextColor : m_itemNorTextColor;
    }
    SetTextColor(hdc, TranslateColor(textColor));
    SetBkMode(hdc, TRANSPARENT);

    auto cell = [&](const QString& text, int32_t x, int32_t w, uint32_t format) {
        SIZE size;
        GetTextExtentPoint32(hdc, text, &size);
        const int32_t y = rowTop + R((m_itemHeight - size.cy) / 2.0);
        imaging::DrawTextEllipsis(hdc, text, x, y, w, m_itemHeight, format);
    };
    const bool showIcon = i == m_playIndex && (m_style != 0 || !item.ItemError);
    if (showIcon) {
        if (m_playIcon) m_playIcon->draw(hdc, left + 2, rowTop + R((m_itemHeight - 12) / 2.0));
    } else {
        cell(QString::number(i + 1), left, m_numberColumnWidth, 1);
    }
    if (m_style == 0) {
        cell(item.Title, m_numberColumnWidth + left + 2,
             rw - m_numberColumnWidth - m_authorColumnWidth - m_timeColumnWidth, 0);
        // The right-hand columns are placed from RowWidth alone, without the left offset.
        cell(item.Author, rw - m_timeColumnWidth - m_authorColumnWidth, m_authorColumnWidth, 1);
        cell(item.StrTime, rw - m_timeColumnWidth, m_timeColumnWidth, 1);
    } else {
        cell(item.Title, m_numberColumnWidth + left + 5, rw - m_numberColumnWidth - 6, 0);
    }

    if (i >= ListCount() - 1 || i >= m_bottomIndex) {
        // The background below the last row starts TopOffset pixels above that row's
        // bottom edge, so its lowest lines take the background colour.
        const int32_t t = (i - m_topIndex + 1) * m_itemHeight;
        if (t < m_viewHeight) FillArea(left, t, rw, height() - m_borderWidth - t, brush(BrushSlot::Back));
    }
    if (m_border)
        drawLine(hdc, {0, height() - m_borderWidth}, {width(), height() - m_borderWidth}, TranslateColor(m_borderColor),
                 m_borderWidth);
}

void ucListBox::paintDesignMode() {
    HDC hdc = dc();
    eraseToBackColor();
    SetTextColor(hdc, TranslateColor(m_itemNorTextColor));
    SetBkMode(hdc, TRANSPARENT);
    const int32_t at = m_border ? m_borderWidth + 2 : 2;
    TextOut(hdc, at, at, objectName());
    if (m_border) drawOutline(hdc, {0, 0, width(), height()}, TranslateColor(m_borderColor), m_borderWidth);
    else DrawFocusRect(hdc, RECT{0, 0, width(), height()});
}

// --- Brushes, font, columns -------------------------------------------------------------

void ucListBox::recreateBrush(BrushSlot which) {
    const uint32_t colors[] = {m_itemBkColor1, m_itemBkColor2, m_itemSelBkColor, m_backColor};
    const auto slot = static_cast<size_t>(which);
    m_brushes[slot].reset(CreateSolidBrush(TranslateColor(colors[slot])));
}

void ucListBox::createBrushes() {
    for (BrushSlot slot : {BrushSlot::ItemBk1, BrushSlot::ItemBk2, BrushSlot::ItemSelBk, BrushSlot::Back})
        recreateBrush(slot);
}

void ucListBox::applyFont() {
    LOGFONT lf;
    lf.lfHeight = pointsToLogicalHeight(m_fontDesc.Size);
    lf.lfWeight = m_fontDesc.Bold ? std::max<int32_t>(FW_BOLD, m_fontDesc.Weight) : m_fontDesc.Weight;
    lf.lfItalic = m_fontDesc.Italic ? 1 : 0;
    lf.lfUnderline = m_fontDesc.Underline ? 1 : 0;
    lf.lfStrikeOut = m_fontDesc.Strikethrough ? 1 : 0;
    lf.lfCharSet = static_cast<uint8_t>(m_fontDesc.Charset);
    lf.lfFaceName = m_fontDesc.Name;
    HFONT font = CreateFontIndirect(lf);
    if (!font) return;
    SelectObject(dc(), font);
    m_font.reset(font);
}

int32_t ucListBox::textWidth(const QString& s) const {
    SIZE size;
    return GetTextExtentPoint32(dc(), s, &size) ? size.cx : 0;
}

void ucListBox::MeasureColumns(bool withMinimum) {
    m_numberColumnWidth = textWidth(QStringLiteral("1")) + 4;
    if (withMinimum) m_numberColumnWidth = std::max(m_numberColumnWidth, kMinNumberColumnWidth);
    m_authorColumnWidth = textWidth(QStringLiteral("AAAAAAAAAAA")) + 4;
    m_timeColumnWidth = textWidth(QStringLiteral("00:00:00")) + 4;
}

// Only a regular file that is not hidden counts; directories and hidden files do not, and
// neither does an address that is not a local path.
bool ucListBox::fileMissing(const QString& path) const {
    const QFileInfo fi(path);
    return !(fi.exists() && fi.isFile() && !fi.isHidden());
}

} // namespace controls
