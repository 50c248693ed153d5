#pragma once
// Owning handles for drawing objects and memory contexts: a unique_ptr whose deleter is
// DeleteObject (or DeleteDC), so an object made for a drawing step is released on every way
// out of that step. Deleting an object that is still selected into a context is deferred by
// the layer until it is deselected, so a handle may go before the selection that uses it.

#include "dc.h"

#include <memory>

namespace platform {

struct GdiObjectDeleter {
    void operator()(GdiObject* obj) const { DeleteObject(obj); }
};

template <class T> using GdiHandle = std::unique_ptr<T, GdiObjectDeleter>;
using BitmapHandle = GdiHandle<Bitmap>;
using BrushHandle = GdiHandle<Brush>;
using PenHandle = GdiHandle<Pen>;
using FontHandle = GdiHandle<Font>;
using RegionHandle = GdiHandle<Region>;

struct DcDeleter {
    void operator()(DeviceContext* dc) const { DeleteDC(dc); }
};

// A memory or screen context the holder made (never a window's own context).
using DcHandle = std::unique_ptr<DeviceContext, DcDeleter>;

} // namespace platform
