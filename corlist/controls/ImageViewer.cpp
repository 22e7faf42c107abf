#include "corlist/controls/ImageViewer.h"

#include "corlist/controls/ImageViewElement.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/SkinMetrics.h"
#include "corlist/skin/SurfaceFill.h"

#include "ce/kernel.h"
#include "ce/user.h"

#include <cstdlib>
#include <string>

namespace corlist {

ImageViewer::ImageViewer() {
    m_state |= ControlState::kFocusable;
}

ImageViewElement* ImageViewer::Element() const {
    return static_cast<ImageViewElement*>(Descriptor());
}

void ImageViewer::SetPicture(std::unique_ptr<Image> image) {
    m_picture.SetImage(std::move(image));
    PictureChanged();
}

void ImageViewer::SetBitmap(HBITMAP bitmap, bool owned) {
    m_picture.SetBitmap(bitmap, owned);
    PictureChanged();
}

void ImageViewer::PictureChanged() {
    SIZE size = m_picture.Size();
    m_geometry.SetPicture(size.cx, size.cy);
    m_geometry.SetView(Rect());
    Invalidate();
}

void ImageViewer::SetZoom(int zoom) {
    m_geometry.SetZoom(zoom);
    Invalidate();
}

void ImageViewer::Layout(const RECT* parent) {
    Control::Layout(parent);
    m_geometry.SetView(Rect());
}

std::u16string ImageViewer::Text() const {
    if (m_picture.IsEmpty())
        return {};
    std::string text = std::to_string(m_geometry.Zoom() * 100) + "%";
    return std::u16string(text.begin(), text.end());
}

RECT ImageViewer::TrackerRect() const {
    ImageViewElement* element = Element();
    if (!element || !element->Tracker().IsSet())
        return RECT{};
    return ResolveRect(element->Tracker(), &Rect(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void ImageViewer::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(Rect()))
        return;
    if (FillElement* fill = Element() ? Element()->Fill() : nullptr)
        fill->Paint(surface, Rect(), clip);
    m_picture.Draw(surface, m_geometry.VisibleSource(), m_geometry.VisibleTarget());
    if (m_geometry.Zoom() > 1)
        PaintTracker(surface, clip);
    PaintContent(surface, clip);
}

// The picture's outline fitted into the tracker, and the part in view inside it filled
// translucently in the tracker colour.
void ImageViewer::PaintTracker(DrawSurface& surface, const RECT& clip) {
    ImageViewElement* element = Element();
    SIZE size = m_picture.Size();
    RECT outline = FitRect(size.cx, size.cy, TrackerRect());
    if (!element || element->TrackerColour() == kColourNone || IsEmptyRect(outline))
        return;
    RECT source = m_geometry.VisibleSource();
    int64_t w = outline.right - outline.left, h = outline.bottom - outline.top;
    RECT part{LONG(outline.left + source.left * w / size.cx), LONG(outline.top + source.top * h / size.cy),
              LONG(outline.left + source.right * w / size.cx), LONG(outline.top + source.bottom * h / size.cy)};
    COLORREF colour = element->TrackerColour();
    int opacity = element->Opacity();
    FillRect(surface, IntersectRects(part, clip), colour, opacity >= 256 ? 0 : opacity);
    const RECT lines[4] = {{outline.left, outline.top, outline.right, outline.top + 1},
                           {outline.left, outline.bottom - 1, outline.right, outline.bottom},
                           {outline.left, outline.top, outline.left + 1, outline.bottom},
                           {outline.right - 1, outline.top, outline.right, outline.bottom}};
    for (const RECT& line : lines)
        FillRect(surface, IntersectRects(line, clip), colour, 0);
}

bool ImageViewer::IsDoubleTap(int x, int y) {
    DWORD now = GetTickCount();
    int distance = kDoubleTapDistance * GetSystemMetrics(SM_CXBORDER);
    bool twice = m_hadDown && now - m_lastDown <= kDoubleTapTime && std::abs(x - m_last.x) <= distance &&
                 std::abs(y - m_last.y) <= distance;
    m_hadDown = !twice; // a third tap starts a new pair
    m_lastDown = now;
    return twice;
}

int ImageViewer::OnStylus(int event, int x, int y) {
    switch (event) {
    case StylusEvent::kDown:
        if (IsDoubleTap(x, y)) {
            if (m_geometry.Zoom() == 1)
                m_geometry.ZoomAt(2, x, y);
            else
                m_geometry.SetZoom(1);
            Invalidate();
        }
        m_last = POINT{x, y};
        return Tracking::kTrack;
    case StylusEvent::kMove:
    case StylusEvent::kUp:
        if (m_geometry.Zoom() > 1 && (x != m_last.x || y != m_last.y)) {
            m_geometry.PanBy(x - m_last.x, y - m_last.y);
            Invalidate();
        }
        if (event == StylusEvent::kMove)
            m_last = POINT{x, y};
        return Tracking::kNone;
    default:
        return Control::OnStylus(event, x, y);
    }
}

int ImageViewer::OnKey(UINT message, WPARAM key, LPARAM data) {
    if (message != WM_KEYDOWN || m_picture.IsEmpty())
        return Control::OnKey(message, key, data);
    int zoom = m_geometry.Zoom();
    int step = std::max(1, int(Rect().right - Rect().left) / 4);
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        if ((key == VK_UP && zoom >= ViewGeometry::kMaxZoom) || (key == VK_DOWN && zoom <= 1))
            return -1; // at the end: the parent may move the focus on
        SetZoom(key == VK_UP ? zoom * 2 : zoom / 2);
        return 0;
    case VK_LEFT:
    case VK_RIGHT:
        if (zoom <= 1)
            return -1;
        m_geometry.PanBy(key == VK_LEFT ? step : -step, 0);
        Invalidate();
        return 0;
    default:
        return Control::OnKey(message, key, data);
    }
}

} // namespace corlist
