#include "imaging/gdi_plus.h"

#include "imaging/dib_32bpp.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cstring>

namespace imaging {

namespace {

// Largest image the platform loader accepts, the same bound as the PNG decoder's.
constexpr int64_t kMaxPixels = 0x7FFFFFFF / 32;

bool loadFrom(QImageReader& reader, c32bppDIB& host) {
    host.DestroyDIB();
    const QSize size = reader.size();
    if (size.isValid() && int64_t(size.width()) * size.height() > kMaxPixels) return false;
    QImage image;
    if (!reader.read(&image) || image.isNull()) return false;
    return cGDIPlus::fromQImage(image, host);
}

} // namespace

bool cGDIPlus::isAvailable() { return true; }

bool cGDIPlus::LoadImageFromFile(const QString& fileName, c32bppDIB& host, uintptr_t) {
    QImageReader reader(fileName);
    reader.setAutoTransform(false);
    return loadFrom(reader, host);
}

bool cGDIPlus::LoadImageFromBytes(std::span<const uint8_t> bytes, c32bppDIB& host, uintptr_t) {
    // An in-memory copy of the bytes, as the stream the library reads from.
    QByteArray copy(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    return loadFrom(reader, host);
}

bool cGDIPlus::fromQImage(const QImage& image, c32bppDIB& host) {
    const QImage src = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (src.isNull() || !host.InitializeDIB(src.width(), src.height())) {
        host.DestroyDIB();
        return false;
    }
    // Format_ARGB32_Premultiplied holds B, G, R, A bytes on little-endian machines; rows are
    // flipped into the bottom-up order of the buffer.
    for (int y = 0; y < src.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uint8_t* d = host.row(y);
        for (int x = 0; x < src.width(); ++x, d += 4) {
            const QRgb p = line[x];
            d[0] = uint8_t(qBlue(p));
            d[1] = uint8_t(qGreen(p));
            d[2] = uint8_t(qRed(p));
            d[3] = uint8_t(qAlpha(p));
        }
    }
    host.SetAlphaFlag(image.hasAlphaChannel());
    host.SetImageType(10);
    return true;
}

QImage cGDIPlus::toQImage(const c32bppDIB& host) {
    if (!host.Handle()) return {};
    QImage image(host.Width(), host.Height(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    for (int y = 0; y < host.Height(); ++y) {
        const uint8_t* s = host.row(y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < host.Width(); ++x, s += 4) line[x] = qRgba(s[2], s[1], s[0], s[3]);
    }
    return image;
}

bool cGDIPlus::SaveToPNG(const QString& FileName, std::vector<uint8_t>& outStream, const c32bppDIB& cHost, uintptr_t) {
    const QImage image = toQImage(cHost);
    if (image.isNull()) return false;
    if (!FileName.isEmpty()) {
        QImageWriter writer(FileName, "png");
        return writer.write(image);
    }
    outStream.clear();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) return false;
    outStream.assign(bytes.begin(), bytes.end());
    return true;
}

} // namespace imaging
