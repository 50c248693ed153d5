#include "gdi_object.h"

namespace platform {

namespace {
int g_liveObjects = 0;
}

GdiObject::GdiObject(Type type) : m_type(type) { ++g_liveObjects; }

GdiObject::~GdiObject() {
    if (!m_stock) --g_liveObjects;
}

void GdiObject::markStock() {
    if (m_stock) return;
    m_stock = true;
    --g_liveObjects;
}

void GdiObject::removeSelection() {
    if (m_selected > 0) --m_selected;
    if (m_selected == 0 && m_deletePending) delete this;
}

void GdiObject::requestDelete() {
    if (m_stock) return;
    if (m_selected > 0) {
        m_deletePending = true;
        return;
    }
    delete this;
}

bool DeleteObject(HGDIOBJ obj) {
    if (!obj) return false;
    obj->requestDelete();
    return true;
}

int gdiObjectCount() { return g_liveObjects; }

} // namespace platform
