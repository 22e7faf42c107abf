// Base of every GDI object in the object table. Objects are immutable after creation
// except for their selection count, which the table's lock guards: DeleteObject refuses
// an object that a device context still holds.
#pragma once

#include "ce/wingdi.h"

namespace platform {

enum class GdiKind {
    Pen = OBJ_PEN,
    Brush = OBJ_BRUSH,
    Dc = OBJ_DC,
    Font = OBJ_FONT,
    Bitmap = OBJ_BITMAP,
    Region = OBJ_REGION,
    MemoryDc = OBJ_MEMDC,
};

class GdiObject {
public:
    explicit GdiObject(GdiKind kind) : m_kind(kind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    GdiKind Kind() const { return m_kind; }
    bool IsStock() const { return m_stock; }
    void MarkStock() { m_stock = true; }

    // Number of device-context states (current or saved) holding the object; only under
    // GdiObjectTable::Mutex().
    int m_selectCount = 0;

private:
    GdiKind m_kind;
    bool m_stock = false;
};

} // namespace platform
