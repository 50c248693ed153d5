#pragma once
// The skin images compiled into the program, looked up by name: the named 24-bit bitmaps,
// the raw PNG resources, the application icon and the pictures the forms carry.

#include "platform/forms/runtime_error.h"
#include "platform/gdi/picture.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace imaging {

// One named bitmap of the catalogue: its size and frame grid.
struct SkinEntry {
    const char* name;
    int32_t width;
    int32_t height;
};

// The named bitmaps (resource kind bitmap), in catalogue order.
const std::vector<SkinEntry>& skinBitmaps();
// The design-time pictures of the main window's controls ("ctr_Lst", "ctr_Stop", "tBt_Cls"),
// loadable through LoadResPicture as well.
const std::vector<SkinEntry>& formPictures();

// Loads a named bitmap as a picture (kind bitmap) with exactly its stored pixels. A name
// that is not in the catalogue raises the runtime's "Resource with this identifier not
// found" error (number 326).
platform::Picture LoadResPicture(const QString& name);
// The raw bytes of a custom resource by type and name (e.g. "PNGICON", "PLAY"); raises the
// same error for an unknown pair.
QByteArray LoadResData(const QString& name, const QString& type);
// The application icon: 48, 32, 24 and 16 pixels, each in 8-bit palette and 32-bit colour.
platform::Picture LoadAppIcon();
// The tab strip's pointer: a 32 x 32 monochrome pointer with its hot spot at (6, 0).
platform::Picture LoadTabPointer();

// Resolves picture names used in form files (bitmaps, form pictures, "APPICON",
// "TABPOINTER"); Nothing for an unknown name.
platform::Picture ResolveFormPicture(const QString& name);

inline constexpr uint32_t kErrResourceNotFound = 326;

} // namespace imaging
