// A cosmetic pen: solid, dashed, dotted or null, one or more pixels wide.
#pragma once

#include "gdi/GdiObject.h"

namespace platform {

class PenObject : public GdiObject {
public:
    explicit PenObject(const LOGPEN& pen) : GdiObject(GdiKind::Pen), m_log(pen) {}
    const LOGPEN& Log() const { return m_log; }
    bool IsNull() const { return m_log.lopnStyle == PS_NULL; }
    int Width() const { return m_log.lopnWidth.x < 1 ? 1 : int(m_log.lopnWidth.x); }
    COLORREF Color() const { return m_log.lopnColor; }

private:
    LOGPEN m_log;
};

} // namespace platform
