// An image viewer ("imageview"): a picture scaled to fit, zoomed in and out by whole steps
// (the up and down keys; a double tap toggles between fit and double size around the tapped
// point), panned by dragging or by the left and right keys while zoomed, with a small tracker
// showing the picture's outline and the part in view.
#pragma once

#include "corlist/controls/Control.h"
#include "corlist/controls/ShownPicture.h"
#include "corlist/controls/ViewGeometry.h"

#include <memory>

namespace corlist {

class ImageViewElement;

class ImageViewer : public Control {
public:
    // Two downs closer than this (ms) and kDoubleTapDistance (× border width) are a double tap.
    static constexpr DWORD kDoubleTapTime = 500;
    static constexpr int kDoubleTapDistance = 8;

    ImageViewer();

    void Layout(const RECT* parent) override;
    void Paint(DrawSurface& surface, const RECT& clip) override;
    int OnStylus(int event, int x, int y) override;
    int OnKey(UINT message, WPARAM key, LPARAM data) override;
    const char* KindName() const override { return "viewer"; }
    // The zoom shown, as "100%" for a fitted picture; empty without a picture.
    std::u16string Text() const override;

    void SetPicture(std::unique_ptr<Image> image);
    void SetBitmap(HBITMAP bitmap, bool owned);
    const ViewGeometry& Geometry() const { return m_geometry; }
    void SetZoom(int zoom);
    // Where the tracker lies (empty when the skin gives none).
    RECT TrackerRect() const;

private:
    ImageViewElement* Element() const;
    void PictureChanged();
    void PaintTracker(DrawSurface& surface, const RECT& clip);
    bool IsDoubleTap(int x, int y);

    ShownPicture m_picture;
    ViewGeometry m_geometry;
    POINT m_last{};          // where the pen was last
    DWORD m_lastDown = 0;
    bool m_hadDown = false;
};

} // namespace corlist
