// An image control ("imgctrl"): one picture in a rectangle, such as a contact's picture or a
// message box's icon. A picture the page gives is scaled to fit, aspect kept and centred;
// without one the control shows the skin's image (a sub-image the page may choose). The
// "Border" image of the element is drawn over either.
#pragma once

#include "corlist/controls/Control.h"
#include "corlist/controls/ShownPicture.h"

#include <memory>

namespace corlist {

class ButtonElement;
class Image;

class ImageControl : public Control {
public:
    ImageControl() = default;

    void Paint(DrawSurface& surface, const RECT& clip) override;
    const char* KindName() const override { return "image"; }

    // Shows `image` (the control keeps it); null goes back to the skin's image.
    void SetPicture(std::unique_ptr<Image> image);
    // Shows `bitmap`; with `owned` the control deletes it when it is replaced.
    void SetBitmap(HBITMAP bitmap, bool owned);
    void ClearPicture();
    bool HasPicture() const { return !m_picture.IsEmpty(); }
    // The sub-image of the skin's image shown without a picture (-1: its default).
    void SetImageIndex(int index);
    int ImageIndex() const { return m_index; }
    // Where a picture is drawn now (empty without one).
    RECT PictureRect() const;

private:
    ButtonElement* Element() const;

    ShownPicture m_picture;
    int m_index = -1;
};

} // namespace corlist
