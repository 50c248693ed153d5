// The compiled-in pictures: every catalogue name with its size and file format, the pixels
// the lookup returns, the transparent key where the controls need it, slices that survive
// stretching, and the play icon, application icon and tab pointer.
#include "imaging/skin_catalogue.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <set>

using namespace platform;
using imaging::LoadResPicture;

namespace {

constexpr QRgb kKey = 0xFF00FF;

bool isKey(QRgb p) { return (p & 0xFFFFFF) == kKey; }

QImage skinImage(const char* name) { return LoadResPicture(QString::fromLatin1(name)).image(); }

int keyPixels(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += isKey(img.pixel(x, y));
    return n;
}

QByteArray resourceFile(const QString& path) {
    imaging::LoadResPicture(QStringLiteral("SKIN")); // registers the resources
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

uint32_t le32(const QByteArray& b, int at) {
    return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

uint32_t be32(const QByteArray& b, int at) {
    return uint32_t(uint8_t(b[at])) << 24 | uint8_t(b[at + 1]) << 16 | uint8_t(b[at + 2]) << 8 | uint8_t(b[at + 3]);
}

// IHDR fields of a PNG (PNG second edition, 11.2.2): width, height, bit depth, colour type,
// interlace method; all -1 when the data is no PNG.
struct PngHeader {
    int64_t width = -1, height = -1;
    int depth = -1, colourType = -1, interlace = -1;
};

PngHeader pngHeader(const QByteArray& png) {
    PngHeader h;
    if (png.size() < 33 || !png.startsWith("\x89PNG\r\n\x1a\n") || png.mid(12, 4) != "IHDR") return h;
    h.width = be32(png, 16);
    h.height = be32(png, 20);
    h.depth = uint8_t(png[24]);
    h.colourType = uint8_t(png[25]);
    h.interlace = uint8_t(png[28]);
    return h;
}

struct Entry {
    const char* name;
    int width;
    int height;
};

// The catalogue: named bitmaps, then the form pictures.
const Entry kCatalogue[] = {
    {"SKIN", 77, 65},       {"TABBAR", 41, 48},     {"PLAYCTR", 19, 64},   {"PLAYBT", 35, 136},
    {"PAUSEBT", 35, 136},   {"VOLBT", 26, 108},     {"SLIBT", 26, 108},    {"SCRARROWH", 90, 17},
    {"SCRARROWHL", 90, 17}, {"SCRARROWHR", 90, 17}, {"SCRARROWV", 17, 90}, {"SCRARROWVT", 17, 90},
    {"SCRARROWVB", 17, 90}, {"SCRBACKH", 4, 17},    {"SCRBACKV", 17, 4},   {"SCRTHUMBH", 15, 68},
    {"SCRTHUMBV", 68, 15},  {"SCRGRIPH", 10, 36},   {"SCRGRIPV", 10, 36},  {"ctr_Lst", 26, 104},
    {"ctr_Stop", 26, 104},  {"tBt_Cls", 24, 72},
};

// The picture split into its frames: `count` frames of `w` x `h`, stacked or side by side.
std::vector<QRect> frames(int count, int w, int h, bool stacked) {
    std::vector<QRect> out;
    for (int f = 0; f < count; ++f) out.emplace_back(stacked ? 0 : f * w, stacked ? f * h : 0, w, h);
    return out;
}

} // namespace

// Every name loads as a bitmap of its catalogue size, stored as a 24-bit uncompressed
// bottom-up BMP with 4-byte row padding, and the lookup returns exactly the stored pixels.
TEST(SkinCatalogue, EveryName_LoadsItsStoredPixelsAtItsSize) {
    std::set<std::string> listed;
    for (const auto* list : {&imaging::skinBitmaps(), &imaging::formPictures()})
        for (const imaging::SkinEntry& e : *list) listed.insert(e.name);
    EXPECT_EQ(listed.size(), std::size(kCatalogue));

    for (const Entry& e : kCatalogue) {
        SCOPED_TRACE(e.name);
        EXPECT_TRUE(listed.count(e.name));
        const Picture pic = LoadResPicture(QString::fromLatin1(e.name));
        ASSERT_EQ(pic.kind(), Picture::Kind::Bitmap);
        ASSERT_EQ(pic.Width(), e.width);
        ASSERT_EQ(pic.Height(), e.height);

        const QByteArray bmp = resourceFile(QStringLiteral(":/skin/%1.bmp").arg(QLatin1String(e.name)));
        ASSERT_GE(bmp.size(), 54);
        ASSERT_TRUE(bmp.startsWith("BM"));
        const uint32_t offset = le32(bmp, 10);
        EXPECT_EQ(le32(bmp, 14), 40u); // info header size
        EXPECT_EQ(int32_t(le32(bmp, 18)), e.width);
        EXPECT_EQ(int32_t(le32(bmp, 22)), e.height); // positive: bottom-up
        EXPECT_EQ(le32(bmp, 28) & 0xFFFF, 24u);      // bits per pixel
        EXPECT_EQ(le32(bmp, 30), 0u);                // no compression
        const int rowBytes = (e.width * 3 + 3) / 4 * 4;
        ASSERT_EQ(bmp.size(), int(offset) + rowBytes * e.height);
        const QImage img = pic.image();
        for (int y = 0; y < e.height; ++y) {
            const int row = int(offset) + (e.height - 1 - y) * rowBytes;
            for (int x = 0; x < e.width; ++x) {
                const QRgb stored =
                    qRgb(uint8_t(bmp[row + 3 * x + 2]), uint8_t(bmp[row + 3 * x + 1]), uint8_t(bmp[row + 3 * x]));
                ASSERT_EQ(img.pixel(x, y) | 0xFF000000u, stored) << "pixel " << x << "," << y;
            }
        }
    }
}

// A name outside the catalogue fails as the runtime reports a missing resource; the form
// resolver answers Nothing instead.
TEST(SkinCatalogue, UnknownName_RaisesResourceNotFound) {
    try {
        LoadResPicture(QStringLiteral("SCRGRIP"));
        ADD_FAILURE() << "no error raised";
    } catch (const RuntimeError& e) { EXPECT_EQ(e.Number(), imaging::kErrResourceNotFound); }
    EXPECT_THROW(imaging::LoadResData(QStringLiteral("PAUSE"), QStringLiteral("PNGICON")), RuntimeError);
    EXPECT_TRUE(imaging::ResolveFormPicture(QStringLiteral("NOSUCHPICTURE")).isNothing());
    EXPECT_EQ(imaging::ResolveFormPicture(QStringLiteral("tBt_Cls")).Height(), 72);
}

// Where the controls expect the transparent key, the picture is pure magenta: the grips
// entirely, the disabled frames of the volume buttons and the hide button, and "PLAYCTR"
// outside its slices.
TEST(SkinCatalogue, TransparentAreas_AreAllMagenta) {
    const struct {
        const char* name;
        QRect area;
    } cases[] = {
        {"SCRGRIPH", QRect(0, 0, 10, 36)}, {"SCRGRIPV", QRect(0, 0, 10, 36)}, {"VOLBT", QRect(0, 81, 26, 27)},
        {"SLIBT", QRect(0, 81, 26, 27)},   {"tBt_Cls", QRect(0, 54, 24, 18)}, {"PLAYCTR", QRect(1, 16, 18, 48)},
        {"PLAYCTR", QRect(11, 0, 8, 16)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keyPixels(skinImage(c.name), c.area), c.area.width() * c.area.height());
    }
}

// Pieces that are copied or stretched without the key hold no magenta, or it would show.
TEST(SkinCatalogue, PiecesDrawnWithoutTheKey_HoldNoMagenta) {
    const struct {
        const char* name;
        QRect area;
    } cases[] = {
        {"SKIN", QRect(0, 0, 77, 65)},      {"TABBAR", QRect(0, 0, 41, 48)},    {"PLAYCTR", QRect(0, 0, 1, 64)},
        {"PLAYCTR", QRect(1, 0, 10, 16)},   {"SCRARROWV", QRect(0, 0, 17, 90)}, {"SCRARROWH", QRect(0, 0, 90, 17)},
        {"SCRBACKV", QRect(0, 0, 17, 4)},   {"SCRBACKH", QRect(0, 0, 4, 17)},   {"SCRTHUMBV", QRect(0, 0, 68, 15)},
        {"SCRTHUMBH", QRect(0, 0, 15, 68)}, {"VOLBT", QRect(0, 0, 26, 81)},     {"tBt_Cls", QRect(0, 0, 24, 54)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keyPixels(skinImage(c.name), c.area), 0);
    }
}

// Stretched slices have one colour along the stretch: a row of a slice stretched sideways,
// a column of one stretched along the bar. Otherwise the stretch smears a seam.
TEST(SkinCatalogue, StretchedSlices_HaveOneColourAlongTheStretch) {
    struct Slice {
        const char* name;
        QRect area;
        bool sideways; // stretched horizontally (rows uniform) or vertically (columns uniform)
    };
    std::vector<Slice> slices = {
        {"SKIN", QRect(0, 44, 77, 21), true},  // caption background
        {"TABBAR", QRect(5, 0, 12, 48), true}, // plate body
        {"SCRARROWV", QRect(3, 0, 11, 90), true}, {"SCRARROWH", QRect(0, 3, 90, 11), false},
        {"SCRBACKV", QRect(0, 0, 17, 2), false},  {"SCRBACKV", QRect(0, 2, 17, 2), false},
        {"SCRBACKV", QRect(3, 0, 11, 4), true},   {"SCRBACKH", QRect(0, 0, 2, 17), true},
        {"SCRBACKH", QRect(2, 0, 2, 17), true},   {"SCRBACKH", QRect(0, 3, 4, 11), false},
    };
    for (int f = 0; f < 4; ++f) {
        // Nine-slice thumbs: edges along their stretch, the middle both ways.
        slices.push_back({"SCRTHUMBV", QRect(17 * f + 3, 0, 11, 15), true});
        slices.push_back({"SCRTHUMBV", QRect(17 * f, 3, 17, 9), false});
        slices.push_back({"SCRTHUMBH", QRect(0, 17 * f + 3, 15, 11), false});
        slices.push_back({"SCRTHUMBH", QRect(3, 17 * f, 9, 17), true});
    }
    for (const Slice& s : slices) {
        SCOPED_TRACE(testing::Message() << s.name << " " << s.area.x() << "," << s.area.y());
        const QImage img = skinImage(s.name);
        for (int y = s.area.top(); y <= s.area.bottom(); ++y) {
            for (int x = s.area.left(); x <= s.area.right(); ++x) {
                const QRgb first = s.sideways ? img.pixel(s.area.left(), y) : img.pixel(x, s.area.top());
                ASSERT_EQ(img.pixel(x, y), first) << "pixel " << x << "," << y;
            }
        }
    }
}

// Caption glyphs are copied without the key onto the caption, 6 pixels down the strip
// whose background starts at row 2: a cell's edge columns carry caption rows 48..58.
TEST(SkinCatalogue, CaptionGlyphCells_CarryTheCaptionBackground) {
    const QImage skin = skinImage("SKIN");
    for (int state = 0; state < 4; ++state) {
        for (int g = 0; g < 7; ++g) {
            for (int r = 0; r < 11; ++r) {
                const QRgb caption = skin.pixel(0, 48 + r);
                ASSERT_EQ(skin.pixel(11 * g, 11 * state + r), caption) << "glyph " << g << " state " << state;
                ASSERT_EQ(skin.pixel(11 * g + 10, 11 * state + r), caption) << "glyph " << g << " state " << state;
            }
        }
    }
}

// Every state of a framed picture looks different from every other.
TEST(SkinCatalogue, StateFrames_AreDistinct) {
    const struct {
        const char* name;
        std::vector<QRect> frames;
    } cases[] = {
        {"PLAYBT", frames(4, 35, 34, true)},      {"PAUSEBT", frames(4, 35, 34, true)},
        {"VOLBT", frames(3, 26, 27, true)},       {"SLIBT", frames(3, 26, 27, true)},
        {"ctr_Lst", frames(4, 26, 26, true)},     {"ctr_Stop", frames(4, 26, 26, true)},
        {"tBt_Cls", frames(4, 24, 18, true)},     {"TABBAR", frames(2, 41, 24, true)},
        {"SCRARROWV", frames(5, 17, 18, true)},   {"SCRARROWVT", frames(5, 17, 18, true)},
        {"SCRARROWHR", frames(5, 18, 17, false)}, {"SCRBACKV", frames(2, 17, 2, true)},
        {"SCRTHUMBV", frames(4, 17, 15, false)},  {"SCRTHUMBH", frames(4, 15, 17, true)},
    };
    for (const auto& c : cases) {
        const QImage img = skinImage(c.name);
        for (size_t i = 0; i < c.frames.size(); ++i)
            for (size_t j = i + 1; j < c.frames.size(); ++j)
                EXPECT_NE(img.copy(c.frames[i]), img.copy(c.frames[j])) << c.name << " frames " << i << ", " << j;
    }
    const QImage skin = skinImage("SKIN");
    for (int g = 0; g < 7; ++g)
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                EXPECT_NE(skin.copy(11 * g, 11 * a, 11, 11), skin.copy(11 * g, 11 * b, 11, 11)) << "glyph " << g;
}

// The scrollbar glyphs stand on the key, centred in every frame.
TEST(SkinCatalogue, ArrowGlyphs_AreCentredOnTheKey) {
    const struct {
        const char* name;
        std::vector<QRect> frames;
    } cases[] = {
        {"SCRARROWVT", frames(5, 17, 18, true)},
        {"SCRARROWVB", frames(5, 17, 18, true)},
        {"SCRARROWHL", frames(5, 18, 17, false)},
        {"SCRARROWHR", frames(5, 18, 17, false)},
    };
    for (const auto& c : cases) {
        const QImage img = skinImage(c.name);
        for (const QRect& f : c.frames) {
            SCOPED_TRACE(testing::Message() << c.name << " frame at " << f.x() << "," << f.y());
            QRect ink;
            for (int y = f.top(); y <= f.bottom(); ++y)
                for (int x = f.left(); x <= f.right(); ++x)
                    if (!isKey(img.pixel(x, y))) ink |= QRect(x, y, 1, 1);
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_LE(std::abs((ink.left() - f.left()) - (f.right() - ink.right())), 1);
            EXPECT_LE(std::abs((ink.top() - f.top()) - (f.bottom() - ink.bottom())), 1);
        }
    }
}

// "PLAY" is a 12 x 12 RGBA PNG, 8 bits a channel, not interlaced, with real alpha: clear
// background, an opaque green triangle and soft edges between.
TEST(PlayIcon, IsA12x12RgbaPngWithSoftEdges) {
    const QByteArray png = imaging::LoadResData(QStringLiteral("PLAY"), QStringLiteral("PNGICON"));
    const PngHeader h = pngHeader(png);
    EXPECT_EQ(h.width, 12);
    EXPECT_EQ(h.height, 12);
    EXPECT_EQ(h.depth, 8);
    EXPECT_EQ(h.colourType, 6);
    EXPECT_EQ(h.interlace, 0);
    const QImage img = QImage::fromData(png, "png").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(img.size(), QSize(12, 12));
    int clear = 0, opaque = 0, soft = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const QRgb p = img.pixel(x, y);
            const int a = qAlpha(p);
            clear += a == 0;
            opaque += a == 255;
            soft += a > 0 && a < 255;
            if (a > 0) { EXPECT_TRUE(qGreen(p) > qRed(p) && qGreen(p) > qBlue(p)) << x << "," << y; }
        }
    }
    EXPECT_GT(clear, 0);
    EXPECT_GT(opaque, 0);
    EXPECT_GT(soft, 0);
}

// The application icon: 48, 32, 24 and 16 pixels, each as a palette PNG and an RGBA PNG.
TEST(AppIcon, HoldsFourSizesInPaletteAndTrueColour) {
    const Picture icon = imaging::LoadAppIcon();
    ASSERT_EQ(icon.kind(), Picture::Kind::Icon);
    std::vector<int> sizes;
    for (const QImage& img : icon.iconImages()) {
        EXPECT_EQ(img.width(), img.height());
        sizes.push_back(img.width());
    }
    EXPECT_EQ(sizes, (std::vector<int>{48, 48, 32, 32, 24, 24, 16, 16}));
    for (int size : {48, 32, 24, 16}) {
        for (int bits : {8, 32}) {
            SCOPED_TRACE(testing::Message() << size << " " << bits);
            const QByteArray png = resourceFile(QStringLiteral(":/icons/app_%1_%2.png").arg(size).arg(bits));
            const PngHeader h = pngHeader(png);
            EXPECT_EQ(h.width, size);
            EXPECT_EQ(h.colourType, bits == 8 ? 3 : 6);
            if (bits != 8) continue;
            // A palette icon is opaque or clear, nothing between.
            const QImage img = QImage::fromData(png, "png").convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) ASSERT_TRUE(qAlpha(img.pixel(x, y)) % 255 == 0);
        }
    }
}

// The tab strip's pointer: 32 x 32, black, white and clear only, hot spot (6, 0) on an
// opaque pixel.
TEST(TabPointer, IsMonochromeWithHotSpotOnTheTip) {
    const Picture pointer = imaging::LoadTabPointer();
    ASSERT_EQ(pointer.kind(), Picture::Kind::Cursor);
    EXPECT_EQ(pointer.hotSpot(), QPoint(6, 0));
    const QImage img = pointer.image().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(img.size(), QSize(32, 32));
    int black = 0, white = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = img.pixel(x, y);
            if (qAlpha(p) == 0) continue;
            ASSERT_EQ(qAlpha(p), 255) << x << "," << y;
            const QRgb c = p & 0xFFFFFF;
            ASSERT_TRUE(c == 0 || c == 0xFFFFFF) << x << "," << y;
            black += c == 0;
            white += c == 0xFFFFFF;
        }
    }
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
    EXPECT_EQ(qAlpha(img.pixel(6, 0)), 255);
    EXPECT_EQ(imaging::ResolveFormPicture(QStringLiteral("TABPOINTER")).hotSpot(), QPoint(6, 0));
}
