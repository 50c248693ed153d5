// First checks that the windowing layer and its contexts work end to end.
#include "platform/colors.h"
#include "platform/dc.h"
#include "platform/window_functions.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

TEST(WindowSmoke, PressArrivesAsMessageWithClientCoordinates) {
    Window top;
    top.resize(200, 100);
    top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
    std::vector<std::tuple<UINT, WPARAM, LPARAM>> seen;
    top.setProcedure(makeProcedure([&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_LBUTTONDOWN || m == WM_LBUTTONUP) seen.emplace_back(m, w, l);
        return DefWindowProc(h, m, w, l);
    }));
    QTest::mousePress(&top, Qt::LeftButton, {}, QPoint(12, 34));
    QTest::mouseRelease(&top, Qt::LeftButton, {}, QPoint(12, 34));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(std::get<0>(seen[0]), WM_LBUTTONDOWN);
    EXPECT_EQ(std::get<1>(seen[0]), MK_LBUTTON);
    EXPECT_EQ(GET_X_LPARAM(std::get<2>(seen[0])), 12);
    EXPECT_EQ(GET_Y_LPARAM(std::get<2>(seen[0])), 34);
    EXPECT_EQ(std::get<1>(seen[1]), 0u);
}

TEST(DcSmoke, FillExcludesRightAndBottomEdges) {
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 10, 10);
    HGDIOBJ old = SelectObject(mem, bmp);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, {2, 2, 5, 5}, red);
    EXPECT_EQ(GetPixel(mem, 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(mem, 4, 4), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(mem, 5, 4), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(mem, 4, 5), RGB(0, 0, 0));
    SelectObject(mem, old);
    DeleteObject(red);
    DeleteObject(bmp);
    DeleteDC(mem);
}
