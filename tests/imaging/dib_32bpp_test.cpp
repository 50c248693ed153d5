// c32bppDIB: the buffer, pixels, loaders and Render with its three drawing paths.
#include "imaging/dib_32bpp.h"
#include "png_test_support.h"

#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/window/message_box.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace imaging;
using Bytes = std::vector<uint8_t>;

namespace {

// Sets image pixel (x, y) from B, G, R, A.
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

enum class Path { AlphaBlend, Painter, Software };

const char* name(Path p) {
    switch (p) {
    case Path::AlphaBlend: return "AlphaBlend";
    case Path::Painter: return "painter";
    default: return "software";
    }
}

// Flags that make Render take `path` for an unscaled, unmirrored draw.
void choose(c32bppDIB& d, Path path) {
    d.setIsGDIplusEnabled(path == Path::Painter);
    d.setIsAlphaBlendFriendly(path == Path::AlphaBlend);
}

} // namespace

// Creation takes the absolute height and refuses an empty size; destruction resets the state.
TEST(Dib32, InitializeAndDestroy_SetTheDocumentedState) {
    c32bppDIB d;
    EXPECT_EQ(d.ImageType(), -1);
    ASSERT_TRUE(d.InitializeDIB(10, -5));
    EXPECT_EQ(d.Width(), 10);
    EXPECT_EQ(d.Height(), 5);
    EXPECT_EQ(d.scanWidth(), 40);
    EXPECT_EQ(d.ImageType(), 0);
    EXPECT_TRUE(d.Alpha());
    EXPECT_NE(d.Handle(), nullptr);
    EXPECT_EQ(bgra(d, 9, 4), (Bytes{0, 0, 0, 0}));

    EXPECT_FALSE(d.InitializeDIB(5, 0));
    EXPECT_EQ(d.Handle(), nullptr);
    EXPECT_FALSE(d.InitializeDIB(-1, 5));
    EXPECT_FALSE(d.InitializeDIB(40000, 40000)); // over 2^31 bytes

    ASSERT_TRUE(d.InitializeDIB(2, 2));
    d.SetImageType(10);
    d.DestroyDIB();
    EXPECT_EQ(d.ImageType(), -1);
    EXPECT_FALSE(d.Alpha());
    EXPECT_EQ(d.Width(), 0);
    EXPECT_EQ(d.Handle(), nullptr);
}

// Rows are bottom-up in memory, GetPixel counts from the top and un-premultiplies on request.
TEST(Dib32, GetPixel_PremultipliedAndNot) {
    c32bppDIB d;
    ASSERT_TRUE(d.InitializeDIB(2, 2));
    put(d, 1, 0, 25, 50, 100, 128);
    EXPECT_EQ(d.BitsPointer()[(1 * 2 + 1) * 4 + 2], 100); // top row is the last in memory
    int32_t alpha = -1;
    EXPECT_EQ(d.GetPixel(1, 0, &alpha, true), 0x193264);
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(d.GetPixel(1, 0, &alpha, false), 0x3163C7); // 199, 99, 49
    EXPECT_EQ(d.GetPixel(2, 0, &alpha), -1);
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(d.GetPixel(0, -1, &alpha), -1);
}

// Opacity is a percentage taken modulo 100: 0 draws nothing, 150 half, 100 and 200 fully.
TEST(Dib32, Render_OpacityOnEveryPath) {
    for (Path path : {Path::AlphaBlend, Path::Painter, Path::Software}) {
        SCOPED_TRACE(name(path));
        const struct {
            int32_t opacity;
            Bytes expected; // over an opaque blue pixel (B 100)
            int tolerance;
        } cases[] = {
            {0, {100, 0, 0, 255}, 0},
            {100, {0, 0, 200, 255}, 0},
            {200, {0, 0, 200, 255}, 0},
            // Software, exactly: k = 255 − 255 × 127 div 255 = 128; (100 × 128) div 255 = 50,
            // (200 × 127) div 255 = 99. The other paths round.
            {150, {50, 0, 99, 255}, path == Path::Software ? 0 : 2},
        };
        for (const auto& c : cases) {
            c32bppDIB src, dst;
            choose(src, path);
            ASSERT_TRUE(src.InitializeDIB(1, 1));
            ASSERT_TRUE(dst.InitializeDIB(1, 1));
            put(src, 0, 0, 0, 0, 200, 255);
            put(dst, 0, 0, 100, 0, 0, 255);
            EXPECT_TRUE(src.Render(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, c.opacity, true, true, &dst)) << c.opacity;
            const Bytes got = bgra(dst, 0, 0);
            for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], c.expected[i], c.tolerance) << "opacity " << c.opacity;
        }
    }
    c32bppDIB empty, dst;
    ASSERT_TRUE(dst.InitializeDIB(1, 1));
    EXPECT_FALSE(empty.Render(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, true, true, &dst));
    c32bppDIB src;
    ASSERT_TRUE(src.InitializeDIB(1, 1));
    EXPECT_FALSE(src.Render(nullptr)); // no destination
}

// A negative source width draws the image mirrored left to right in the same place.
TEST(Dib32, Render_NegativeSourceWidthMirrors) {
    for (Path path : {Path::Painter, Path::Software}) {
        SCOPED_TRACE(name(path));
        c32bppDIB src, dst;
        choose(src, path);
        ASSERT_TRUE(src.InitializeDIB(12, 1));
        ASSERT_TRUE(dst.InitializeDIB(12, 1));
        for (int x = 0; x < 12; ++x) put(src, x, 0, 0, uint8_t(x * 20), 0, 255);
        ASSERT_TRUE(src.Render(nullptr, 0, 0, 0, 0, 0, 0, -12, 0, 100, true, true, &dst));
        for (int x = 0; x < 12; ++x) EXPECT_EQ(bgra(dst, x, 0), (Bytes{0, uint8_t((11 - x) * 20), 0, 255})) << x;
    }
}

// The software renderer's greyscale, brightness and per-pixel alpha arithmetic.
TEST(Dib32, Render_SoftwareGreyscaleAndBrightnessAreExact) {
    const struct {
        const char* name;
        Bytes source; // B, G, R, A
        int32_t grayScale, light;
        Bytes expected; // over a transparent pixel
    } cases[] = {
        {"grey 0.299/0.587/0.114", {50, 100, 200, 255}, 0, 0, {124, 124, 124, 255}},
        {"grey formula 2", {50, 100, 200, 255}, 2, 0, {117, 117, 117, 255}},
        {"unknown formula uses the first", {50, 100, 200, 255}, 42, 0, {124, 124, 124, 255}},
        {"light +20: S = 13005, 51 more", {50, 100, 200, 255}, -1, 20, {101, 151, 251, 255}},
        {"light -100 clamps at 0", {50, 100, 200, 255}, -1, -100, {0, 0, 0, 255}},
        {"light +50 at alpha 128 clamps at alpha", {25, 50, 100, 128}, -1, 50, {89, 114, 128, 128}},
        {"light outside -100..100 is ignored", {50, 100, 200, 255}, -1, 101, {50, 100, 200, 255}},
        {"half alpha over transparent: d = s", {25, 50, 100, 128}, -1, 0, {25, 50, 100, 128}},
    };
    for (const auto& c : cases) {
        c32bppDIB src, dst;
        choose(src, Path::Software);
        ASSERT_TRUE(src.InitializeDIB(1, 1));
        ASSERT_TRUE(dst.InitializeDIB(1, 1));
        put(src, 0, 0, c.source[0], c.source[1], c.source[2], c.source[3]);
        ASSERT_TRUE(src.Render(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 100, true, true, &dst, c.grayScale, c.light));
        EXPECT_EQ(bgra(dst, 0, 0), c.expected) << c.name;
    }
}

// Scaling, centring and rotation land where they should; rotation by 180 degrees turns the
// image round its centre on both renderers.
TEST(Dib32, Render_ScalesCentresAndRotates) {
    for (Path path : {Path::Painter, Path::Software}) {
        SCOPED_TRACE(name(path));
        c32bppDIB src, dst;
        choose(src, path);
        src.setHighQualityInterpolation(false);
        ASSERT_TRUE(src.InitializeDIB(2, 2));
        put(src, 0, 0, 0, 0, 255, 255); // red top left
        put(src, 1, 1, 255, 0, 0, 255); // blue bottom right
        ASSERT_TRUE(dst.InitializeDIB(8, 8));
        // Twice the size, centred on (4, 4): covers 2..6.
        ASSERT_TRUE(src.Render(nullptr, 4, 4, 4, 4, 0, 0, 0, 0, 100, true, true, &dst, -1, 0, 0, true));
        EXPECT_EQ(bgra(dst, 2, 2), (Bytes{0, 0, 255, 255}));
        EXPECT_EQ(bgra(dst, 3, 3), (Bytes{0, 0, 255, 255}));
        EXPECT_EQ(bgra(dst, 5, 5), (Bytes{255, 0, 0, 255}));
        EXPECT_EQ(bgra(dst, 1, 1), (Bytes{0, 0, 0, 0}));
        EXPECT_EQ(bgra(dst, 6, 6), (Bytes{0, 0, 0, 0}));

        dst.EraseDIB();
        ASSERT_TRUE(src.Render(nullptr, 2, 2, 4, 4, 0, 0, 0, 0, 100, true, true, &dst, -1, 0, 180));
        EXPECT_EQ(bgra(dst, 2, 2)[0], 255) << "blue moves to the top left";
        EXPECT_EQ(bgra(dst, 5, 5)[2], 255) << "red moves to the bottom right";
    }
}

// Render through a plain device context: the software path blends colour and keeps the
// context's fourth byte; AlphaBlend honours the context's clip.
TEST(Dib32, Render_OntoADeviceContext) {
    using namespace platform;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 4, 1);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, 4, 1};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, all, white);

    c32bppDIB src;
    ASSERT_TRUE(src.InitializeDIB(4, 1));
    for (int x = 0; x < 4; ++x) put(src, x, 0, 0, 0, 128, 128); // half-transparent red
    choose(src, Path::Software);
    ASSERT_TRUE(src.Render(dc, 0, 0));
    // 128 + 255 × 127 div 255 = 255 red; 0 + 255 × 127 div 255 = 127 green and blue.
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 127, 127));
    EXPECT_EQ(bmp->pixel(0, 0) >> 24, 0xFFu);

    FillRect(dc, all, white);
    IntersectClipRect(dc, 0, 0, 2, 1);
    choose(src, Path::AlphaBlend);
    ASSERT_TRUE(src.Render(dc, 0, 0));
    EXPECT_NEAR(GetPixel(dc, 1, 0) >> 8 & 0xFF, 127, 1);
    EXPECT_EQ(bmp->pixel(3, 0) & 0xFFFFFF, 0xFFFFFFu) << "outside the clip";

    SelectObject(dc, old);
    DeleteObject(white);
    DeleteObject(bmp);
    DeleteDC(dc);
}

// The own DC exists while ManageOwnDC is set or the bitmap is borrowed.
TEST(Dib32, OwnDeviceContext_Lifecycle) {
    const int before = platform::deviceContextCount();
    c32bppDIB d;
    EXPECT_EQ(d.LoadDIBinDC(true), nullptr); // no image
    ASSERT_TRUE(d.InitializeDIB(3, 3));
    platform::HDC dc = d.LoadDIBinDC(true);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->selectedBitmap(), d.Handle());
    EXPECT_EQ(platform::deviceContextCount(), before + 1);
    d.LoadDIBinDC(false);
    EXPECT_EQ(platform::deviceContextCount(), before);

    d.setManageOwnDC(true);
    EXPECT_EQ(platform::deviceContextCount(), before + 1);
    d.LoadDIBinDC(false);
    EXPECT_EQ(platform::deviceContextCount(), before + 1) << "kept while ManageOwnDC";
    ASSERT_TRUE(d.InitializeDIB(4, 4));
    EXPECT_EQ(d.LoadDIBinDC(true)->selectedBitmap(), d.Handle());
    d.setManageOwnDC(false);
    EXPECT_EQ(platform::deviceContextCount(), before);
}

// Loading: short data is refused, PNG goes through the decoder, other formats through the
// platform loader only while it is enabled, and the source bytes are kept on request.
TEST(Dib32, Loaders_StreamFileAndOriginalFormat) {
    const Bytes png =
        testsupport::PngBuilder().ihdr(3, 1, 8, 6).idat({0, 1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 0}).iend().bytes();
    Bytes padded = png;
    padded.resize(std::max<size_t>(png.size(), 60), 0);

    c32bppDIB d;
    d.setIsGDIplusEnabled(false);
    EXPECT_FALSE(d.LoadPicture_Stream(Bytes(padded.begin(), padded.begin() + 56)));
    ASSERT_TRUE(d.LoadPicture_Stream(padded, 0, 0, 0, 0, true));
    EXPECT_EQ(d.ImageType(), 10);
    EXPECT_EQ(d.GetPixel(1, 0), 0x060504);
    Bytes kept;
    EXPECT_TRUE(d.GetOrginalFormat(kept));
    EXPECT_EQ(kept, padded);
    EXPECT_TRUE(d.LoadPicture_FromOrignalFormat());
    EXPECT_EQ(d.GetPixel(1, 0), 0x060504);

    // A BMP is not PNG: refused without the platform loader, read with it.
    c32bppDIB opaque;
    ASSERT_TRUE(opaque.InitializeDIB(3, 2));
    for (int x = 0; x < 3; ++x) put(opaque, x, 1, uint8_t(x), 20, 30, 255);
    opaque.SetAlphaFlag(false);
    Bytes bmp;
    ASSERT_TRUE(opaque.SaveToStream(bmp));
    EXPECT_FALSE(d.LoadPicture_Stream(bmp));
    EXPECT_EQ(d.Handle(), nullptr);
    d.setIsGDIplusEnabled(true);
    ASSERT_TRUE(d.LoadPicture_Stream(bmp));
    EXPECT_EQ(d.Width(), 3);
    EXPECT_EQ(bgra(d, 2, 1), (Bytes{2, 20, 30, 255}));
    EXPECT_FALSE(d.Alpha());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("图像.png"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(padded.data()), qint64(padded.size()));
    f.close();
    c32bppDIB fromFile;
    fromFile.setIsGDIplusEnabled(false);
    ASSERT_TRUE(fromFile.LoadPicture_File(path));
    EXPECT_EQ(bgra(fromFile, 2, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(bgra(fromFile, 0, 0), (Bytes{3, 2, 1, 255}));
    EXPECT_FALSE(fromFile.LoadPicture_File(dir.filePath(QStringLiteral("missing.png"))));
}

// Custom resources load by type and name; a picture resource or an unknown name gives false.
TEST(Dib32, LoadPictureResource_ByTypeAndName) {
    c32bppDIB d;
    d.setIsGDIplusEnabled(false);
    ASSERT_TRUE(d.LoadPicture_Resource(QStringLiteral("TESTPLAY"), QStringLiteral("PNGICON")));
    EXPECT_EQ(d.Width(), 12);
    EXPECT_EQ(d.ImageType(), 10);
    EXPECT_TRUE(d.Alpha());
    EXPECT_EQ(bgra(d, 3, 5), (Bytes{60, 200, 40, 255}));
    EXPECT_FALSE(d.LoadPicture_Resource(QStringLiteral("NOSUCH"), QStringLiteral("PNGICON")));
    EXPECT_FALSE(d.LoadPicture_Resource(101, 0));
    // Another module's reader.
    const auto reader = [](const QString& type, const QString& name) {
        QFile f(QStringLiteral(":/resources/%1/%2").arg(type, name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_TRUE(d.LoadPicture_Resource(QStringLiteral("TESTPLAY"), QStringLiteral("PNGICON"), reader));
    EXPECT_FALSE(d.LoadPicture_StdPicture(0));
    EXPECT_EQ(d.Handle(), nullptr);
}

#if !defined(__SANITIZE_ADDRESS__)
// A run-time error escaping the decoder (here: memory runs out while the image data is
// gathered) is shown in the program's message box and the load fails.
TEST(Dib32, LoadError_ShowsTheMessageBox) {
    // A PNG whose one IDAT is 96 MiB of stored deflate data; gathering it needs that much.
    const size_t big = size_t(96) << 20;
    std::vector<uint8_t> file = testsupport::PngBuilder().ihdr(1, 1, 8, 0).bytes();
    const uint32_t len = uint32_t(big);
    for (int s = 24; s >= 0; s -= 8) file.push_back(uint8_t(len >> s));
    file.insert(file.end(), {'I', 'D', 'A', 'T'});
    file.resize(file.size() + big, 0);
    file.insert(file.end(), {0, 0, 0, 0});

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        QString shown;
        platform::setMessageBoxHandler([&](const QString& prompt, int32_t, const QString&) {
            shown = prompt;
            return platform::vbOK;
        });
        // Leave room for little more than what is already mapped.
        long pages = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(32) << 20);
        const rlimit rl{limit, limit};
        setrlimit(RLIMIT_AS, &rl);
        c32bppDIB d;
        d.setIsGDIplusEnabled(false);
        const bool loaded = d.LoadPicture_Stream(file);
        _exit(!loaded && shown == QStringLiteral("Out of memory") ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif
