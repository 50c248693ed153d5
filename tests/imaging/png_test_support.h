#pragma once
// Helpers of the imaging tests (header-only: test programs are built from *_test.cpp files):
// a libpng reference decoder reduced to the decoder's rules, a builder for small handmade PNG
// files, and file reading.

#include "imaging/dib_32bpp.h"

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <png.h>
#include <string>
#include <vector>
#include <zlib.h>

namespace testsupport {

// An image as top-down premultiplied B, G, R, A bytes.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgra;
};

// Builds a PNG file chunk by chunk.
class PngBuilder {
public:
    PngBuilder();
    PngBuilder& ihdr(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, uint8_t interlace = 0);
    PngBuilder& chunk(const char* type, const std::vector<uint8_t>& data);
    // A chunk whose stored CRC is wrong.
    PngBuilder& badCrcChunk(const char* type, const std::vector<uint8_t>& data);
    // One IDAT with the zlib-compressed `raw` bytes (filter bytes included).
    PngBuilder& idat(const std::vector<uint8_t>& raw);
    PngBuilder& iend();
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

inline std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

namespace detail {

struct Reader {
    const std::vector<uint8_t>* data;
    size_t pos;
};

inline void readCallback(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (r->pos + n > r->data->size()) png_error(png, "read past end");
    std::memcpy(out, r->data->data() + r->pos, n);
    r->pos += n;
}

inline void quietWarning(png_structp, png_const_charp) {}

} // namespace detail

// Decodes with libpng: 16-bit samples cut to their high byte, tRNS turned into alpha, no gamma,
// then premultiplied by truncation. Empty when libpng rejects the file.
inline std::optional<Pixels> decodeWithLibpng(const std::vector<uint8_t>& file) {
    // Everything libpng writes lives on the heap behind a pointer that stays unchanged after
    // setjmp, so an error's longjmp leaves nothing indeterminate.
    struct State {
        detail::Reader reader;
        Pixels result;
        std::vector<uint8_t> rgba;
        std::vector<png_bytep> rows;
    };
    const auto st = std::make_unique<State>();
    st->reader = {&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, detail::quietWarning);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::nullopt;
    }
    png_set_read_fn(png, &st->reader, detail::readCallback);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    st->result.width = int(png_get_image_width(png, info));
    st->result.height = int(png_get_image_height(png, info));
    st->rgba.resize(size_t(st->result.width) * st->result.height * 4);
    st->rows.resize(size_t(st->result.height));
    for (int y = 0; y < st->result.height; ++y) st->rows[y] = st->rgba.data() + size_t(y) * st->result.width * 4;
    png_read_image(png, st->rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);

    Pixels result = std::move(st->result);
    const auto& rgba = st->rgba;
    result.bgra.assign(rgba.size(), 0);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        const unsigned a = rgba[i + 3];
        uint8_t* d = &result.bgra[i];
        if (a == 0) continue;
        d[0] = uint8_t(rgba[i + 2] * a / 255);
        d[1] = uint8_t(rgba[i + 1] * a / 255);
        d[2] = uint8_t(rgba[i + 0] * a / 255);
        d[3] = uint8_t(a);
    }
    return result;
}

// The pixels of a c32bppDIB, turned top-down.
inline Pixels pixelsOf(const imaging::c32bppDIB& dib) {
    Pixels p;
    p.width = dib.Width();
    p.height = dib.Height();
    p.bgra.resize(size_t(p.width) * p.height * 4);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(p.bgra.data() + size_t(y) * p.width * 4, dib.row(y), size_t(p.width) * 4);
    return p;
}

inline std::vector<uint8_t> zlibCompress(const std::vector<uint8_t>& raw) {
    uLongf len = compressBound(uLong(raw.size()));
    std::vector<uint8_t> out(len);
    compress2(out.data(), &len, raw.data(), uLong(raw.size()), 9);
    out.resize(len);
    return out;
}

namespace detail {

inline void putBE32(std::vector<uint8_t>& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}

} // namespace detail

inline PngBuilder::PngBuilder() {
    static const uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    m_bytes.assign(kSignature, kSignature + 8);
}

inline PngBuilder& PngBuilder::ihdr(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType,
                                    uint8_t interlace) {
    std::vector<uint8_t> d;
    detail::putBE32(d, width);
    detail::putBE32(d, height);
    d.insert(d.end(), {depth, colorType, 0, 0, interlace});
    return chunk("IHDR", d);
}

inline PngBuilder& PngBuilder::chunk(const char* type, const std::vector<uint8_t>& data) {
    detail::putBE32(m_bytes, uint32_t(data.size()));
    const size_t start = m_bytes.size();
    m_bytes.insert(m_bytes.end(), type, type + 4);
    m_bytes.insert(m_bytes.end(), data.begin(), data.end());
    detail::putBE32(m_bytes, uint32_t(crc32(0, m_bytes.data() + start, uInt(m_bytes.size() - start))));
    return *this;
}

inline PngBuilder& PngBuilder::badCrcChunk(const char* type, const std::vector<uint8_t>& data) {
    chunk(type, data);
    m_bytes.back() ^= 0x5A;
    return *this;
}

inline PngBuilder& PngBuilder::idat(const std::vector<uint8_t>& raw) { return chunk("IDAT", zlibCompress(raw)); }

inline PngBuilder& PngBuilder::iend() { return chunk("IEND", {}); }

} // namespace testsupport
