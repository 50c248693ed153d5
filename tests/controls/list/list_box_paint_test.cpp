// The channel list's pixels: row geometry, stripes, colours, cells, the play icon, the wheel.
#include "list_fixture.h"

#include <QPixmap>

#include "imaging/skin_catalogue.h"

using namespace platform;
using controls::ucListBox;

namespace {

constexpr COLORREF kBack = RGB(3, 3, 3);
constexpr COLORREF kBk1 = RGB(0, 0, 0);
constexpr COLORREF kBk2 = RGB(2, 2, 2);
constexpr COLORREF kSelBk = RGB(4, 4, 4);
constexpr COLORREF kBorder = RGB(128, 128, 128);
constexpr COLORREF kNor = RGB(0, 0, 255);
constexpr COLORREF kSel = RGB(255, 255, 0);
constexpr COLORREF kPly = RGB(0, 255, 0);
constexpr COLORREF kErr = RGB(255, 0, 0);

struct PaintFixture : ListFixture {
    void makeColoured(int w = 300, int h = 402) {
        make(w, h);
        list->setBackColor(kBack);
        list->setItemBkColor1(kBk1);
        list->setItemBkColor2(kBk2);
        list->setItemSelBkColor(kSelBk);
        list->setBorderColor(kBorder);
        list->setItemNorTextColor(kNor);
        list->setItemSelTextColor(kSel);
        list->setItemPlyTextColor(kPly);
        list->setItemErrTextColor(kErr);
    }
    // Pixels of a glyph drawn in `c` over a near-black row: the colour's own channels rise,
    // the others stay low.
    int textPixels(int x0, int y0, int x1, int y1, COLORREF c) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const COLORREF p = listtest::pixel(list, x, y);
                bool match = true;
                for (int shift : {0, 8, 16}) {
                    const int want = (c >> shift) & 0xFF;
                    const int got = (p >> shift) & 0xFF;
                    match = match && (want ? got > 64 : got < 32);
                }
                n += match ? 1 : 0;
            }
        }
        return n;
    }
    int rowTop(int slot) const { return slot * 27 + 2; }
    // Rightmost column that holds text pixels of colour c in a row's band.
    int rightmostText(int slot, COLORREF c, int x0, int x1) const {
        for (int x = x1 - 1; x >= x0; --x) {
            if (textPixels(x, rowTop(slot), x + 1, rowTop(slot) + 27, c) > 0) return x;
        }
        return -1;
    }
};

} // namespace

// With a border of 1, row 0 starts at y = 2 below a cleared line; the space below a short
// list takes the background down to the bottom border, starting two lines into the last row.
TEST_F(PaintFixture, RowGeometryBorderAndBackgroundBelow) {
    makeColoured();
    fill(5);
    list->Refresh();
    const int x = 296; // right end of the rows, clear of any text
    EXPECT_EQ(listtest::pixel(list, x, 0), kBorder);
    EXPECT_EQ(listtest::pixel(list, x, 1), kBack);
    EXPECT_EQ(listtest::pixel(list, x, 2), kBk1);
    EXPECT_EQ(listtest::pixel(list, x, 28), kBk1);
    EXPECT_EQ(listtest::pixel(list, x, 29), kBk2);
    EXPECT_EQ(listtest::pixel(list, x, 110), kBk1);
    EXPECT_EQ(listtest::pixel(list, x, 134), kBk1);
    EXPECT_EQ(listtest::pixel(list, x, 135), kBack) << "the last row's lowest lines take the background";
    EXPECT_EQ(listtest::pixel(list, x, 400), kBack);
    EXPECT_EQ(listtest::pixel(list, x, 401), kBorder);
    EXPECT_EQ(listtest::pixel(list, 0, 50), kBorder);
    EXPECT_EQ(listtest::pixel(list, 1, 50), kBk2);
    EXPECT_EQ(listtest::pixel(list, 298, 50), kBk2);
    EXPECT_EQ(listtest::pixel(list, 299, 50), kBorder);
}

// Without a border rows start at y = 1 and hit bands coincide with them.
TEST_F(PaintFixture, NoBorderGeometry) {
    makeColoured();
    list->setBorder(false);
    fill(3);
    list->Refresh();
    EXPECT_EQ(listtest::pixel(list, 296, 0), kBack);
    EXPECT_EQ(listtest::pixel(list, 296, 1), kBk1);
    EXPECT_EQ(listtest::pixel(list, 296, 28), kBk2);
    EXPECT_EQ(list->IndexFromPoint(0, 28), 1);
    EXPECT_EQ(listtest::pixel(list, 0, 10), kBk1);
}

// Scrolling by one row swaps the stripe colours of every visible item.
TEST_F(PaintFixture, StripesFollowTheFirstVisibleRow) {
    makeColoured();
    fill(40);
    list->Refresh();
    EXPECT_EQ(listtest::pixel(list, 250, rowTop(1)), kBk2); // item 1
    list->ucBar()->setValue(1);
    EXPECT_EQ(list->FirstIndex(), 1);
    EXPECT_EQ(listtest::pixel(list, 250, rowTop(0)), kBk1); // item 1, now first
    EXPECT_EQ(listtest::pixel(list, 250, rowTop(1)), kBk2); // item 2
}

// Text colours: normal, playing, faulty, and the selection that overrides them all.
TEST_F(PaintFixture, TextColoursByState) {
    makeColoured();
    fill(6);
    list->setItemError(2, true);
    list->setItemError(3, true);
    list->setPlayIndex(1);
    list->setListIndex(3);
    list->setPlayIndex(4);
    list->setListIndex(4);
    list->setPlayIndex(1);
    list->Refresh();
    auto titleText = [&](int slot, COLORREF c) { return textPixels(30, rowTop(slot), 150, rowTop(slot) + 27, c); };
    EXPECT_GT(titleText(0, kNor), 0);
    EXPECT_GT(titleText(1, kPly), 0);
    EXPECT_EQ(titleText(1, kNor), 0);
    EXPECT_GT(titleText(2, kErr), 0);
    EXPECT_GT(titleText(3, kErr), 0);
    EXPECT_GT(titleText(4, kSel), 0);
    EXPECT_EQ(listtest::pixel(list, 296, rowTop(4)), kSelBk);
    // The selected row keeps its colour when it is the playing, faulty row.
    list->setItemError(4, true);
    list->setPlayIndex(4);
    EXPECT_GT(titleText(4, kSel), 0);
    EXPECT_EQ(titleText(4, kErr), 0);
}

// The number cell of a faulty playing row: its number in Style 0, the icon in Style 1.
TEST_F(PaintFixture, PlayIconOrNumberByStyle) {
    makeColoured();
    fill(4);
    list->setItemError(1, true);
    list->setItemError(2, true);
    list->setPlayIndex(1);
    list->Refresh();
    const int numberWidth = list->NumberColumnWidth();
    auto cell = [&](int slot) {
        std::vector<COLORREF> px;
        for (int y = rowTop(slot); y < rowTop(slot) + 27; ++y) {
            for (int x = 1; x < 1 + numberWidth; ++x) px.push_back(listtest::pixel(list, x, y));
        }
        return px;
    };
    EXPECT_GT(textPixels(1, rowTop(1), 1 + numberWidth, rowTop(1) + 27, kErr), 0) << "Style 0 shows the number";

    list->setStyle(1);
    // Row 2 (faulty, not playing) shows "3" in the error colour; the playing row does not.
    EXPECT_GT(textPixels(1, rowTop(2), 1 + numberWidth, rowTop(2) + 27, kErr), 0);
    EXPECT_EQ(textPixels(1, rowTop(1), 1 + numberWidth, rowTop(1) + 27, kErr), 0);
    // Whatever the icon looks like, a faulty and a sound playing row show the same one.
    const auto faulty = cell(1);
    list->setItemError(1, false);
    EXPECT_EQ(cell(1), faulty);
}

// A long title is cut with "..." inside its cell; a short one is drawn whole. The Style 0
// columns to its right are untouched.
TEST_F(PaintFixture, LongTitleIsCutAtItsCell) {
    makeColoured();
    list->AddItem(QString(200, QChar('W')), QString("au"), std::nullopt, 61);
    list->AddItem("Wi");
    list->Refresh();
    const int rw = list->UserControlWidth();
    const int titleX = list->NumberColumnWidth() + 1 + 2;
    const int titleRight =
        titleX + rw - list->NumberColumnWidth() - list->AuthorColumnWidth() - list->TimeColumnWidth();
    const int authorX = rw - list->TimeColumnWidth() - list->AuthorColumnWidth();
    const int right = rightmostText(0, kNor, titleX, authorX);
    EXPECT_LT(right, titleRight);
    EXPECT_GT(right, titleRight - 12);
    // The author "au" is centred in its column and drawn whole.
    EXPECT_GT(textPixels(authorX, rowTop(0), authorX + list->AuthorColumnWidth(), rowTop(0) + 27, kNor), 0);
    EXPECT_LT(rightmostText(1, kNor, titleX, authorX), titleX + 30);
}

// The wheel moves Int(ViewHeight / ItemHeight x 0.2 + 1) rows per notch and raises Scroll;
// at the top, away from the user, nothing happens.
TEST_F(PaintFixture, WheelSteps) {
    makeColoured();
    fill(100);
    listtest::wheel(list, {100, 100}, 120);
    EXPECT_TRUE(events.empty());
    listtest::wheel(list, {100, 100}, -120);
    EXPECT_EQ(list->FirstIndex(), 3);
    EXPECT_EQ(events, (std::vector<std::string>{"Scroll"}));
    listtest::wheel(list, {100, 100}, -480);
    EXPECT_EQ(list->FirstIndex(), 6) << "one step per message, whatever the delta";
    list->ucBar()->setValue(85);
    listtest::wheel(list, {100, 100}, -120);
    EXPECT_EQ(list->FirstIndex(), 86);
    listtest::wheel(list, {5, 5}, 120);
    EXPECT_EQ(list->FirstIndex(), 83);

    // While every row fits, the wheel does nothing.
    list->Clear();
    fill(5);
    listtest::wheel(list, {100, 100}, -120);
    EXPECT_EQ(list->FirstIndex(), 0);
    EXPECT_TRUE(events.empty());
}

// Dragging the embedded bar's thumb scrolls the rows and raises the list's Scroll.
TEST_F(PaintFixture, BarDragScrollsTheList) {
    makeColoured();
    fill(100);
    controls::UcScrollBar* bar = list->ucBar();
    const int thumbY = bar->thumbPos() + 2;
    listtest::press(bar, {8, thumbY});
    listtest::moveWithButtons(bar, {8, thumbY + 100}, Qt::LeftButton);
    listtest::release(bar, {8, thumbY + 100});
    EXPECT_GT(list->FirstIndex(), 0);
    EXPECT_EQ(list->FirstIndex(), bar->Value());
    EXPECT_EQ(events, (std::vector<std::string>{"Scroll"}));
}

// The retained image keeps the rows visible when the window repaints itself.
TEST_F(PaintFixture, ContentSurvivesWindowRepaint) {
    makeColoured();
    fill(3);
    list->Refresh();
    list->repaint();
    const QImage shown = list->grab().toImage();
    EXPECT_EQ(fromQRgb(shown.pixel(296, 2)), kBk1);
    EXPECT_EQ(fromQRgb(shown.pixel(296, 29)), kBk2);
    EXPECT_EQ(fromQRgb(shown.pixel(0, 0)), kBorder);
}

// In a form designer the list shows its name and outline instead of rows.
TEST_F(PaintFixture, DesignModePainting) {
    Window::setDesignMode(true);
    make();
    Window::setDesignMode(false);
    EXPECT_EQ(listtest::pixel(list, 0, 0), ucListBox::kDefaultBorderColor);
    EXPECT_EQ(listtest::pixel(list, 150, 200), ucListBox::kDefaultBackColor);
    int named = 0;
    for (int y = 3; y < 20; ++y) {
        for (int x = 3; x < 90; ++x) named += listtest::pixel(list, x, y) != ucListBox::kDefaultBackColor ? 1 : 0;
    }
    EXPECT_GT(named, 10);
}

// The playing row shows the "PLAY" resource, decoded by the program's own PNG decoder and
// blended with its per-pixel alpha at (LeftOffset + 2, row top + R((27 - 12) / 2)).
TEST_F(PaintFixture, PlayIconIsTheDecodedResourceBlendedOverTheRow) {
    makeColoured();
    fill(3);
    list->setStyle(1);
    list->setPlayIndex(1);
    list->Refresh();
    const QImage icon = QImage::fromData(imaging::LoadResData(QStringLiteral("PLAY"), QStringLiteral("PNGICON")), "PNG")
                            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(icon.size(), QSize(12, 12));
    const int x0 = 1 + 2, y0 = rowTop(1) + 8; // R(7.5) = 8
    const uint32_t bg = kBk2;                 // row 1 is an odd stripe
    int opaque = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const QRgb s = icon.pixel(x, y);
            const COLORREF got = listtest::pixel(list, x0 + x, y0 + y);
            const int a = qAlpha(s);
            // Premultiplied source over the background, rounded as the blend rounds.
            for (int shift : {0, 8, 16}) {
                const int sc = shift == 0 ? qRed(s) : (shift == 8 ? qGreen(s) : qBlue(s));
                const int want = std::min(255, sc + ((static_cast<int>((bg >> shift) & 0xFF) * (255 - a) + 127) / 255));
                ASSERT_NEAR(static_cast<int>((got >> shift) & 0xFF), want, 1) << x << "," << y;
            }
            opaque += a == 255 ? 1 : 0;
        }
    }
    EXPECT_GT(opaque, 10) << "the icon has a solid body";
}
