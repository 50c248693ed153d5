#pragma once
// cScrollbarDraw: the painter of the skinned scrollbar. It owns the twelve "SCR..." skin
// images and knows how each is sliced into frames and edges; the scrollbar tells it which
// part to draw, in which frame, into which rectangle.
//
// Slicing (vertical images; the horizontal ones are the same turned on their side):
//   SCRARROWV  17 x 90   five 17 x 18 frames stacked; columns 0-2 | 3-13 | 14-16
//   SCRBACKV   17 x 4    two 17 x 2 frames stacked;   columns 0-2 | 3-13 | 14-16
//   SCRTHUMBV  68 x 15   four 17 x 15 frames side by side, nine-slice with 3-pixel borders
//   SCRGRIPV   10 x 36   9 x 10 grip frames stacked, drawn with the magenta key

#include "imaging/pc_mem_dc.h"
#include "platform/gdi/dc.h"

#include <array>

namespace controls {

enum class ScrollOrientation : int32_t { Vertical = 0, Horizontal = 1 };

// The frames of the images, by their place in the image.
enum class ArrowFrame : int32_t { Normal = 0, PointerOver = 1, Hot = 2, Pressed = 3, Disabled = 4 };
enum class TrackFrame : int32_t { Normal = 0, Pressed = 1 };
enum class ThumbFrame : int32_t { Normal = 0, Hot = 1, Pressed = 2, Disabled = 3 };

class cScrollbarDraw {
public:
    // Loads all twelve images. An image the catalogue cannot supply stays empty and its
    // parts draw nothing.
    cScrollbarDraw();
    cScrollbarDraw(const cScrollbarDraw&) = delete;
    cScrollbarDraw& operator=(const cScrollbarDraw&) = delete;

    void DrawArrow1(platform::HDC hdc, ScrollOrientation o, ArrowFrame frame, const platform::RECT& rc);
    void DrawArrow2(platform::HDC hdc, ScrollOrientation o, ArrowFrame frame, const platform::RECT& rc);
    void DrawTrack(platform::HDC hdc, ScrollOrientation o, TrackFrame frame, const platform::RECT& rc);
    void DrawThumb(platform::HDC hdc, ScrollOrientation o, ThumbFrame frame, const platform::RECT& rc);

    // The images in catalogue order of this class (see kImageNames).
    enum Image {
        BackH,
        BackV,
        ArrowH,
        ArrowV,
        ArrowVT,
        ArrowVB,
        ArrowHL,
        ArrowHR,
        ThumbV,
        ThumbH,
        GripV,
        GripH,
        ImageCount
    };
    static const std::array<const char*, ImageCount> kImageNames;
    bool loaded(Image i) const { return m_images[i].hdc() != nullptr; }

private:
    void drawArrow(platform::HDC hdc, ScrollOrientation o, int32_t f, const platform::RECT& rc, Image glyph);
    // Copies and stretches that skip empty or negative target sizes instead of mirroring.
    void copy(platform::HDC hdc, Image i, int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx, int32_t dy,
              bool mask = false);
    void stretch(platform::HDC hdc, Image i, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dx, int32_t dy,
                 int32_t dw, int32_t dh);

    std::array<imaging::pcMemDC, ImageCount> m_images;
};

} // namespace controls
