// A region handle's contents. Unlike the other objects a region is changed in place
// (CombineRgn, SetRectRgn); device contexts copy it when it is selected.
#pragma once

#include "gdi/GdiObject.h"
#include "gdi/Region.h"

namespace platform {

class RegionObject : public GdiObject {
public:
    explicit RegionObject(Region region) : GdiObject(GdiKind::Region), m_region(std::move(region)) {}
    Region m_region;
};

} // namespace platform
