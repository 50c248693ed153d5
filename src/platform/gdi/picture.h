#pragma once
// Picture: the platform's picture object — a bitmap (opaque, 24-bit colour), an icon (several
// sizes with alpha) or a pointer (with its hot spot), or Nothing. Copies share their pixels.

#include "platform/window/messages.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <memory>
#include <vector>

namespace platform {

class Picture {
public:
    enum class Kind { None, Bitmap, Icon, Cursor };

    Picture() = default; // Nothing
    static Picture fromBitmap(const QImage& image);
    static Picture fromIcon(std::vector<QImage> images);
    static Picture fromCursor(const QImage& image, QPoint hotSpot);
    // A 24-bit (or 32-bit) uncompressed BMP file; Nothing for anything else.
    static Picture fromBmpData(const QByteArray& bmp);

    bool isNothing() const { return !m_data; }
    explicit operator bool() const { return !isNothing(); }
    Kind kind() const { return m_data ? m_data->kind : Kind::None; }
    int32_t Width() const;
    int32_t Height() const;
    // A number that identifies the picture's pixels (0 for Nothing); equal for copies.
    uintptr_t Handle() const { return reinterpret_cast<uintptr_t>(m_data.get()); }

    // The picture's pixels: RGB32 for bitmaps, premultiplied ARGB32 for icons and pointers
    // (an icon's first image).
    const QImage& image() const;
    const std::vector<QImage>& iconImages() const;
    QPoint hotSpot() const { return m_data ? m_data->hotSpot : QPoint(); }

    // A new device bitmap holding the picture (the caller owns it); null for Nothing.
    HBITMAP CreateBitmap() const;
    // A new icon object (caller owns); null unless the picture is an icon.
    HICON CreateIcon() const;
    // Draws the picture at (x, y) in its own size: bitmaps copied, icons blended.
    bool Render(HDC hdc, int32_t x, int32_t y) const;

    friend bool operator==(const Picture& a, const Picture& b) { return a.m_data == b.m_data; }

private:
    struct Data {
        Kind kind = Kind::None;
        QImage image;
        std::vector<QImage> icons;
        QPoint hotSpot;
    };
    std::shared_ptr<const Data> m_data;
};

} // namespace platform
