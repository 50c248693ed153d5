#include "play_icon.h"

#include "imaging/skin_catalogue.h"
#include "platform/bitmap.h"
#include "platform/runtime_error.h"

namespace controls {

using namespace platform;

bool PlayIcon::load() {
    m_image = QImage();
    QByteArray data;
    try {
        data = imaging::LoadResData(QStringLiteral("PLAY"), QStringLiteral("PNGICON"));
    } catch (const RuntimeError&) {
        return false;
    }
    QImage img;
    if (!img.loadFromData(data, "PNG")) return false;
    img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (img.width() != kSize || img.height() != kSize)
        img = img.scaled(kSize, kSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_image = img;
    return true;
}

void PlayIcon::draw(HDC hdc, int32_t x, int32_t y) const {
    if (!hdc || m_image.isNull()) return;
    uint8_t* bits = nullptr;
    HBITMAP dib = CreateDIBSection32(kSize, -kSize, &bits);
    if (!dib) return;
    for (int32_t row = 0; row < kSize; ++row) {
        const auto* src = reinterpret_cast<const uint32_t*>(m_image.constScanLine(row));
        std::copy(src, src + kSize, dib->row(row));
    }
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, dib);
    BLENDFUNCTION bf;
    bf.SourceConstantAlpha = 255;
    bf.AlphaFormat = AC_SRC_ALPHA;
    AlphaBlend(hdc, x, y, kSize, kSize, mem, 0, 0, kSize, kSize, bf);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
}

} // namespace controls
