#include "corlist/controls/TextControl.h"

#include "corlist/controls/Button.h"
#include "corlist/controls/TextElement.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"

namespace corlist {

TextControl::TextControl(UINT label) : m_text(LoadLabel(label)) {}

void TextControl::SetText(const std::u16string& text) {
    m_text = text;
    Invalidate();
}

void TextControl::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(Rect()))
        return;
    auto* element = static_cast<TextElement*>(Descriptor());
    if (FillElement* fill = element ? element->Fill() : nullptr)
        fill->Paint(surface, Rect(), clip);
    FontElement* font = element ? (IsEnabled() ? element->Font() : element->DisabledFont()) : nullptr;
    if (font && !m_text.empty()) {
        RECT area = Rect();
        font->DrawText(surface, m_text.c_str(), int(m_text.size()), area, 0);
    }
    PaintContent(surface, clip);
}

} // namespace corlist
