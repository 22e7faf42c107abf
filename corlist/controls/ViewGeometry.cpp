#include "corlist/controls/ViewGeometry.h"

#include "corlist/skin/DrawSurface.h"

#include <algorithm>
#include <cmath>

namespace corlist {

void ViewGeometry::SetPicture(LONG width, LONG height) {
    m_width = std::max<LONG>(0, width);
    m_height = std::max<LONG>(0, height);
    m_zoom = 1;
    m_centreX = m_width / 2.0;
    m_centreY = m_height / 2.0;
}

void ViewGeometry::SetView(const RECT& view) {
    m_view = view;
    ClampCentre();
}

void ViewGeometry::SetZoom(int zoom) {
    m_zoom = std::clamp(zoom, 1, kMaxZoom);
    ClampCentre();
}

double ViewGeometry::Scale() const {
    LONG viewWidth = m_view.right - m_view.left, viewHeight = m_view.bottom - m_view.top;
    if (m_width <= 0 || m_height <= 0 || viewWidth <= 0 || viewHeight <= 0)
        return 0;
    return std::min(double(viewWidth) / m_width, double(viewHeight) / m_height) * m_zoom;
}

void ViewGeometry::SetCentre(double x, double y) {
    m_centreX = x;
    m_centreY = y;
    ClampCentre();
}

void ViewGeometry::CentreOn(int x, int y) {
    double scale = Scale();
    if (scale <= 0)
        return;
    RECT picture = PictureRect();
    SetCentre((x - picture.left) / scale, (y - picture.top) / scale);
}

void ViewGeometry::ZoomAt(int zoom, int x, int y) {
    double scale = Scale();
    if (scale <= 0) {
        SetZoom(zoom);
        return;
    }
    RECT picture = PictureRect();
    double pointX = (x - picture.left) / scale, pointY = (y - picture.top) / scale;
    m_zoom = std::clamp(zoom, 1, kMaxZoom);
    SetCentre(pointX, pointY);
}

void ViewGeometry::PanBy(int dx, int dy) {
    double scale = Scale();
    if (scale > 0)
        SetCentre(m_centreX - dx / scale, m_centreY - dy / scale);
}

// Per axis: a picture narrower than the view stays centred, a wider one covers the view.
void ViewGeometry::ClampCentre() {
    double scale = Scale();
    if (scale <= 0)
        return;
    auto clamp = [scale](double centre, LONG size, LONG view) {
        double half = view / (2 * scale);
        return size * scale <= view ? size / 2.0 : std::clamp(centre, half, size - half);
    };
    m_centreX = clamp(m_centreX, m_width, m_view.right - m_view.left);
    m_centreY = clamp(m_centreY, m_height, m_view.bottom - m_view.top);
}

RECT ViewGeometry::PictureRect() const {
    double scale = Scale();
    if (scale <= 0)
        return RECT{};
    double left = m_view.left + (m_view.right - m_view.left) / 2.0 - m_centreX * scale;
    double top = m_view.top + (m_view.bottom - m_view.top) / 2.0 - m_centreY * scale;
    return RECT{LONG(std::lround(left)), LONG(std::lround(top)), LONG(std::lround(left + m_width * scale)),
                LONG(std::lround(top + m_height * scale))};
}

RECT ViewGeometry::VisibleTarget() const {
    return IntersectRects(PictureRect(), m_view);
}

RECT ViewGeometry::VisibleSource() const {
    double scale = Scale();
    RECT target = VisibleTarget();
    if (scale <= 0 || IsEmptyRect(target))
        return RECT{};
    RECT picture = PictureRect();
    auto toPicture = [scale](LONG offset, LONG size) {
        return std::clamp<LONG>(LONG(std::lround(offset / scale)), 0, size);
    };
    return RECT{toPicture(target.left - picture.left, m_width), toPicture(target.top - picture.top, m_height),
                toPicture(target.right - picture.left, m_width), toPicture(target.bottom - picture.top, m_height)};
}

} // namespace corlist
