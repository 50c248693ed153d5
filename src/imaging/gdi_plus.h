#pragma once
// cGDIPlus: the platform image library of the imaging classes, built on Qt's image reader,
// image writer and painter. It loads any format Qt reads into a c32bppDIB and writes a
// c32bppDIB as PNG bytes. The startup tokens of the original interface are accepted and
// unused: Qt needs no startup.

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

class QImage;

namespace imaging {

class c32bppDIB;

class cGDIPlus {
public:
    // Whether the library can be used at all (Qt's image formats are always built in).
    static bool isAvailable();

    // Loads an image of any format Qt reads into `host` at its natural size. The Alpha flag is
    // set exactly when the image has an alpha channel; ImageType becomes 10. On failure the
    // host holds no image and the result is false.
    static bool LoadImageFromFile(const QString& fileName, c32bppDIB& host, uintptr_t GlobalToken = 0);
    static bool LoadImageFromBytes(std::span<const uint8_t> bytes, c32bppDIB& host, uintptr_t GlobalToken = 0);

    // PNG bytes of the host's pixels: to `FileName` when it is not empty, otherwise into
    // `outStream` (erased first). False without an image or when encoding fails.
    static bool SaveToPNG(const QString& FileName, std::vector<uint8_t>& outStream, const c32bppDIB& cHost,
                          uintptr_t GlobalToken = 0);

    // The host's pixels as a top-down premultiplied ARGB image (a deep copy).
    static QImage toQImage(const c32bppDIB& host);
    // Fills `host` from an image of any format at its size; false when it cannot be created.
    static bool fromQImage(const QImage& image, c32bppDIB& host);
};

} // namespace imaging
