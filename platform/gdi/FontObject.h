// A logical font; the face and size it renders with are resolved once, on creation.
#pragma once

#include "gdi/FontFace.h"
#include "gdi/GdiObject.h"

namespace platform {

class FontObject : public GdiObject {
public:
    FontObject(const LOGFONTW& font, FontFace* face)
        : GdiObject(GdiKind::Font), m_log(font), m_face(face) {}
    const LOGFONTW& Log() const { return m_log; }
    // The face is owned by the font cache and lives as long as the process.
    FontFace* Face() const { return m_face; }

private:
    LOGFONTW m_log;
    FontFace* m_face;
};

} // namespace platform
