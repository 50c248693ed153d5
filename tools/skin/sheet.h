#pragma once
// Sheet: the page of the skin sheet — images in cells with a label line above each, laid
// out left to right in rows 1900 pixels wide, under bold headings.

#include <QImage>
#include <QString>

namespace skintool {

class Sheet {
public:
    static constexpr QRgb kBack = 0xFF5A5A5F;

    Sheet();

    void heading(const QString& text);
    void newRow();
    // Places `image` in a cell at least `w` wide, in the current row when it still fits.
    void add(const QString& label, const QImage& image, int w = 0);
    // The page down to the last row.
    QImage image() const;

private:
    void write(QPoint at, const QString& text, bool heading);

    static constexpr int kWidth = 1900, kMargin = 16, kLabelHeight = 18;
    QImage m_canvas;
    int m_x = kMargin, m_y = 0, m_rowHeight = 0;
};

} // namespace skintool
