#pragma once
// cPNGparser: decodes a PNG image (PNG, second edition: ISO/IEC 15948) into the premultiplied
// 32-bit pixel buffer of a c32bppDIB. A parser decodes one image and is then discarded.
//
// Every colour type, bit depth and both interlace methods are read. 16-bit samples are reduced
// to their high byte; there is no gamma or background handling. The image data is inflated by
// zlib and chunk CRCs are verified; with zlib switched off (setZlibAvailable(false), the
// behaviour of a machine without zlib) the built-in inflater runs and CRCs are not checked.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QFile;

namespace imaging {

class c32bppDIB;
class PngRowSource;

class cPNGparser {
public:
    // Decodes `streamLength` bytes of `Stream` from `streamOffset` on, read in place; a length of
    // 0 means up to the end. True when the bytes start with the PNG signature, whether or not
    // decoding then succeeded: the host holds an image exactly when it did.
    bool LoadStream(std::span<const uint8_t> Stream, c32bppDIB& dibClass, size_t streamOffset = 0,
                    size_t streamLength = 0, uintptr_t GlobalToken = 0);

    // The same for an open file, read from its start chunk by chunk. `FileName` is used only
    // when the platform image loader is asked.
    bool LoadFile(QFile& FileHandle, const QString& FileName, c32bppDIB& dibClass, uintptr_t GlobalToken = 0);

    // Whether zlib is used to inflate and to verify CRCs; on by default. Process-wide, because
    // images load through c32bppDIB, which creates its parser itself.
    static bool zlibAvailable();
    static void setZlibAvailable(bool available);

    // 0 no zlib, 1 "zlib.dll", 2 "zlib1.dll": with zlib linked in, always 2 while it is used.
    int ZlibKind() const { return zlibAvailable() ? 2 : 0; }

    // Upper bound on the pixels of an image: Width × 32 × Height must fit a signed 32-bit value.
    static constexpr int64_t kMaxPixels = 0x7FFFFFFF / 32;

private:
    struct FreeDeleter {
        void operator()(uint8_t* p) const;
    };
    using RawBuffer = std::unique_ptr<uint8_t, FreeDeleter>;
    class ChunkSource;
    class StreamSource;
    class FileSource;

    bool decode(ChunkSource& src, c32bppDIB& host);
    bool walkChunks(ChunkSource& src);
    bool checkCRC(std::span<const uint8_t> typeAndData, uint32_t storedCRC) const;
    bool processIHDR(std::span<const uint8_t> data);
    bool processPLTE(std::span<const uint8_t> data);
    void processTRNS(std::span<const uint8_t> data);
    void processIDAT(std::span<const uint8_t> data, size_t dataLength);
    bool checkIHDR() const;
    bool inflateBuiltIn(RawBuffer& raw, size_t& produced);
    void completePalette();
    void buildColourTable();
    bool unfilterAndConvert(PngRowSource& rows, c32bppDIB& host);
    bool convertRow(const uint8_t* src, uint8_t* dstRow, int x0, int dx, int count) const;

    unsigned bitsPerPixel() const;
    unsigned filterBytesPerPixel() const;
    size_t rowBytes(int64_t pixels) const;
    int64_t expectedRawSize() const;

    int32_t m_width = 0;
    int32_t m_height = 0;
    uint8_t m_bitDepth = 0;
    uint8_t m_colorType = 0;
    uint8_t m_interlace = 0;
    uint8_t m_compression = 0;
    uint8_t m_filterMethod = 0;
    std::vector<uint8_t> m_palette;
    std::vector<uint8_t> m_transBytes;
    int32_t m_transKey = -1;
    std::vector<uint8_t> m_imageData;
    bool m_zlib = true;
    // Premultiplied B, G, R, A of each index or grey value (colour types 0 and 3, depth <= 8)
    // and how many of the 256 entries exist.
    uint32_t m_colourTable[256] = {};
    unsigned m_colourEntries = 0;
};

} // namespace imaging
