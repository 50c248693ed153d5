// c32bppDIB export and effects, the PNG writer, and cCDECL.
#include "imaging/cdecl.h"
#include "imaging/dib_32bpp.h"
#include "imaging/gdi_plus.h"
#include "png_test_support.h"

#include "platform/forms/runtime_error.h"
#include "platform/gdi/region.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

using namespace imaging;
using Bytes = std::vector<uint8_t>;

namespace {

void put(c32bppDIB& d, int x, int y, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    uint8_t* p = d.row(y) + x * 4;
    p[0] = b;
    p[1] = g;
    p[2] = r;
    p[3] = a;
}

Bytes bgra(const c32bppDIB& d, int x, int y) {
    const uint8_t* p = d.row(y) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

// An image whose pixel (x, y) is B = x, G = y, R = x + y, A 255.
std::unique_ptr<c32bppDIB> ramp(int w, int h) {
    auto d = std::make_unique<c32bppDIB>();
    d->InitializeDIB(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(*d, x, y, uint8_t(x), uint8_t(y), uint8_t(x + y), 255);
    return d;
}

} // namespace

// BMP bytes: 24 bits without alpha (rows padded to 4 bytes), 32 bits as stored with alpha.
TEST(DibEffects, SaveToStream_WritesTheBmpLayout) {
    c32bppDIB d;
    Bytes out;
    EXPECT_FALSE(d.SaveToStream(out));

    ASSERT_TRUE(d.InitializeDIB(3, 1));
    for (int x = 0; x < 3; ++x) put(d, x, 0, uint8_t(10 * x + 1), uint8_t(10 * x + 2), uint8_t(10 * x + 3), 255);
    d.SetAlphaFlag(false);
    ASSERT_TRUE(d.SaveToStream(out));
    ASSERT_EQ(out.size(), 66u);
    const Bytes header = {'B', 'M', 66, 0, 0, 0, 0, 0, 0, 0,  54, 0, 0, 0, 40, 0,  0, 0, 3,
                          0,   0,   0,  1, 0, 0, 0, 1, 0, 24, 0,  0, 0, 0, 0,  12, 0, 0, 0};
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 38), header);
    EXPECT_EQ(Bytes(out.begin() + 38, out.begin() + 54), Bytes(16, 0));
    EXPECT_EQ(Bytes(out.begin() + 54, out.end()), (Bytes{1, 2, 3, 11, 12, 13, 21, 22, 23, 0, 0, 0}));

    ASSERT_TRUE(d.InitializeDIB(1, 1));
    put(d, 0, 0, 25, 50, 100, 128);
    ASSERT_TRUE(d.SaveToStream(out));
    ASSERT_EQ(out.size(), 58u);
    EXPECT_EQ(out[28], 32);
    EXPECT_EQ(Bytes(out.end() - 4, out.end()), (Bytes{25, 50, 100, 128}));

    // Bottom row first.
    c32bppDIB tall;
    ASSERT_TRUE(tall.InitializeDIB(1, 2));
    put(tall, 0, 0, 1, 1, 1, 255);
    put(tall, 0, 1, 2, 2, 2, 255);
    ASSERT_TRUE(tall.SaveToStream(out));
    EXPECT_EQ(out[54], 2);
    EXPECT_EQ(out[58], 1);
}

// Pixels with alpha make the region; styles 0, 1 and 2 differ in how they fill gaps.
TEST(DibEffects, CreateRegion_Styles) {
    c32bppDIB d;
    EXPECT_EQ(d.CreateRegion(0), nullptr);
    ASSERT_TRUE(d.InitializeDIB(4, 3));
    // Row 1: inside, outside, inside at x = 1, 2, 3.
    put(d, 1, 1, 0, 0, 0, 255);
    put(d, 3, 1, 0, 0, 0, 10);
    put(d, 2, 2, 0, 0, 0, 255);
    const struct {
        int32_t style;
        std::vector<std::pair<int, int>> in, out;
    } cases[] = {
        {0, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {3, 2}}, {{0, 1}, {1, 0}, {0, 2}}},
        {1, {{1, 1}, {2, 1}, {3, 1}, {2, 2}}, {{1, 2}, {3, 2}, {0, 1}}},
        {2, {{1, 1}, {3, 1}, {2, 2}}, {{2, 1}, {1, 2}, {0, 0}}},
    };
    for (const auto& c : cases) {
        platform::HRGN rgn = d.CreateRegion(c.style);
        ASSERT_NE(rgn, nullptr);
        for (auto [x, y] : c.in) EXPECT_TRUE(platform::PtInRegion(rgn, x, y)) << c.style << ": " << x << "," << y;
        for (auto [x, y] : c.out) EXPECT_FALSE(platform::PtInRegion(rgn, x, y)) << c.style << ": " << x << "," << y;
        platform::DeleteObject(rgn);
    }
    EXPECT_EQ(d.CreateRegion(3), nullptr);

    platform::HRGN moved = d.CreateRegion(2, 10, 20);
    EXPECT_TRUE(platform::PtInRegion(moved, 11, 21));
    EXPECT_FALSE(platform::PtInRegion(moved, 1, 1));
    platform::DeleteObject(moved);

    // Without alpha the region is the whole image.
    d.SetAlphaFlag(false);
    platform::HRGN whole = d.CreateRegion(2);
    platform::RECT box;
    platform::GetRgnBox(whole, &box);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.bottom, 3);
    EXPECT_TRUE(platform::PtInRegion(whole, 0, 0));
    platform::DeleteObject(whole);
}

// More than 2000 rectangles are united from batches without losing any.
TEST(DibEffects, CreateRegion_ManyRectanglesInBatches) {
    c32bppDIB d;
    ASSERT_TRUE(d.InitializeDIB(100, 100));
    for (int y = 0; y < 100; ++y)
        for (int x = (y % 2); x < 100; x += 2) put(d, x, y, 0, 0, 0, 255); // 5000 single-pixel runs
    platform::HRGN rgn = d.CreateRegion(2);
    ASSERT_NE(rgn, nullptr);
    // Rows from the first batch, the batch boundary (rectangle 2000 is in row 40) and the last.
    int right = 0;
    for (int y : {0, 1, 39, 40, 41, 79, 80, 99})
        for (int x = 0; x < 100; ++x) right += platform::PtInRegion(rgn, x, y) == ((x + y) % 2 == 0);
    EXPECT_EQ(right, 800);
    platform::DeleteObject(rgn);
}

// Pixels of the key colour become transparent and come back opaque on revert.
TEST(DibEffects, MakeTransparent_RoundTrip) {
    c32bppDIB d;
    ASSERT_TRUE(d.InitializeDIB(3, 1));
    put(d, 0, 0, 255, 0, 255, 255); // magenta 0x00FF00FF
    put(d, 1, 0, 1, 2, 3, 255);
    put(d, 2, 0, 255, 0, 255, 255);
    d.SetAlphaFlag(false);
    d.SetImageType(1);
    ASSERT_TRUE(d.MakeTransparent(0x00FF00FF));
    EXPECT_EQ(bgra(d, 0, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(bgra(d, 1, 0), (Bytes{1, 2, 3, 255}));
    EXPECT_TRUE(d.Alpha());
    EXPECT_EQ(d.ImageType(), 7);

    ASSERT_TRUE(d.MakeTransparent(0x00FF00FF, true));
    EXPECT_EQ(bgra(d, 0, 0), (Bytes{255, 0, 255, 255}));
    EXPECT_EQ(bgra(d, 2, 0), (Bytes{255, 0, 255, 255}));
    EXPECT_FALSE(d.Alpha());
    EXPECT_EQ(d.ImageType(), 1);
}

// The inverse of a premultiplied colour is A − component; transparent pixels stay.
TEST(DibEffects, MakeImageInverse_KeepsAlpha) {
    c32bppDIB d;
    EXPECT_FALSE(d.MakeImageInverse());
    ASSERT_TRUE(d.InitializeDIB(3, 1));
    put(d, 0, 0, 128, 128, 128, 128); // half-transparent white
    put(d, 1, 0, 10, 20, 30, 255);
    ASSERT_TRUE(d.MakeImageInverse());
    EXPECT_EQ(bgra(d, 0, 0), (Bytes{0, 0, 0, 128}));
    EXPECT_EQ(bgra(d, 1, 0), (Bytes{245, 235, 225, 255}));
    EXPECT_EQ(bgra(d, 2, 0), (Bytes{0, 0, 0, 0}));
}

TEST(DibEffects, MirrorImage_FlipsEachAxis) {
    auto d = ramp(3, 2);
    ASSERT_TRUE(d->MirrorImage(true, false));
    EXPECT_EQ(bgra(*d, 0, 0), (Bytes{2, 0, 2, 255}));
    ASSERT_TRUE(d->MirrorImage(false, true));
    EXPECT_EQ(bgra(*d, 0, 0), (Bytes{2, 1, 3, 255}));
    ASSERT_TRUE(d->MirrorImage(false, false));
    EXPECT_EQ(bgra(*d, 0, 0), (Bytes{2, 1, 3, 255}));
}

// The shadow grows by twice the blur on each axis and carries the blurred alpha in the colour.
TEST(DibEffects, CreateDropShadow_BlurAndSize) {
    c32bppDIB d;
    EXPECT_EQ(d.CreateDropShadow(3, 0), nullptr);
    ASSERT_TRUE(d.InitializeDIB(4, 3));
    put(d, 1, 1, 9, 9, 9, 255);
    put(d, 2, 1, 0, 0, 0, 100);

    const auto same = d.CreateDropShadow(0, 0x000080FF); // R 255, G 128, B 0
    ASSERT_NE(same, nullptr);
    EXPECT_EQ(same->Width(), 4);
    EXPECT_EQ(same->Height(), 3);
    EXPECT_EQ(bgra(*same, 1, 1), (Bytes{0, 128, 255, 255}));
    EXPECT_EQ(bgra(*same, 2, 1), (Bytes{0, 50, 100, 100}));
    EXPECT_EQ(bgra(*same, 0, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(same->ImageType(), 7);
    EXPECT_TRUE(same->Alpha());

    const auto one = d.CreateDropShadow(1, 0);
    ASSERT_EQ(one->Width(), 6);
    // (255 + 100) div 9 over the 3 × 3 box centred on the source pixels.
    EXPECT_EQ(bgra(*one, 2, 2)[3], 355 / 9);
    EXPECT_EQ(bgra(*one, 0, 0)[3], 0);

    const auto capped = d.CreateDropShadow(15, 0);
    const auto ten = d.CreateDropShadow(10, 0);
    ASSERT_EQ(capped->Width(), 24);
    EXPECT_EQ(capped->Height(), ten->Height());
    EXPECT_EQ(0, std::memcmp(capped->BitsPointer(), ten->BitsPointer(), 24 * 23 * 4));
}

// Pixel transfers in every layout round-trip, and the layouts are what their options say.
TEST(DibEffects, GetAndSetDIBbits_Layouts) {
    auto src = ramp(3, 2);
    put(*src, 2, 1, 10, 20, 40, 128);
    for (int mask = 0; mask < 16; ++mask) {
        const bool bgr = mask & 1, b32 = mask & 2, aligned = mask & 4, bottomUp = mask & 8;
        Bytes bits;
        ASSERT_TRUE(src->GetDIBbits(bits, false, bgr, b32, aligned, bottomUp));
        c32bppDIB dst;
        ASSERT_TRUE(dst.InitializeDIB(3, 2));
        ASSERT_TRUE(dst.SetDIBbits(bits, bgr, b32, aligned, bottomUp));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                Bytes want = bgra(*src, x, y);
                if (!b32) want[3] = 255;
                EXPECT_EQ(bgra(dst, x, y), want) << "options " << mask << " at " << x << "," << y;
            }
    }
    Bytes bits;
    // RGB, 24 bits, padded, top-down: row 0 = 3 pixels of R, G, B + 3 bytes of padding.
    ASSERT_TRUE(src->GetDIBbits(bits, false, false, false, true, false));
    ASSERT_EQ(bits.size(), 24u);
    EXPECT_EQ(Bytes(bits.begin(), bits.begin() + 12), (Bytes{0, 0, 0, 1, 0, 1, 2, 0, 2, 0, 0, 0}));
    // A sub-rectangle, un-premultiplied as GetPixel does it.
    ASSERT_TRUE(src->GetDIBbits(bits, false, true, true, false, false, 2, 1, 1, 1, false));
    EXPECT_EQ(bits, (Bytes{19, 39, 79, 128}));
    // Clipped to the image; a rectangle outside it is refused.
    ASSERT_TRUE(src->GetDIBbits(bits, false, true, true, false, false, 1, 1, 10, 10));
    EXPECT_EQ(bits.size(), 8u);
    EXPECT_FALSE(src->GetDIBbits(bits, false, true, true, false, false, 5, 0, 1, 1));
    // Too little input for the rectangle is refused.
    EXPECT_FALSE(src->SetDIBbits(Bytes(10, 0)));
}

// Copies: same size byte for byte, a negative size mirrored, another size drawn.
TEST(DibEffects, CopyImageTo_SizesAndMirrors) {
    auto src = ramp(4, 2);
    src->SetImageType(10);
    std::unique_ptr<c32bppDIB> copy;
    ASSERT_TRUE(src->CopyImageTo(copy));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(0, std::memcmp(copy->BitsPointer(), src->BitsPointer(), 4 * 2 * 4));
    EXPECT_EQ(copy->ImageType(), 10);

    ASSERT_TRUE(src->CopyImageTo(copy, -4, 0));
    EXPECT_EQ(bgra(*copy, 0, 0), bgra(*src, 3, 0));

    src->setHighQualityInterpolation(false);
    ASSERT_TRUE(src->CopyImageTo(copy, 8, 4));
    EXPECT_EQ(copy->Width(), 8);
    EXPECT_EQ(bgra(*copy, 7, 3), bgra(*src, 3, 1));
    EXPECT_EQ(bgra(*copy, 2, 0), bgra(*src, 1, 0));
}

// Squares alternate along a row and each row starts with the other colour.
TEST(DibEffects, CreateCheckerBoard_AlternatesSquares) {
    c32bppDIB d;
    ASSERT_TRUE(d.InitializeDIB(5, 4));
    ASSERT_TRUE(d.CreateCheckerBoard(2, 0x0000FF, 0xFF0000)); // red, blue
    EXPECT_EQ(d.GetPixel(0, 0), 0x0000FF);
    EXPECT_EQ(d.GetPixel(1, 1), 0x0000FF);
    EXPECT_EQ(d.GetPixel(2, 0), 0xFF0000);
    EXPECT_EQ(d.GetPixel(4, 1), 0x0000FF); // a cut square at the edge
    EXPECT_EQ(d.GetPixel(0, 2), 0xFF0000);
    EXPECT_EQ(d.GetPixel(2, 3), 0x0000FF);
    EXPECT_EQ(bgra(d, 3, 3)[3], 255);
    EXPECT_FALSE(d.Alpha());
    EXPECT_EQ(d.ImageType(), 64);
    EXPECT_FALSE(d.CreateCheckerBoard(0, 0, 0));
}

// PNG bytes from the writer decode back to the same premultiplied pixels.
TEST(DibEffects, SaveToPNG_RoundTrips) {
    auto src = ramp(5, 3);
    put(*src, 1, 1, 0, 0, 0, 0);
    put(*src, 2, 2, 40, 40, 40, 255);
    Bytes png;
    ASSERT_TRUE(cGDIPlus::SaveToPNG(QString(), png, *src));
    c32bppDIB back;
    back.setIsGDIplusEnabled(false);
    ASSERT_TRUE(back.LoadPicture_Stream(png));
    EXPECT_EQ(0, std::memcmp(back.BitsPointer(), src->BitsPointer(), 5 * 3 * 4));
    c32bppDIB none;
    EXPECT_FALSE(cGDIPlus::SaveToPNG(QString(), png, none));
}

// File lists come from the clipboard or from dropped data; other data gives none.
TEST(DibEffects, FileNames_FromClipboardAndDrop) {
    c32bppDIB d;
    QStringList files;
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.png")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/b c.png")),
                   QUrl(QStringLiteral("https://example.invalid/x.png"))});
    QGuiApplication::clipboard()->setMimeData(data);
    EXPECT_EQ(d.GetPastedFileNames(files), 2);
    EXPECT_EQ(files, (QStringList{QStringLiteral("/tmp/a.png"), QStringLiteral("/tmp/b c.png")}));

    QGuiApplication::clipboard()->setText(QStringLiteral("text only"));
    EXPECT_EQ(d.GetPastedFileNames(files), 0);

    QMimeData drop;
    EXPECT_FALSE(d.GetDroppedFileNames(&drop, files));
    drop.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/c.png"))});
    EXPECT_TRUE(d.GetDroppedFileNames(&drop, files));
    EXPECT_EQ(files, QStringList{QStringLiteral("/tmp/c.png")});
}

// cCDECL calls exports by name and raises its three errors.
TEST(CDecl, CallsAndErrors) {
    cCDECL c;
    auto expectError = [&](const QString& fn, std::span<const int32_t> args, uint32_t number, const QString& text) {
        try {
            c.CallFunc(fn, args);
            ADD_FAILURE() << "no error: " << text.toStdString();
        } catch (const platform::RuntimeError& e) {
            EXPECT_EQ(e.Number(), number);
            EXPECT_EQ(e.Description(), text);
        }
    };
    const int32_t minusSeven[] = {-7};
    expectError(QStringLiteral("abs"), minusSeven, 0x80040000u, QStringLiteral("DLL not loaded"));
    ASSERT_TRUE(c.DllLoad(QStringLiteral("libc.so.6")));
    EXPECT_EQ(c.CallFunc(QStringLiteral("abs"), minusSeven), 7);
    EXPECT_EQ(c.CallFunc(QStringLiteral("abs"), minusSeven), 7); // cached address
    ASSERT_TRUE(c.DllLoad(QStringLiteral("libz.so.1")));
    const int32_t adler[] = {1, 0, 0};
    EXPECT_EQ(c.CallFunc(QStringLiteral("adler32"), adler), 1);
    const int32_t six[] = {1, 2, 3, 4, 5, 6};
    expectError(QStringLiteral("adler32"), six, 0x80040002u, QStringLiteral("Too many parameters"));
    expectError(QStringLiteral("no_such_export"), minusSeven, 0x80040001u,
                QStringLiteral("Failed to locate function: no_such_export"));
    EXPECT_TRUE(c.DllUnload());
    EXPECT_FALSE(c.DllUnload());
}
