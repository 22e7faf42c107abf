#include "corlist/controls/LetterPreview.h"

#include "common/XmlReader.h"
#include "corlist/controls/LetterBarElement.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/user.h"

namespace corlist {

namespace {

// The element object of the first child of `node` of `kind`.
SkinElement* FirstOfKind(common::XmlNode* node, uint32_t kind) {
    for (common::XmlNode* child = node ? node->firstChild : nullptr; child; child = child->nextSibling)
        if (child->Kind() == kind)
            return static_cast<SkinElement*>(child->element);
    return nullptr;
}

} // namespace

void LetterPreview::SetLook(LetterBarElement* element) {
    m_size = element ? element->PreviewSize() : SIZE{};
    common::XmlNode* look = element && element->Node()
                                ? common::XmlReader::FindNode(element->Node()->firstChild, "LetterPreview",
                                                              common::kGenericElementKind)
                                : nullptr;
    m_font = static_cast<FontElement*>(FirstOfKind(look, SkinKind::kFont));
    m_fill = static_cast<FillElement*>(FirstOfKind(look, SkinKind::kFill));
}

RECT LetterPreview::Area(const RECT& over) const {
    if (!IsShown() || m_size.cx <= 0 || m_size.cy <= 0)
        return RECT{};
    LONG left = over.left + (over.right - over.left - m_size.cx) / 2;
    LONG top = over.top + (over.bottom - over.top - m_size.cy) / 2;
    return RECT{left, top, left + m_size.cx, top + m_size.cy};
}

void LetterPreview::Paint(DrawSurface& surface, const RECT& clip, const RECT& over) const {
    RECT area = Area(over);
    if (IsEmptyRect(IntersectRects(area, clip)))
        return;
    if (m_fill)
        m_fill->Paint(surface, area, clip);
    if (m_font) {
        RECT text = area;
        m_font->DrawText(surface, &m_letter, 1, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

} // namespace corlist
