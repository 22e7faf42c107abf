// Where an image viewer shows its picture: scaled to fit the view at zoom 1, enlarged by
// whole zoom steps up to kMaxZoom, centred on a point of the picture that panning moves and
// that is held so that a zoomed picture always covers the view. Pure arithmetic.
#pragma once

#include "ce/types.h"

namespace corlist {

class ViewGeometry {
public:
    static constexpr int kMaxZoom = 8;

    void SetPicture(LONG width, LONG height);
    void SetView(const RECT& view);
    // The zoom (1..kMaxZoom); a new zoom keeps the centre (clamped again).
    void SetZoom(int zoom);
    int Zoom() const { return m_zoom; }
    // Centres the picture point shown at view point (x, y).
    void CentreOn(int x, int y);
    // Changes the zoom and centres the picture point that was shown at view point (x, y).
    void ZoomAt(int zoom, int x, int y);
    // Moves the picture by (dx, dy) screen pixels, as far as it covers the view.
    void PanBy(int dx, int dy);
    void SetCentre(double x, double y);
    double CentreX() const { return m_centreX; }
    double CentreY() const { return m_centreY; }

    // Screen pixels per picture pixel (0 without a picture or a view).
    double Scale() const;
    // Where the whole picture lies (may reach beyond the view).
    RECT PictureRect() const;
    // The part of the view the picture covers, and the part of the picture shown there.
    RECT VisibleTarget() const;
    RECT VisibleSource() const;

private:
    void ClampCentre();

    LONG m_width = 0;
    LONG m_height = 0;
    RECT m_view{};
    int m_zoom = 1;
    double m_centreX = 0;
    double m_centreY = 0;
};

} // namespace corlist
