#pragma once
// Icons (images of several sizes with alpha) and pointer shapes.

#include "platform/window/messages.h"

#include <QCursor>
#include <QImage>
#include <vector>

namespace platform {

class Icon {
public:
    explicit Icon(std::vector<QImage> images);
    const std::vector<QImage>& images() const { return m_images; }
    // The image closest to cx x cy (exact size first, then the next larger, then the largest).
    QImage imageFor(int32_t cx, int32_t cy) const;

private:
    std::vector<QImage> m_images;
};

class Cursor {
public:
    explicit Cursor(QCursor c) : m_cursor(std::move(c)) {}
    const QCursor& qcursor() const { return m_cursor; }

private:
    QCursor m_cursor;
};

bool DestroyIcon(HICON icon);

} // namespace platform
