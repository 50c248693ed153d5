#pragma once
// File formats of the generated assets.

#include <QByteArray>
#include <QImage>

namespace skintool {

// A 24-bit uncompressed BMP (40-byte info header), rows bottom-up and padded to 4 bytes.
QByteArray encodeBmp24(const QImage& image);
// A non-interlaced 8-bit PNG: a palette (colour type 3) for an indexed image, RGBA (colour
// type 6, straight alpha) for anything else.
QByteArray encodePng(const QImage& image);
// The colour type byte of a PNG's IHDR chunk, -1 when the data is no PNG.
int pngColourType(const QByteArray& png);

} // namespace skintool
