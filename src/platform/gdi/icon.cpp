#include "icon.h"

namespace platform {

Icon::Icon(std::vector<QImage> images) : m_images(std::move(images)) {
    for (QImage& img : m_images) img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Icon::imageFor(int32_t cx, int32_t cy) const {
    if (m_images.empty()) return {};
    if (cx <= 0 || cy <= 0) return m_images.front();
    const QImage* best = nullptr;
    for (const QImage& img : m_images) {
        if (img.width() == cx && img.height() == cy) return img;
    }
    for (const QImage& img : m_images) {
        if (img.width() >= cx && (!best || img.width() < best->width())) best = &img;
    }
    if (!best) {
        for (const QImage& img : m_images) {
            if (!best || img.width() > best->width()) best = &img;
        }
    }
    return *best;
}

bool DestroyIcon(HICON icon) {
    if (!icon) return false;
    delete icon;
    return true;
}

} // namespace platform
