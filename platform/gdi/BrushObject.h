// A solid or hollow brush.
#pragma once

#include "gdi/GdiObject.h"

namespace platform {

class BrushObject : public GdiObject {
public:
    explicit BrushObject(const LOGBRUSH& brush) : GdiObject(GdiKind::Brush), m_log(brush) {}
    const LOGBRUSH& Log() const { return m_log; }
    bool IsHollow() const { return m_log.lbStyle == BS_NULL; }
    COLORREF Color() const { return m_log.lbColor; }

private:
    LOGBRUSH m_log;
};

} // namespace platform
