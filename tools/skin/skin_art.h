#pragma once
// The art of every compiled-in picture, drawn in code so it can be regenerated exactly.
// Each function returns one image at its catalogue size and frame grid.

#include "skin_canvas.h"

#include <QImage>
#include <QString>
#include <vector>

namespace skintool {

// Shared colours of the dark skin.
inline constexpr QRgb kPanelGrey = rgb(35, 35, 36); // lists, tool strip
inline constexpr QRgb kTabStrip = rgb(13, 20, 24);  // tab strip background
inline constexpr QRgb kAccent = rgb(83, 183, 2);    // selected tab, playing state
inline constexpr QRgb kAccentLight = rgb(132, 222, 48);
inline constexpr QRgb kAccentDark = rgb(58, 134, 0);
inline constexpr QRgb kTrack = rgb(29, 29, 30); // scrollbar track

// Row `y` (0..63) of the control bar's background, a subtle dark vertical gradient. The
// transport buttons and slider pieces are painted over the same rows so that their
// opaque corners continue the bar.
QRgb barColour(int y);
// Row `y` (0..20) of the caption background.
QRgb captionColour(int y);

// Control bar (bar_art.cpp).
SkinCanvas drawPlayCtr();
SkinCanvas drawPlayButton(bool pause);
SkinCanvas drawVolumeButton(bool muted);
SkinCanvas drawStopButton();
SkinCanvas drawListButton();
SkinCanvas drawHideButton();

// Window frame and tab strip (frame_art.cpp).
SkinCanvas drawSkin();
SkinCanvas drawTabBar();

// Scrollbar (scroll_art.cpp); `name` is one of the SCR... catalogue names.
SkinCanvas drawScrollPiece(const QString& name);

// Pictures with alpha (icon_art.cpp), as non-premultiplied ARGB32.
QImage drawPlayIcon();
QImage drawAppIcon(int size);
// The application icon reduced to a palette of at most 256 entries (one of them
// transparent) as an indexed image.
QImage appIconIndexed(int size);
// The tab strip's pointer: black, white and transparent only; hot spot (6, 0).
QImage drawTabPointer();

struct NamedBitmap {
    QString name;
    SkinCanvas canvas;
};
// Every named bitmap and form picture, in catalogue order.
std::vector<NamedBitmap> allBitmaps();

} // namespace skintool
