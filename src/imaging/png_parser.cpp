#include "imaging/png_parser.h"

#include "imaging/dib_32bpp.h"
#include "imaging/gdi_plus.h"
#include "imaging/inflater.h"
#include "imaging/png_filters.h"
#include "imaging/png_row_source.h"

#include <QFile>
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <zlib.h>

namespace imaging {

// Pixels are moved as 32-bit words whose first byte in memory is the low one.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
// Files shorter than this are not offered to the decoder at all.
constexpr size_t kMinFileLength = 57;
// PNG second edition, 5.3: a chunk length is at most 2^31 - 1.
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

std::atomic<bool> s_zlibAvailable{true};

uint32_t readBE32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

bool isType(std::span<const uint8_t> type, const char* name) { return std::memcmp(type.data(), name, 4) == 0; }

// One Adam7 pass (PNG second edition, 8.2): row start, column start, row step, column step.
// Entry 7 is the pseudo-pass that stands for a non-interlaced image.
struct Pass {
    int rowStart, colStart, rowStep, colStep;
};
constexpr Pass kPasses[8] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                             {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}, {0, 0, 1, 1}};

int64_t passExtent(int64_t size, int start, int step) { return size / step + ((start < size % step) ? 1 : 0); }

uint32_t premultipliedBGRA(unsigned r, unsigned g, unsigned b, unsigned a) {
    if (a == 0) return 0;
    if (a != 255) {
        r = r * a / 255;
        g = g * a / 255;
        b = b * a / 255;
    }
    return b | (g << 8) | (r << 16) | (uint32_t(a) << 24);
}

inline void storeBGRA(uint8_t* d, uint32_t v) {
    d[0] = uint8_t(v);
    d[1] = uint8_t(v >> 8);
    d[2] = uint8_t(v >> 16);
    d[3] = uint8_t(v >> 24);
}

inline void storePixel(uint8_t* d, unsigned r, unsigned g, unsigned b, unsigned a) {
    if (a == 0) return; // the buffer is zero-filled and each pixel is written once
    if (a == 255) {
        d[0] = uint8_t(b);
        d[1] = uint8_t(g);
        d[2] = uint8_t(r);
        d[3] = 255;
        return;
    }
    d[0] = uint8_t(b * a / 255);
    d[1] = uint8_t(g * a / 255);
    d[2] = uint8_t(r * a / 255);
    d[3] = uint8_t(a);
}

} // namespace

// Where the chunks come from: a view over the caller's bytes, or a file read piece by piece.
class cPNGparser::ChunkSource {
public:
    virtual ~ChunkSource() = default;
    size_t length() const { return m_length; }
    // `n` bytes at `pos`, which the caller has checked to lie within the data.
    virtual std::span<const uint8_t> read(size_t pos, size_t n) = 0;

protected:
    size_t m_length = 0;
};

class cPNGparser::StreamSource : public ChunkSource {
public:
    explicit StreamSource(std::span<const uint8_t> bytes) : m_bytes(bytes) { m_length = bytes.size(); }
    std::span<const uint8_t> read(size_t pos, size_t n) override { return m_bytes.subspan(pos, n); }

private:
    std::span<const uint8_t> m_bytes;
};

class cPNGparser::FileSource : public ChunkSource {
public:
    explicit FileSource(QFile& file) : m_file(file) { m_length = size_t(std::max<qint64>(file.size(), 0)); }
    std::span<const uint8_t> read(size_t pos, size_t n) override {
        m_buffer.resize(n);
        if (!m_file.seek(qint64(pos)) || m_file.read(reinterpret_cast<char*>(m_buffer.data()), qint64(n)) != qint64(n))
            return {};
        return m_buffer;
    }

private:
    QFile& m_file;
    std::vector<uint8_t> m_buffer;
};

void cPNGparser::FreeDeleter::operator()(uint8_t* p) const { std::free(p); }

bool cPNGparser::zlibAvailable() { return s_zlibAvailable.load(std::memory_order_relaxed); }
void cPNGparser::setZlibAvailable(bool available) { s_zlibAvailable.store(available, std::memory_order_relaxed); }

bool cPNGparser::LoadStream(std::span<const uint8_t> Stream, c32bppDIB& dibClass, size_t streamOffset,
                            size_t streamLength, uintptr_t GlobalToken) {
    if (streamOffset > Stream.size()) return false;
    auto bytes = Stream.subspan(streamOffset);
    if (streamLength != 0 && streamLength < bytes.size()) bytes = bytes.first(streamLength);
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) return false;

    if (dibClass.isGDIplusEnabled() && cGDIPlus::LoadImageFromBytes(bytes, dibClass, GlobalToken)) return true;
    StreamSource src(bytes);
    decode(src, dibClass);
    return true;
}

bool cPNGparser::LoadFile(QFile& FileHandle, const QString& FileName, c32bppDIB& dibClass, uintptr_t GlobalToken) {
    if (!FileHandle.seek(0)) return false;
    const qint64 size = FileHandle.size();
    if (size < qint64(kMinFileLength)) return false;
    uint8_t head[58] = {};
    if (FileHandle.read(reinterpret_cast<char*>(head), 58) < 8) return false;
    if (std::memcmp(head, kSignature, 8) != 0) return false;

    if (dibClass.isGDIplusEnabled() && cGDIPlus::LoadImageFromFile(FileName, dibClass, GlobalToken)) return true;
    FileSource src(FileHandle);
    decode(src, dibClass);
    return true;
}

bool cPNGparser::decode(ChunkSource& src, c32bppDIB& host) {
    m_zlib = zlibAvailable();
    if (!walkChunks(src) || m_imageData.empty()) return false;
    if (!checkIHDR()) return false;
    completePalette();
    buildColourTable();
    if (!host.InitializeDIB(m_width, m_height)) return false;

    bool done = false;
    if (m_zlib) {
        // zlib inflates while the rows are converted. If it refuses the data, which is when
        // uncompress would have failed, the built-in inflater starts again on a clean image.
        ZlibRowSource rows(m_imageData);
        const bool converted = unfilterAndConvert(rows, host);
        if (!converted) {
            host.DestroyDIB();
            return false;
        }
        done = rows.finish();
        if (!done) host.EraseDIB();
    }
    if (!done) {
        RawBuffer raw;
        size_t produced = 0;
        if (!inflateBuiltIn(raw, produced)) {
            host.DestroyDIB();
            return false;
        }
        m_imageData = {};
        BufferRowSource rows(raw.get(), size_t(expectedRawSize()), produced);
        if (!unfilterAndConvert(rows, host)) {
            host.DestroyDIB();
            return false;
        }
    }
    m_imageData = {};
    const bool alpha = m_colorType == 4 || m_colorType == 6 || m_transKey != -1;
    host.SetAlphaFlag(alpha);
    host.SetImageType(10);
    return true;
}

// Walks the chunks from the end of the signature. No chunk order is enforced; the header
// fields are used only after the walk.
bool cPNGparser::walkChunks(ChunkSource& src) {
    const size_t length = src.length();
    size_t pos = 8;
    enum class IdatRun { Before, Inside, After } idatRun = IdatRun::Before;
    for (;;) {
        // Data that ends exactly at a chunk boundary has lost only its IEND; what was collected
        // is decoded.
        if (pos == length) return true;
        if (length - pos < 12) return false;
        const auto head = src.read(pos, 8);
        if (head.size() != 8) return false;
        const uint32_t len = readBE32(head.data());
        if (len > kMaxChunkLength || length - pos - 12 < len) return false;
        uint8_t type[4];
        std::memcpy(type, head.data() + 4, 4);
        const std::span<const uint8_t> t(type, 4);
        // The image data must be one run of IDAT chunks (PNG second edition, 5.6); data split
        // by another chunk is damaged, not merely out of order.
        if (isType(t, "IDAT")) {
            if (idatRun == IdatRun::After) return false;
            idatRun = IdatRun::Inside;
        } else if (idatRun == IdatRun::Inside) {
            idatRun = IdatRun::After;
        }

        if (len == 0) {
            if (isType(t, "IEND")) return true;
            pos += 12;
            continue;
        }
        const bool wanted = isType(t, "IHDR") || isType(t, "IDAT") || isType(t, "IEND") ||
                            (isType(t, "PLTE") && m_colorType != 0 && m_colorType != 4) ||
                            (isType(t, "tRNS") && m_colorType != 4 && m_colorType != 6);
        if (!wanted) {
            pos += size_t(len) + 12;
            continue;
        }
        if (isType(t, "IEND")) return true;

        // Type, data and stored CRC in one read.
        const auto chunk = src.read(pos + 4, size_t(len) + 8);
        if (chunk.size() != size_t(len) + 8) return false;
        const auto typeAndData = chunk.first(size_t(len) + 4);
        const auto data = chunk.subspan(4, len);
        const uint32_t storedCRC = m_zlib ? readBE32(chunk.data() + 4 + len) : 0;

        if (isType(t, "IHDR")) {
            if (!checkCRC(typeAndData, storedCRC) || !processIHDR(data)) return false;
        } else if (isType(t, "PLTE")) {
            if (!checkCRC(typeAndData, storedCRC) || !processPLTE(data)) return false;
        } else if (isType(t, "tRNS")) {
            if (!checkCRC(typeAndData, storedCRC)) return false;
            processTRNS(data);
        } else {
            if (!checkCRC(typeAndData, storedCRC)) return false;
            processIDAT(data, length);
        }
        pos += size_t(len) + 12;
    }
}

// A stored CRC of 0 is not checked, and a computed CRC of 0 never matches.
bool cPNGparser::checkCRC(std::span<const uint8_t> typeAndData, uint32_t storedCRC) const {
    if (!m_zlib || storedCRC == 0) return true;
    const uint32_t computed = uint32_t(::crc32(0L, typeAndData.data(), uInt(typeAndData.size())));
    return computed != 0 && computed == storedCRC;
}

// Reads the header fields and checks the part of them that the walk depends on: dimensions,
// methods, depth, colour type, interlace and the size limit, in that order.
bool cPNGparser::processIHDR(std::span<const uint8_t> data) {
    if (data.size() < 13) return false;
    m_width = int32_t(readBE32(data.data()));
    m_height = int32_t(readBE32(data.data() + 4));
    m_bitDepth = data[8];
    m_colorType = data[9];
    m_compression = data[10];
    m_filterMethod = data[11];
    m_interlace = data[12];
    if (m_width < 1 || m_height < 1) return false;
    if (m_compression != 0 || m_filterMethod != 0) return false;
    switch (m_bitDepth) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16: break;
    default: return false;
    }
    switch (m_colorType) {
    case 0:
    case 2:
    case 3:
    case 4:
    case 6: break;
    default: return false;
    }
    if (m_interlace > 1) return false;
    if (int64_t(m_width) * int64_t(m_height) > kMaxPixels) return false;
    return expectedRawSize() > 0;
}

bool cPNGparser::processPLTE(std::span<const uint8_t> data) {
    if (data.size() % 3 != 0) return false;
    m_palette.assign(data.begin(), data.end());
    return true;
}

// PNG second edition, 11.3.2.1. Only the low byte of a grey or colour key counts; palette
// entries without a tRNS value are opaque.
void cPNGparser::processTRNS(std::span<const uint8_t> data) {
    m_transBytes.assign(data.begin(), data.end());
    switch (m_colorType) {
    case 0:
        if (data.size() < 2) {
            m_transKey = -1;
            return;
        }
        m_transKey = data[1];
        break;
    case 2:
        if (data.size() < 6) {
            m_transKey = -1;
            return;
        }
        m_transKey = int32_t((uint32_t(data[1]) << 16) | (uint32_t(data[3]) << 8) | data[5]);
        break;
    case 3:
        if (m_transBytes.size() < 256) m_transBytes.resize(256, 255);
        m_transKey = 0;
        break;
    default: break;
    }
}

// The image data cannot be longer than the data it comes from, so one allocation of that
// size at the first IDAT holds it all without ever moving it.
void cPNGparser::processIDAT(std::span<const uint8_t> data, size_t dataLength) {
    if (m_imageData.capacity() == 0) m_imageData.reserve(dataLength);
    m_imageData.insert(m_imageData.end(), data.begin(), data.end());
}

// The header fields are known to be in range; what remains is the pairing of depth and colour
// type, which PNG second edition, table 11.1, restricts.
bool cPNGparser::checkIHDR() const {
    if (m_width < 1 || m_height < 1) return false;
    switch (m_colorType) {
    case 0: return true;
    // A palette image without a palette has no colours to show (PNG second edition, 11.2.3).
    case 3: return m_bitDepth <= 8 && !m_palette.empty();
    default: return m_bitDepth >= 8;
    }
}

unsigned cPNGparser::bitsPerPixel() const {
    switch (m_colorType) {
    case 2: return 3u * m_bitDepth;
    case 4: return 2u * m_bitDepth;
    case 6: return 4u * m_bitDepth;
    default: return m_bitDepth;
    }
}

unsigned cPNGparser::filterBytesPerPixel() const {
    switch (m_colorType) {
    case 0: return m_bitDepth == 16 ? 2 : 1;
    case 2: return m_bitDepth / 8u * 3;
    case 4: return m_bitDepth / 8u * 2;
    case 6: return m_bitDepth / 8u * 4;
    default: return 1;
    }
}

size_t cPNGparser::rowBytes(int64_t pixels) const { return size_t((int64_t(bitsPerPixel()) * pixels + 7) / 8); }

int64_t cPNGparser::expectedRawSize() const {
    if (m_interlace == 0) return int64_t(m_height) * int64_t(rowBytes(m_width) + 1);
    int64_t total = 0;
    for (int p = 0; p < 7; ++p) {
        const auto& ps = kPasses[p];
        const int64_t cols = passExtent(m_width, ps.colStart, ps.colStep);
        const int64_t rows = passExtent(m_height, ps.rowStart, ps.rowStep);
        total += rows * int64_t(rowBytes(cols) + 1);
    }
    return total;
}

// The built-in inflater into one buffer of the expected size (RFC 1951), used without zlib or
// when zlib refused the data.
bool cPNGparser::inflateBuiltIn(RawBuffer& raw, size_t& produced) {
    const size_t size = size_t(expectedRawSize());
    // calloc's pages are zero without being touched, so a large image whose data stops early
    // costs only what its data fills.
    raw.reset(static_cast<uint8_t*>(std::calloc(size, 1)));
    if (!raw) return false;
    Inflater inflater;
    const auto r = inflater.InflateZlib(m_imageData, std::span<uint8_t>(raw.get(), size));
    if (!r.ok) return false;
    produced = r.produced;
    if (m_zlib) {
        // zlib refused this stream, yet its checksum is still there to be checked: a stream
        // that only the built-in inflater reads must at least carry the right Adler-32
        // (RFC 1950, 2.2).
        if (m_imageData.size() - r.consumed < 4) return false;
        const uint32_t stored = readBE32(m_imageData.data() + r.consumed);
        if (uint32_t(::adler32(1L, raw.get(), uInt(produced))) != stored) return false;
    }
    return true;
}

// Grey images get a 256-entry palette: the grey ramp that maps each sample value of depths
// 1 to 8 onto 0..255.
void cPNGparser::completePalette() {
    if (m_colorType != 0) return;
    m_palette.assign(768, 0);
    if (m_bitDepth <= 8) {
        const unsigned top = (1u << m_bitDepth) - 1;
        const unsigned step = 255 / top;
        for (unsigned i = 1; i <= top; ++i) std::fill_n(m_palette.begin() + 3 * i, 3, uint8_t(i * step));
    }
}

// Premultiplied pixels of every index (colour type 3) or grey value (colour type 0) at depths
// up to 8, with the alpha the tRNS chunk gives them.
void cPNGparser::buildColourTable() {
    if ((m_colorType != 0 && m_colorType != 3) || m_bitDepth > 8) return;
    m_colourEntries = unsigned(std::min<size_t>(m_palette.size() / 3, 256));
    for (unsigned i = 0; i < m_colourEntries; ++i) {
        unsigned a = 255;
        if (m_colorType == 3 && m_transKey != -1 && i < m_transBytes.size()) a = m_transBytes[i];
        if (m_colorType == 0 && m_transKey != -1 && int32_t(i) == m_transKey) a = 0;
        m_colourTable[i] = premultipliedBGRA(m_palette[3 * i], m_palette[3 * i + 1], m_palette[3 * i + 2], a);
    }
}

// Unfilters and converts the rows pass by pass (the pseudo-pass 8 for a non-interlaced image),
// taking the inflated data from `rows` in batches. Rows the data never reached stay
// transparent black; a row that is only partly there is converted with zeros for the rest.
bool cPNGparser::unfilterAndConvert(PngRowSource& rows, c32bppDIB& host) {
    uint8_t* const bits = host.BitsPointer();
    const size_t stride = size_t(m_width) * 4;
    const unsigned bpp = filterBytesPerPixel();
    const size_t widest = rowBytes(m_width);
    const std::vector<uint8_t> zeros(widest, 0);
    std::vector<uint8_t> kept(widest, 0);

    const int first = m_interlace ? 0 : 7;
    const int last = m_interlace ? 6 : 7;
    for (int p = first; p <= last; ++p) {
        const auto& ps = kPasses[p];
        const int64_t cols = passExtent(m_width, ps.colStart, ps.colStep);
        const int64_t passRows = passExtent(m_height, ps.rowStart, ps.rowStep);
        if (cols == 0 || passRows == 0) continue;
        const size_t n = rowBytes(cols);
        const size_t len = n + 1;
        const int64_t perBatch = int64_t(std::max<size_t>(1, rows.batchLimit() / len));
        const uint8_t* prev = zeros.data();
        for (int64_t r = 0; r < passRows;) {
            const int64_t k = std::min(perBatch, passRows - r);
            const size_t want = size_t(k) * len;
            uint8_t* data = nullptr;
            const size_t got = rows.next(want, data);
            const int64_t present = int64_t((got + len - 1) / len);
            auto convert = [&](int64_t j, const uint8_t* pixels) {
                const int64_t y = ps.rowStart + (r + j) * ps.rowStep;
                return convertRow(pixels, bits + size_t(m_height - 1 - y) * stride, ps.colStart, ps.colStep, int(cols));
            };
            for (int64_t j = 0; j < present; ++j) {
                uint8_t* row = data + size_t(j) * len;
                const unsigned type = row[0];
                if (type > 4 && m_interlace) return false;
                // A Paeth row followed by another Paeth row is unfiltered together with it.
                if (type == 4 && j + 1 < present && row[len] == 4 &&
                    unfilterPngRowPair(row + 1, row + len + 1, prev, n, bpp)) {
                    if (!convert(j, row + 1)) return false;
                    ++j;
                    row += len;
                } else {
                    unfilterPngRow(type, row + 1, prev, n, bpp);
                }
                prev = row + 1;
                if (!convert(j, row + 1)) return false;
            }
            if (got < want) return true;
            r += k;
            // The next batch may reuse the memory of this one.
            if (r < passRows) {
                std::memcpy(kept.data(), prev, n);
                prev = kept.data();
            }
        }
    }
    return true;
}

// Converts `count` pixels of one unfiltered row into the destination row, pixel k going to
// column x0 + k × dx.
bool cPNGparser::convertRow(const uint8_t* s, uint8_t* dstRow, int x0, int dx, int count) const {
    uint8_t* d = dstRow + size_t(x0) * 4;
    const size_t step = size_t(dx) * 4;
    if (m_bitDepth <= 8 && (m_colorType == 0 || m_colorType == 3)) {
        const unsigned depth = m_bitDepth;
        const unsigned mask = (1u << depth) - 1;
        const unsigned entries = m_colourEntries;
        if (depth == 8) {
            for (int k = 0; k < count; ++k, d += step) {
                const unsigned v = s[k];
                if (v >= entries) return false;
                if (m_colourTable[v]) storeBGRA(d, m_colourTable[v]);
            }
            return true;
        }
        // Pixels are packed most significant bits first (PNG second edition, 7.2).
        int shift = 8 - int(depth);
        for (int k = 0; k < count; ++k, d += step) {
            const unsigned v = (*s >> shift) & mask;
            if (v >= entries) return false;
            if (m_colourTable[v]) storeBGRA(d, m_colourTable[v]);
            if (shift == 0) {
                ++s;
                shift = 8 - int(depth);
            } else {
                shift -= int(depth);
            }
        }
        return true;
    }

    const uint32_t key = uint32_t(m_transKey);
    const bool keyed = m_transKey != -1;
    if (m_bitDepth == 8) {
        switch (m_colorType) {
        case 2:
            if (!keyed) {
                // Four bytes at a time (R, G, B and the next pixel's R); the last pixel byte by
                // byte, so nothing past the row is read.
                int k = 0;
                for (; k + 1 < count; ++k, s += 3, d += step) {
                    uint32_t v;
                    std::memcpy(&v, s, 4);
                    v = ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu) | 0xFF000000u;
                    std::memcpy(d, &v, 4);
                }
                const uint32_t v = s[2] | (uint32_t(s[1]) << 8) | (uint32_t(s[0]) << 16) | 0xFF000000u;
                std::memcpy(d, &v, 4);
                return true;
            }
            for (int k = 0; k < count; ++k, s += 3, d += step) {
                const uint32_t rgb = (uint32_t(s[0]) << 16) | (uint32_t(s[1]) << 8) | s[2];
                storePixel(d, s[0], s[1], s[2], rgb == key ? 0 : 255);
            }
            return true;
        case 4:
            for (int k = 0; k < count; ++k, s += 2, d += step) storePixel(d, s[0], s[0], s[0], s[1]);
            return true;
        case 6:
            for (int k = 0; k < count; ++k, s += 4, d += step) {
                if (s[3] == 255) {
                    // Opaque: R and B change places, nothing else.
                    uint32_t v;
                    std::memcpy(&v, s, 4);
                    v = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
                    std::memcpy(d, &v, 4);
                } else {
                    storePixel(d, s[0], s[1], s[2], s[3]);
                }
            }
            return true;
        default: return false;
        }
    }

    // 16 bits: the high (first) byte of each sample.
    const uint8_t* t = m_transBytes.data();
    const size_t tn = m_transBytes.size();
    switch (m_colorType) {
    case 0:
        for (int k = 0; k < count; ++k, s += 2, d += step) {
            const bool clear = keyed && tn >= 1 && s[0] == t[0];
            storePixel(d, s[0], s[0], s[0], clear ? 0 : 255);
        }
        return true;
    case 2:
        for (int k = 0; k < count; ++k, s += 6, d += step) {
            const bool clear = keyed && tn >= 6 && s[0] == t[0] && s[2] == t[2] && s[4] == t[4];
            storePixel(d, s[0], s[2], s[4], clear ? 0 : 255);
        }
        return true;
    case 4:
        for (int k = 0; k < count; ++k, s += 4, d += step) storePixel(d, s[0], s[0], s[0], s[2]);
        return true;
    case 6:
        for (int k = 0; k < count; ++k, s += 8, d += step) storePixel(d, s[0], s[2], s[4], s[6]);
        return true;
    default: return false;
    }
}

} // namespace imaging
