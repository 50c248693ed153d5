#include "sheet.h"

#include <QPainter>
#include <algorithm>

namespace skintool {

Sheet::Sheet() : m_canvas(kWidth, 4000, QImage::Format_RGB32) { m_canvas.fill(kBack); }

void Sheet::heading(const QString& text) {
    newRow();
    write(QPoint(kMargin, m_y + 14), text, true);
    m_y += 26;
}

void Sheet::newRow() {
    m_y += m_rowHeight + kMargin;
    m_x = kMargin;
    m_rowHeight = 0;
}

void Sheet::add(const QString& label, const QImage& image, int w) {
    w = std::max(w, image.width());
    if (m_x > kMargin && m_x + w > kWidth - kMargin) newRow();
    const QPoint at(m_x, m_y + kLabelHeight);
    write(at + QPoint(0, -5), label, false);
    QPainter(&m_canvas).drawImage(at, image);
    m_x += w + kMargin;
    m_rowHeight = std::max(m_rowHeight, image.height() + kLabelHeight);
}

QImage Sheet::image() const { return m_canvas.copy(0, 0, kWidth, m_y + m_rowHeight + kMargin); }

void Sheet::write(QPoint at, const QString& text, bool heading) {
    QPainter p(&m_canvas);
    p.setPen(QColor::fromRgb(0xFFEEEEEE));
    QFont f = p.font();
    f.setPixelSize(heading ? 15 : 12);
    f.setBold(heading);
    p.setFont(f);
    p.drawText(at, text);
}

} // namespace skintool
