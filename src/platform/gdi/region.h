#pragma once
// Regions: sets of pixels built from rectangles, rounded rectangles and ellipses, combined
// with the platform's modes.

#include "gdi_object.h"

#include <QRegion>
#include <vector>

namespace platform {

inline constexpr int32_t RGN_AND = 1;
inline constexpr int32_t RGN_OR = 2;
inline constexpr int32_t RGN_XOR = 3;
inline constexpr int32_t RGN_DIFF = 4;
inline constexpr int32_t RGN_COPY = 5;

inline constexpr int32_t RGN_ERROR = 0;
inline constexpr int32_t NULLREGION = 1;
inline constexpr int32_t SIMPLEREGION = 2;
inline constexpr int32_t COMPLEXREGION = 3;

class Region : public GdiObject {
public:
    explicit Region(QRegion region = {});

    const QRegion& qregion() const { return m_region; }
    void setQRegion(const QRegion& r) { m_region = r; }
    int32_t complexity() const;

private:
    QRegion m_region;
};

// The pixels of a rounded rectangle (l, t, r, b) whose corners are quarters of an ellipse of
// width `ew` and height `eh`; right and bottom edges excluded.
QRegion roundRectRegion(int32_t l, int32_t t, int32_t r, int32_t b, int32_t ew, int32_t eh);
// The pixels of the ellipse inscribed in (l, t, r, b).
QRegion ellipseRegion(int32_t l, int32_t t, int32_t r, int32_t b);

HRGN CreateRectRgn(int32_t l, int32_t t, int32_t r, int32_t b);
HRGN CreateRectRgnIndirect(const RECT& rc);
HRGN CreateRoundRectRgn(int32_t l, int32_t t, int32_t r, int32_t b, int32_t ew, int32_t eh);
HRGN CreateEllipticRgn(int32_t l, int32_t t, int32_t r, int32_t b);
// A region that is the union of `rects` (the platform's ExtCreateRegion over region data).
HRGN ExtCreateRegion(const std::vector<RECT>& rects);
int32_t CombineRgn(HRGN dest, HRGN src1, HRGN src2, int32_t mode);
int32_t OffsetRgn(HRGN rgn, int32_t dx, int32_t dy);
bool PtInRegion(HRGN rgn, int32_t x, int32_t y);
int32_t GetRgnBox(HRGN rgn, RECT* box);
bool EqualRgn(HRGN a, HRGN b);
bool SetRectRgn(HRGN rgn, int32_t l, int32_t t, int32_t r, int32_t b);

} // namespace platform
