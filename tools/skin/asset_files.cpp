#include "asset_files.h"

#include <zlib.h>

namespace skintool {

namespace {

void put16(QByteArray& b, uint32_t v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void put32be(QByteArray& b, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.append(char((v >> shift) & 0xFF));
}

void putChunk(QByteArray& out, const char* type, const QByteArray& data) {
    put32be(out, static_cast<uint32_t>(data.size()));
    QByteArray body(type, 4);
    body += data;
    out += body;
    put32be(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), body.size())));
}

} // namespace

QByteArray encodeBmp24(const QImage& image) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    const uint32_t w = img.width(), h = img.height();
    const uint32_t rowBytes = (w * 3 + 3) & ~3u;
    const uint32_t offset = 14 + 40;
    QByteArray b;
    b.reserve(offset + rowBytes * h);
    // File header.
    b.append("BM");
    put32(b, offset + rowBytes * h);
    put32(b, 0);
    put32(b, offset);
    // Info header: positive height = bottom-up rows; 2835 pixels per metre = 72 dpi.
    put32(b, 40);
    put32(b, w);
    put32(b, h);
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, rowBytes * h);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (uint32_t fileRow = 0; fileRow < h; ++fileRow) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(static_cast<int>(h - 1 - fileRow)));
        for (uint32_t x = 0; x < w; ++x) {
            b.append(char(qBlue(line[x])));
            b.append(char(qGreen(line[x])));
            b.append(char(qRed(line[x])));
        }
        for (uint32_t pad = w * 3; pad < rowBytes; ++pad) b.append('\0');
    }
    return b;
}

QByteArray encodePng(const QImage& image) {
    // Only the critical chunks (PNG second edition, 5.6): IHDR, PLTE for a palette, tRNS
    // for the palette's transparent entries, one IDAT, IEND. Every row uses filter type 0.
    const bool indexed = image.format() == QImage::Format_Indexed8;
    const QImage img = indexed ? image : image.convertToFormat(QImage::Format_ARGB32);
    const uint32_t w = img.width(), h = img.height();
    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    QByteArray ihdr;
    put32be(ihdr, w);
    put32be(ihdr, h);
    ihdr.append(char(8));               // bit depth
    ihdr.append(char(indexed ? 3 : 6)); // colour type: palette or RGBA
    ihdr.append(3, '\0');               // compression, filter, interlace: none
    putChunk(out, "IHDR", ihdr);
    if (indexed) {
        QByteArray plte, trns;
        bool anyTransparent = false;
        for (QRgb c : img.colorTable()) {
            plte.append(char(qRed(c)));
            plte.append(char(qGreen(c)));
            plte.append(char(qBlue(c)));
            trns.append(char(qAlpha(c)));
            anyTransparent = anyTransparent || qAlpha(c) != 255;
        }
        putChunk(out, "PLTE", plte);
        // tRNS may stop after the last entry that is not opaque.
        while (!trns.isEmpty() && uint8_t(trns.back()) == 255) trns.chop(1);
        if (anyTransparent) putChunk(out, "tRNS", trns);
    }
    QByteArray raw;
    for (uint32_t y = 0; y < h; ++y) {
        raw.append('\0');
        const uchar* line = img.constScanLine(static_cast<int>(y));
        if (indexed) {
            raw.append(reinterpret_cast<const char*>(line), w);
            continue;
        }
        const auto* px = reinterpret_cast<const QRgb*>(line);
        for (uint32_t x = 0; x < w; ++x) {
            raw.append(char(qRed(px[x])));
            raw.append(char(qGreen(px[x])));
            raw.append(char(qBlue(px[x])));
            raw.append(char(qAlpha(px[x])));
        }
    }
    uLongf packedSize = compressBound(raw.size());
    QByteArray packed(static_cast<qsizetype>(packedSize), '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.constData()),
                  raw.size(), 9) != Z_OK)
        return {};
    packed.resize(static_cast<qsizetype>(packedSize));
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

int pngColourType(const QByteArray& png) {
    // Signature (8 bytes), IHDR length and type (8), width and height (8), bit depth (1),
    // then the colour type (PNG second edition, 11.2.2).
    if (png.size() < 26 || !png.startsWith("\x89PNG\r\n\x1a\n") || png.mid(12, 4) != "IHDR") return -1;
    return static_cast<uint8_t>(png[25]);
}

} // namespace skintool
