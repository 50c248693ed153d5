#include "picture.h"

#include "bitmap.h"
#include "dc.h"
#include "icon.h"

#include <QPainter>
#include <cstring>

namespace platform {

namespace {

uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

} // namespace

Picture Picture::fromBitmap(const QImage& image) {
    if (image.isNull()) return {};
    auto d = std::make_shared<Data>();
    d->kind = Kind::Bitmap;
    d->image = image.convertToFormat(QImage::Format_RGB32);
    Picture p;
    p.m_data = std::move(d);
    return p;
}

Picture Picture::fromIcon(std::vector<QImage> images) {
    if (images.empty()) return {};
    auto d = std::make_shared<Data>();
    d->kind = Kind::Icon;
    for (QImage& img : images) img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    d->image = images.front();
    d->icons = std::move(images);
    Picture p;
    p.m_data = std::move(d);
    return p;
}

Picture Picture::fromCursor(const QImage& image, QPoint hotSpot) {
    if (image.isNull()) return {};
    auto d = std::make_shared<Data>();
    d->kind = Kind::Cursor;
    d->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    d->icons = {d->image};
    d->hotSpot = hotSpot;
    Picture p;
    p.m_data = std::move(d);
    return p;
}

Picture Picture::fromBmpData(const QByteArray& bmp) {
    const auto* b = reinterpret_cast<const uint8_t*>(bmp.constData());
    const int64_t size = bmp.size();
    if (size < 54 || b[0] != 'B' || b[1] != 'M') return {};
    const uint32_t offset = le32(b + 10);
    const uint32_t headerSize = le32(b + 14);
    if (headerSize < 40) return {};
    const int32_t width = static_cast<int32_t>(le32(b + 18));
    const int32_t rawHeight = static_cast<int32_t>(le32(b + 22));
    const uint16_t bits = le16(b + 28);
    const uint32_t compression = le32(b + 30);
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || compression != 0) return {};
    if (bits != 24 && bits != 32) return {};
    const int32_t height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (width > Bitmap::kMaxSide || height > Bitmap::kMaxSide) return {};
    const int64_t rowBytes = ((int64_t(bits) * width + 31) / 32) * 4;
    if (int64_t(offset) + rowBytes * height > size) return {};
    QImage img(width, height, QImage::Format_RGB32);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t fileRow = rawHeight > 0 ? height - 1 - y : y;
        const uint8_t* src = b + offset + fileRow * rowBytes;
        auto* dst = reinterpret_cast<uint32_t*>(img.scanLine(y));
        const int step = bits / 8;
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = src + x * step;
            dst[x] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
        }
    }
    return fromBitmap(img);
}

int32_t Picture::Width() const { return m_data ? m_data->image.width() : 0; }
int32_t Picture::Height() const { return m_data ? m_data->image.height() : 0; }

const QImage& Picture::image() const {
    static const QImage empty;
    return m_data ? m_data->image : empty;
}

const std::vector<QImage>& Picture::iconImages() const {
    static const std::vector<QImage> empty;
    return m_data ? m_data->icons : empty;
}

HBITMAP Picture::CreateBitmap() const {
    if (!m_data) return nullptr;
    const QImage& img = m_data->image;
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, img.width(), img.height());
    if (!bmp) return nullptr;
    const QImage src =
        img.convertToFormat(m_data->kind == Kind::Bitmap ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < src.height(); ++y) {
        const auto* s = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
        uint32_t* d = bmp->row(y);
        for (int x = 0; x < src.width(); ++x) d[x] = s[x] | 0xFF000000u;
    }
    return bmp;
}

HICON Picture::CreateIcon() const {
    if (!m_data || m_data->kind == Kind::Bitmap) return nullptr;
    return new Icon(m_data->icons);
}

bool Picture::Render(HDC hdc, int32_t x, int32_t y) const {
    if (!m_data || !hdc) return false;
    if (m_data->kind == Kind::Bitmap) {
        HBITMAP bmp = CreateBitmap();
        HDC mem = CreateCompatibleDC(hdc);
        HGDIOBJ old = SelectObject(mem, bmp);
        const bool ok = BitBlt(hdc, x, y, Width(), Height(), mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(bmp);
        return ok;
    }
    const QImage img = m_data->image;
    return hdc->paint([&](QPainter& p) { p.drawImage(x, y, img); }, QRect(x, y, img.width(), img.height()));
}

} // namespace platform
