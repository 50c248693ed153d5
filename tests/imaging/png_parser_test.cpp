// cPNGparser on handmade files: pixel conversion, transparency, interlacing, CRCs, the
// inflater fallback and the failure outcomes.
#include "imaging/dib_32bpp.h"
#include "imaging/png_parser.h"
#include "png_test_support.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace imaging;
using testsupport::PngBuilder;

namespace {

using Bytes = std::vector<uint8_t>;

struct Outcome {
    bool isPng = false;
    bool hasImage = false;
    bool alpha = false;
    testsupport::Pixels pixels;
};

Outcome decode(const Bytes& file, bool zlib = true) {
    cPNGparser::setZlibAvailable(zlib);
    c32bppDIB dib;
    dib.setIsGDIplusEnabled(false);
    cPNGparser parser;
    Outcome o;
    o.isPng = parser.LoadStream(file, dib, 0, file.size());
    cPNGparser::setZlibAvailable(true);
    o.hasImage = dib.Handle() != nullptr;
    o.alpha = dib.Alpha();
    if (o.hasImage) {
        EXPECT_EQ(dib.ImageType(), 10);
        o.pixels = testsupport::pixelsOf(dib);
    }
    return o;
}

// One image of a single IDAT: header, optional extra chunks before the data, raw rows.
Bytes png(uint32_t w, uint32_t h, uint8_t depth, uint8_t colorType, const Bytes& raw,
          const std::vector<std::pair<std::string, Bytes>>& extra = {}, uint8_t interlace = 0) {
    PngBuilder b;
    b.ihdr(w, h, depth, colorType, interlace);
    for (const auto& [type, data] : extra) b.chunk(type.c_str(), data);
    b.idat(raw).iend();
    return b.bytes();
}

// Adam7 (PNG second edition, 8.2) of 8-bit RGBA pixels, every row with filter type None.
Bytes interlaceRGBA(int w, int h, const Bytes& pixels) {
    static const int passes[7][4] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                                     {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};
    Bytes raw;
    for (const auto& p : passes) {
        if (p[1] >= w || p[0] >= h) continue;
        for (int y = p[0]; y < h; y += p[2]) {
            raw.push_back(0);
            for (int x = p[1]; x < w; x += p[3])
                raw.insert(raw.end(), pixels.begin() + (y * w + x) * 4, pixels.begin() + (y * w + x) * 4 + 4);
        }
    }
    return raw;
}

} // namespace

// Samples of each colour type and depth become premultiplied B, G, R, A by truncation.
TEST(PngParser, PixelConversion_ByColourTypeAndDepth) {
    const struct {
        const char* name;
        uint32_t w;
        uint8_t depth, colorType;
        Bytes raw;
        Bytes bgra;
        bool alpha;
    } cases[] = {
        {"RGBA 8: 128 alpha premultiplies by truncation", 1, 8, 6, {0, 200, 100, 50, 128}, {25, 50, 100, 128}, true},
        {"RGBA 8: halves are truncated, not rounded", 1, 8, 6, {0, 254, 1, 3, 128}, {1, 0, 127, 128}, true},
        {"RGBA 8: fully transparent is all zero", 1, 8, 6, {0, 200, 100, 50, 0}, {0, 0, 0, 0}, true},
        {"RGBA 8: opaque copies", 1, 8, 6, {0, 1, 2, 3, 255}, {3, 2, 1, 255}, true},
        {"RGB 16: high bytes only", 1, 16, 2, {0, 18, 0xFF, 52, 0x01, 86, 0x80}, {86, 52, 18, 255}, false},
        {"RGBA 16: high bytes, alpha too", 1, 16, 6, {0, 200, 9, 100, 9, 50, 9, 128, 9}, {25, 50, 100, 128}, true},
        {"grey 2: ramp 0, 85, 170, 255",
         4,
         2,
         0,
         {0, 0b00011011},
         {0, 0, 0, 255, 85, 85, 85, 255, 170, 170, 170, 255, 255, 255, 255, 255},
         false},
        {"grey 1: black and white", 2, 1, 0, {0, 0b01000000}, {0, 0, 0, 255, 255, 255, 255, 255}, false},
        {"grey 4: 15 is white", 2, 4, 0, {0, 0x1F}, {17, 17, 17, 255, 255, 255, 255, 255}, false},
        {"grey 16: high byte", 1, 16, 0, {0, 0x7F, 0xFF}, {0x7F, 0x7F, 0x7F, 255}, false},
        {"grey+alpha 8", 1, 8, 4, {0, 200, 51}, {40, 40, 40, 51}, true},
        {"grey+alpha 16", 1, 16, 4, {0, 200, 1, 51, 2}, {40, 40, 40, 51}, true},
        {"RGB 8", 2, 8, 2, {0, 10, 20, 30, 40, 50, 60}, {30, 20, 10, 255, 60, 50, 40, 255}, false},
    };
    for (const auto& c : cases) {
        const auto o = decode(png(c.w, 1, c.depth, c.colorType, c.raw));
        ASSERT_TRUE(o.hasImage) << c.name;
        EXPECT_EQ(o.pixels.bgra, c.bgra) << c.name;
        EXPECT_EQ(o.alpha, c.alpha) << c.name;
    }
}

// Palette images take colours from PLTE and alpha from tRNS; entries tRNS leaves out are opaque.
TEST(PngParser, Palette_ShortTrnsLeavesTheRestOpaque) {
    const Bytes plte = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    const Bytes raw = {0, 0, 1, 2};
    const auto plain = decode(png(3, 1, 8, 3, raw, {{"PLTE", plte}}));
    ASSERT_TRUE(plain.hasImage);
    EXPECT_EQ(plain.pixels.bgra, (Bytes{0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255}));
    EXPECT_FALSE(plain.alpha);

    const auto keyed = decode(png(3, 1, 8, 3, raw, {{"PLTE", plte}, {"tRNS", {0}}}));
    ASSERT_TRUE(keyed.hasImage);
    EXPECT_EQ(keyed.pixels.bgra, (Bytes{0, 0, 0, 0, 0, 255, 0, 255, 255, 0, 0, 255}));
    EXPECT_TRUE(keyed.alpha);

    const auto half = decode(png(3, 1, 8, 3, raw, {{"PLTE", plte}, {"tRNS", {255, 128}}}));
    EXPECT_EQ(half.pixels.bgra, (Bytes{0, 0, 255, 255, 0, 128, 0, 128, 255, 0, 0, 255}));
}

// A tRNS colour key clears exactly the matching pixels and turns the Alpha flag on.
TEST(PngParser, ColourKeys_ClearExactlyTheMatchingPixels) {
    const Bytes rgb = {0, 1, 2, 3, 4, 5, 6, 1, 2, 3};
    const auto keyed = decode(png(3, 1, 8, 2, rgb, {{"tRNS", {0, 1, 0, 2, 0, 3}}}));
    ASSERT_TRUE(keyed.hasImage);
    EXPECT_EQ(keyed.pixels.bgra, (Bytes{0, 0, 0, 0, 6, 5, 4, 255, 0, 0, 0, 0}));
    EXPECT_TRUE(keyed.alpha);

    const auto unkeyed = decode(png(3, 1, 8, 2, rgb));
    EXPECT_EQ(unkeyed.pixels.bgra, (Bytes{3, 2, 1, 255, 6, 5, 4, 255, 3, 2, 1, 255}));
    EXPECT_FALSE(unkeyed.alpha);

    // Grey at depth 2: the key is the sample value.
    const auto grey = decode(png(4, 1, 2, 0, {0, 0b00011011}, {{"tRNS", {0, 2}}}));
    EXPECT_EQ(grey.pixels.bgra, (Bytes{0, 0, 0, 255, 85, 85, 85, 255, 0, 0, 0, 0, 255, 255, 255, 255}));
    EXPECT_TRUE(grey.alpha);

    // 16-bit RGB: the high bytes of the samples are compared with bytes 0, 2 and 4 of tRNS.
    const auto deep = decode(png(2, 1, 16, 2, {0, 1, 0, 2, 0, 3, 0, 1, 9, 2, 9, 3, 9}, {{"tRNS", {1, 7, 2, 7, 3, 7}}}));
    EXPECT_EQ(deep.pixels.bgra, (Bytes(8, 0)));

    // Too short for its colour type: ignored, no transparency.
    const auto shortKey = decode(png(3, 1, 8, 2, rgb, {{"tRNS", {0, 1, 0, 2}}}));
    EXPECT_EQ(shortKey.pixels.bgra, unkeyed.pixels.bgra);
    EXPECT_FALSE(shortKey.alpha);
}

// Interlaced images decode to the same pixels as their non-interlaced forms, including sizes
// where some passes are empty.
TEST(PngParser, Adam7_EqualsNonInterlaced) {
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {5, 3}, {3, 5}, {8, 8}, {9, 17}, {2, 1}}) {
        Bytes pixels(size_t(w) * h * 4);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 37 + 11);
        Bytes flat;
        for (int y = 0; y < h; ++y) {
            flat.push_back(0);
            flat.insert(flat.end(), pixels.begin() + y * w * 4, pixels.begin() + (y + 1) * w * 4);
        }
        const auto plain = decode(png(w, h, 8, 6, flat));
        const auto adam7 = decode(png(w, h, 8, 6, interlaceRGBA(w, h, pixels), {}, 1));
        ASSERT_TRUE(plain.hasImage);
        ASSERT_TRUE(adam7.hasImage) << w << "x" << h;
        EXPECT_EQ(adam7.pixels.bgra, plain.pixels.bgra) << w << "x" << h;
    }
}

// Chunk CRCs are checked only while zlib is used; a stored CRC of zero is never checked.
TEST(PngParser, ChunkCrc_CheckedOnlyWithZlib) {
    const Bytes raw = {0, 10, 20, 30};
    PngBuilder bad;
    bad.ihdr(1, 1, 8, 2).badCrcChunk("IDAT", testsupport::zlibCompress(raw)).iend();
    EXPECT_TRUE(decode(bad.bytes(), false).hasImage);
    const auto withZlib = decode(bad.bytes(), true);
    EXPECT_TRUE(withZlib.isPng);
    EXPECT_FALSE(withZlib.hasImage);

    Bytes zeroCrc = png(1, 1, 8, 2, raw);
    // The IHDR's CRC sits at bytes 29..32.
    std::fill(zeroCrc.begin() + 29, zeroCrc.begin() + 33, 0);
    EXPECT_TRUE(decode(zeroCrc, true).hasImage);
}

// Ancillary chunks such as gAMA, text and unknown ones do not change the pixels.
TEST(PngParser, AncillaryChunks_HaveNoEffect) {
    const Bytes raw = {0, 200, 100, 50, 128, 1, 2, 3, 4};
    const auto plain = decode(png(2, 1, 8, 6, raw));
    const auto withChunks = decode(png(
        2, 1, 8, 6, raw,
        {{"gAMA", {0, 0, 0x27, 0x10}}, {"tEXt", {'a', 0, 'b'}}, {"bKGD", {0, 9, 0, 9, 0, 9}}, {"zzZz", {1, 2, 3}}}));
    ASSERT_TRUE(withChunks.hasImage);
    EXPECT_EQ(withChunks.pixels.bgra, plain.pixels.bgra);
}

// When zlib refuses the image data the built-in inflater decodes it, but with zlib present
// the stream's Adler-32 must still match.
TEST(PngParser, ZlibRefusal_FallsBackToTheBuiltInInflater) {
    // A zlib stream whose only block uses distance code 30, which zlib rejects: a stored block
    // of 32769 + 3 bytes, then one match of 3 bytes from 32769 back.
    const uint32_t w = 32775 / 3; // RGB row bytes 32775, with its filter byte 32776
    Bytes rawRow(32776, 0);
    for (size_t i = 1; i < rawRow.size(); ++i) rawRow[i] = uint8_t(i % 251);
    rawRow[32773] = rawRow[4];
    rawRow[32774] = rawRow[5];
    rawRow[32775] = rawRow[6];
    Bytes z = {0x78, 0x01};
    const uint16_t len = 32773;
    z.insert(z.end(), {0x00, uint8_t(len), uint8_t(len >> 8), uint8_t(~len), uint8_t(~len >> 8)});
    z.insert(z.end(), rawRow.begin(), rawRow.begin() + len);
    // Fixed block: BFINAL 1, BTYPE 01, symbol 257 (0000001), distance code 30 (11110), 14 bits 0,
    // then 256 (0000000): bits least significant first.
    uint64_t bits = 0;
    unsigned n = 0;
    auto put = [&](uint32_t v, unsigned count) {
        bits |= uint64_t(v) << n;
        n += count;
    };
    auto code = [&](uint32_t c, unsigned count) {
        for (unsigned i = count; i-- > 0;) put((c >> i) & 1, 1);
    };
    put(1, 1);
    put(1, 2);
    code(1, 7);
    code(30, 5);
    put(0, 14);
    code(0, 7);
    for (unsigned i = 0; i < n; i += 8) z.push_back(uint8_t(bits >> i));
    const uint32_t adler = uint32_t(adler32(1, rawRow.data(), uInt(rawRow.size())));
    for (int s = 24; s >= 0; s -= 8) z.push_back(uint8_t(adler >> s));

    auto file = [&](const Bytes& data) {
        PngBuilder b;
        b.ihdr(w, 1, 8, 2).chunk("IDAT", data).iend();
        return b.bytes();
    };
    const auto good = decode(file(z), true);
    ASSERT_TRUE(good.hasImage);
    EXPECT_EQ(good.pixels.bgra[size_t(w - 1) * 4 + 2], rawRow[32773]);

    Bytes wrongAdler = z;
    wrongAdler.back() ^= 1;
    EXPECT_FALSE(decode(file(wrongAdler), true).hasImage);
    EXPECT_TRUE(decode(file(wrongAdler), false).hasImage);
}

// The outcomes the decoder defines for damaged or unusual files.
TEST(PngParser, FailureOutcomes) {
    const Bytes rgbRow = {0, 1, 2, 3};
    const Bytes plte = {9, 9, 9};
    auto withIdatSplit = [&] {
        const Bytes z = testsupport::zlibCompress(rgbRow);
        PngBuilder b;
        b.ihdr(1, 1, 8, 2).chunk("IDAT", Bytes(z.begin(), z.begin() + 3)).chunk("gAMA", {0, 0, 1, 0});
        b.chunk("IDAT", Bytes(z.begin() + 3, z.end())).iend();
        return b.bytes();
    };
    auto noIend = [&] {
        PngBuilder b;
        b.ihdr(1, 1, 8, 2).idat(rgbRow);
        return b.bytes();
    };
    auto cutChunk = [&] {
        Bytes f = png(1, 1, 8, 2, rgbRow);
        f.resize(f.size() - 14);
        return f;
    };
    const struct {
        const char* name;
        Bytes file;
        bool decodes;
    } cases[] = {
        {"width 0", png(0, 1, 8, 2, rgbRow), false},
        {"height 0", png(1, 0, 8, 2, rgbRow), false},
        {"negative width", png(0x80000000u, 1, 8, 2, rgbRow), false},
        {"bit depth 3", png(1, 1, 3, 2, rgbRow), false},
        {"colour type 5", png(1, 1, 8, 5, rgbRow), false},
        {"interlace 2", png(1, 1, 8, 2, rgbRow, {}, 2), false},
        {"more than 67,108,863 pixels", png(8192, 8193, 8, 2, rgbRow), false},
        {"RGB at depth 4", png(1, 1, 4, 2, {0, 0x12, 0x30}), false},
        {"palette image without PLTE", png(1, 1, 8, 3, {0, 0}), false},
        {"PLTE length not a multiple of 3", png(1, 1, 8, 3, {0, 0}, {{"PLTE", {1, 2, 3, 4}}}), false},
        {"palette index past the palette", png(2, 1, 8, 3, {0, 0, 1}, {{"PLTE", plte}}), false},
        {"no IDAT", PngBuilder().ihdr(1, 1, 8, 2).iend().bytes(), false},
        {"IDAT split by another chunk", withIdatSplit(), false},
        {"chunk past the end of the data", cutChunk(), false},
        {"garbage image data", PngBuilder().ihdr(1, 1, 8, 2).chunk("IDAT", {0x78, 0x01, 0xFF, 0xFF}).iend().bytes(),
         false},
        {"interlaced row with filter type 5", png(1, 1, 8, 2, {5, 1, 2, 3}, {}, 1), false},
        {"non-interlaced row with filter type 5 stays as stored", png(1, 1, 8, 2, {5, 1, 2, 3}), true},
        {"data ends after the last chunk without IEND", noIend(), true},
        {"zero-length chunks are skipped", png(1, 1, 8, 2, rgbRow, {{"tEXt", {}}, {"PLTE", {}}}), true},
    };
    for (const auto& c : cases) {
        const auto o = decode(c.file);
        EXPECT_TRUE(o.isPng) << c.name;
        EXPECT_EQ(o.hasImage, c.decodes) << c.name;
    }
}

// Image data that ends early leaves the missing rows transparent black.
TEST(PngParser, ShortImageData_LeavesMissingRowsTransparent) {
    const auto o = decode(png(1, 3, 8, 2, {0, 10, 20, 30}));
    ASSERT_TRUE(o.hasImage);
    EXPECT_EQ(o.pixels.bgra, (Bytes{30, 20, 10, 255, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// Only the signature decides the result; the host is left alone without one.
TEST(PngParser, Result_IsWhetherTheSignatureMatches) {
    c32bppDIB dib;
    dib.setIsGDIplusEnabled(false);
    ASSERT_TRUE(dib.InitializeDIB(2, 2));
    Bytes notPng = png(1, 1, 8, 2, {0, 1, 2, 3});
    notPng[0] = 0x88;
    cPNGparser parser;
    EXPECT_FALSE(parser.LoadStream(notPng, dib));
    EXPECT_EQ(dib.Width(), 2); // untouched

    // An offset and length select the PNG inside a larger array.
    Bytes wrapped(5, 0xAA);
    const Bytes inner = png(1, 1, 8, 2, {0, 1, 2, 3});
    wrapped.insert(wrapped.end(), inner.begin(), inner.end());
    wrapped.insert(wrapped.end(), 7, 0xBB);
    cPNGparser second;
    EXPECT_TRUE(second.LoadStream(wrapped, dib, 5, inner.size()));
    ASSERT_EQ(dib.Width(), 1);
    EXPECT_EQ(dib.GetPixel(0, 0), 0x030201);
}
