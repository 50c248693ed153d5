// The shared text rule: whole text when it fits, otherwise the longest fitting beginning
// and "...", left-aligned; checked against the pixels of a plain DrawText of the expected
// string.
#include "imaging/draw_text_ellipsis.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"
#include "platform/gdi/memory_surface.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

using namespace platform;
using imaging::DrawTextEllipsis;

namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr int kW = 240;
constexpr int kH = 24;

// A white memory surface with a font selected, black text, transparent background.
class TextSurface {
public:
    explicit TextSurface(const QString& face, int height = -12) : m_surface(kW, kH, kPaper) {
        m_dc = m_surface.dc();
        m_font = CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
        m_oldFont = SelectObject(m_dc, m_font);
        SetBkMode(m_dc, TRANSPARENT);
        SetTextColor(m_dc, RGB(0, 0, 0));
    }
    ~TextSurface() {
        SelectObject(m_dc, m_oldFont);
        DeleteObject(m_font);
    }
    TextSurface(const TextSurface&) = delete;
    TextSurface& operator=(const TextSurface&) = delete;

    HDC dc() const { return m_dc; }
    int32_t extent(const QString& s) const {
        SIZE sz;
        GetTextExtentPoint32(m_dc, s, &sz);
        return sz.cx;
    }
    // The columns that received ink, as [first, last]; (-1, -1) when none did.
    std::pair<int, int> inkColumns() const {
        int first = -1, last = -1;
        for (int x = 0; x < kW; ++x) {
            for (int y = 0; y < kH; ++y) {
                if (GetPixel(m_dc, x, y) != kPaper) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
            }
        }
        return {first, last};
    }
    bool samePixels(const TextSurface& other) const {
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (GetPixel(m_dc, x, y) != GetPixel(other.m_dc, x, y)) return false;
        return true;
    }
    // What a plain left-aligned DrawText of `s` at (x, y) draws, with room to spare.
    void drawPlain(const QString& s, int x, int y) {
        RECT rc{x, y, kW, y + kH};
        DrawText(m_dc, s, &rc, DT_NOPREFIX);
    }

private:
    MemorySurface m_surface;
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_oldFont;
};

const QString kLatin = QStringLiteral("DejaVu Sans");
const QString kDots = QStringLiteral("...");

} // namespace

// A text that fits comes back with its own width and is drawn with the caller's format:
// centred when asked, at the left edge otherwise.
TEST(DrawTextEllipsis, FittingText_ReturnsItsWidthAndKeepsTheFormat) {
    const QString text = QStringLiteral("Radio 1");
    TextSurface centred(kLatin);
    const int32_t tw = centred.extent(text);
    ASSERT_GT(tw, 20);
    EXPECT_EQ(DrawTextEllipsis(centred.dc(), text, 20, 2, 200, 20, DT_CENTER), tw);
    const auto [first, last] = centred.inkColumns();
    ASSERT_GE(first, 0);
    EXPECT_NEAR((first + last) / 2.0, 20 + 100, 3);

    TextSurface left(kLatin);
    EXPECT_EQ(DrawTextEllipsis(left.dc(), text, 20, 2, tw, 20, 0), tw);
    TextSurface reference(kLatin);
    reference.drawPlain(text, 20, 2);
    EXPECT_TRUE(left.samePixels(reference));
}

// Cut texts: one pixel too narrow, much too narrow, and narrower than "..." itself. The
// result is the longest beginning whose width w satisfies width - e >= w (at least one
// character), then "...", drawn from the left edge even when centring was asked for.
TEST(DrawTextEllipsis, TooWideText_KeepsTheLongestFittingBeginningLeftAligned) {
    const QString text = QStringLiteral("Phoenix Chinese Channel");
    TextSurface probe(kLatin);
    const int32_t tw = probe.extent(text);
    const int32_t e = probe.extent(kDots);
    ASSERT_GT(e, 2);
    for (int32_t width : {tw - 1, tw / 2, e + 1, e, 2, 0}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        qsizetype n = text.size() - 1;
        while (n > 1 && probe.extent(text.left(n)) > width - e) --n;
        const QString expected = text.left(n) + kDots;

        TextSurface drawn(kLatin);
        const int32_t ret = DrawTextEllipsis(drawn.dc(), text, 10, 3, width, 18, DT_CENTER | DT_VCENTER);
        EXPECT_EQ(ret, probe.extent(text.left(n)) + e);
        TextSurface reference(kLatin);
        reference.drawPlain(expected, 10, 3);
        EXPECT_TRUE(drawn.samePixels(reference)) << "expected " << expected.toStdString();
    }
}

// A beginning never ends between the two halves of a surrogate pair, and when nothing fits
// the first whole character (both halves) is kept.
TEST(DrawTextEllipsis, SurrogatePair_IsNeverCut) {
    const QString pair = QString::fromUcs4(U"\U0001F3B5");
    ASSERT_EQ(pair.size(), 2);
    const QString text = QStringLiteral("ab") + pair + QStringLiteral("cdefgh");
    TextSurface probe(kLatin);
    const int32_t e = probe.extent(kDots);
    const int32_t ab = probe.extent(QStringLiteral("ab"));
    const int32_t withPair = probe.extent(QStringLiteral("ab") + pair);
    ASSERT_GT(withPair, ab);

    struct Case {
        int32_t width;
        QString head;
    };
    const Case cases[] = {
        {ab + e, QStringLiteral("ab")},
        {withPair + e - 1, QStringLiteral("ab")},
        {withPair + e, QStringLiteral("ab") + pair},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width);
        TextSurface drawn(kLatin);
        EXPECT_EQ(DrawTextEllipsis(drawn.dc(), text, 0, 2, c.width, 20, 0), probe.extent(c.head) + e);
        TextSurface reference(kLatin);
        reference.drawPlain(c.head + kDots, 0, 2);
        EXPECT_TRUE(drawn.samePixels(reference));
    }

    TextSurface narrow(kLatin);
    const QString leading = pair + pair + QStringLiteral("x");
    EXPECT_EQ(DrawTextEllipsis(narrow.dc(), leading, 0, 2, 1, 20, 0), probe.extent(pair) + e);
}

// "宋体" resolves to an installed face that covers Chinese, every character advances by the
// same width, and a cut keeps whole characters.
TEST(DrawTextEllipsis, ChineseText_IsMeasuredInACjkFace) {
    const QString family = resolveFontFamily(QStringLiteral("宋体"));
    ASSERT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString();
    EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese));

    const QString text = QStringLiteral("中央电视台综合频道");
    TextSurface probe(QStringLiteral("宋体"), pointsToLogicalHeight(9));
    const int32_t advance = probe.extent(QStringLiteral("中"));
    ASSERT_GE(advance, 10);
    EXPECT_EQ(probe.extent(text), advance * text.size());
    const int32_t e = probe.extent(kDots);

    TextSurface drawn(QStringLiteral("宋体"), pointsToLogicalHeight(9));
    EXPECT_EQ(DrawTextEllipsis(drawn.dc(), text, 4, 4, 5 * advance + e + advance / 2, 16, DT_CENTER), 5 * advance + e);
    TextSurface reference(QStringLiteral("宋体"), pointsToLogicalHeight(9));
    reference.drawPlain(QStringLiteral("中央电视台..."), 4, 4);
    EXPECT_TRUE(drawn.samePixels(reference));
    EXPECT_GE(drawn.inkColumns().first, 4);
}

// Ampersands are characters, not mnemonic markers; an empty text draws nothing.
TEST(DrawTextEllipsis, AmpersandAndEmptyText) {
    TextSurface drawn(kLatin);
    const QString text = QStringLiteral("R&B");
    EXPECT_EQ(DrawTextEllipsis(drawn.dc(), text, 0, 2, 200, 20, 0), drawn.extent(text));
    TextSurface reference(kLatin);
    reference.drawPlain(text, 0, 2);
    EXPECT_TRUE(drawn.samePixels(reference));

    TextSurface empty(kLatin);
    EXPECT_EQ(DrawTextEllipsis(empty.dc(), QString(), 0, 2, 200, 20, DT_CENTER), 0);
    EXPECT_EQ(empty.inkColumns().first, -1);
}
