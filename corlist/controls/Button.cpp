#include "corlist/controls/Button.h"

#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/LibraryText.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

#include <algorithm>

namespace corlist {

std::u16string LoadLabel(UINT number) {
    return number == 0 ? std::u16string() : LibraryText(number);
}

Button::Button(UINT label) : m_labelNumber(label), m_label(LoadLabel(label)) {}

// The row's label is given again once the button is in place: the page may have loaded
// another language in between.
void Button::Attached(Control* parent) {
    if (m_labelNumber != 0)
        m_label = LoadLabel(m_labelNumber);
}

void Button::SetText(const std::u16string& text) {
    m_label = text;
    Invalidate();
}

void Button::SetType(int type) {
    m_type = type >= 0 && type <= 3 ? type : 0;
    Invalidate();
}

ButtonElement* Button::Element() const {
    return static_cast<ButtonElement*>(Descriptor());
}

void Button::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(Rect()))
        return;
    ButtonElement* element = Element();
    if (FillElement* fill = element ? element->Fill() : nullptr)
        fill->Paint(surface, Rect(), clip);
    if (element) {
        ImageElement* look = IsPressed() ? element->PressedImage() : nullptr;
        if (!look)
            look = element->TypeImage(m_type);
        if (look)
            look->Draw(surface, Rect(), -1, &clip);
        else if (element->Image().Image(false) || element->Image().Image(true))
            element->Image().Draw(surface, Rect(), -1, &clip);
    }
    if (FontElement* font = element ? element->LabelFont() : nullptr; font && !m_label.empty()) {
        // The label takes the room right of the icon area.
        RECT area = Rect();
        if (ControlElement* icon = element->IconArea())
            if (const RectSpec* spec = ChooseRectSpec(icon->RectSpecs(), OrientationClass()))
                area.left = std::max(area.left, ResolveRect(*spec, &Rect(), surface.Width(), surface.Height()).right);
        font->DrawText(surface, m_label.c_str(), int(m_label.size()), area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    PaintContent(surface, clip);
}

} // namespace corlist
