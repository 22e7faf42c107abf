#include "corlist/controls/ImageControl.h"

#include "corlist/controls/ButtonElement.h"
#include "corlist/image/Image.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinKinds.h"

namespace corlist {

ButtonElement* ImageControl::Element() const {
    return static_cast<ButtonElement*>(Descriptor());
}

void ImageControl::SetPicture(std::unique_ptr<Image> image) {
    m_picture.SetImage(std::move(image));
    Invalidate();
}

void ImageControl::SetBitmap(HBITMAP bitmap, bool owned) {
    m_picture.SetBitmap(bitmap, owned);
    Invalidate();
}

void ImageControl::ClearPicture() {
    m_picture.Clear();
    Invalidate();
}

void ImageControl::SetImageIndex(int index) {
    m_index = index < 0 ? -1 : index;
    Invalidate();
}

RECT ImageControl::PictureRect() const {
    SIZE size = m_picture.Size();
    return FitRect(size.cx, size.cy, Rect());
}

void ImageControl::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(Rect()))
        return;
    ButtonElement* element = Element();
    if (FillElement* fill = element ? element->Fill() : nullptr)
        fill->Paint(surface, Rect(), clip);
    SIZE size = m_picture.Size();
    if (size.cx > 0 && size.cy > 0)
        m_picture.Draw(surface, RECT{0, 0, size.cx, size.cy}, PictureRect());
    else if (element)
        element->Image().Draw(surface, Rect(), m_index, &clip);
    if (auto* border = element ? static_cast<ImageElement*>(element->Child(SkinKind::kImage, "Border")) : nullptr)
        border->Draw(surface, Rect(), -1, &clip);
    PaintContent(surface, clip);
}

} // namespace corlist
