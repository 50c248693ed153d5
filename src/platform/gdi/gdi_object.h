#pragma once
// Base of the drawing objects (bitmaps, brushes, pens, fonts, regions). Handles are plain
// pointers, as on the desktop platform; an object selected into a device context outlives a
// DeleteObject until it is deselected, so no context ever draws with freed memory.

#include "platform/window/messages.h"

namespace platform {

class GdiObject {
public:
    enum class Type { Bitmap, Brush, Pen, Font, Region };

    explicit GdiObject(Type type);
    virtual ~GdiObject();
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Type type() const { return m_type; }
    bool isStock() const { return m_stock; }

    // Selection bookkeeping used by device contexts.
    void addSelection() { ++m_selected; }
    void removeSelection();
    bool isSelected() const { return m_selected > 0; }
    // Stock objects belong to the system: never deleted and not counted as live objects.
    void markStock();
    void requestDelete();

private:
    Type m_type;
    bool m_stock = false;
    bool m_deletePending = false;
    int m_selected = 0;
};

// Deletes a drawing object. Stock objects are never deleted; an object still selected into a
// context is deleted when it is deselected. Null is ignored. Returns false for null.
bool DeleteObject(HGDIOBJ obj);

// Number of live drawing objects and device contexts the program created (stock objects not
// counted); tests use it to prove that a control released what it made.
int gdiObjectCount();
int deviceContextCount();

} // namespace platform
