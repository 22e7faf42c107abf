// What the checks of the built skins share: a window of a given area to build screens in,
// the pictures a skin names (every one of them must decode), and the trace check.
#pragma once

#include "common/XmlNode.h"
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/user.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace skintest {

// Just enough of a window for a screen or a pop-up to be built in: the whole screen, or the
// area given.
class BareOwner : public corlist::ControlOwner {
public:
    void SetArea(const RECT& area) {
        m_area = area;
        m_hasArea = true;
    }
    HWND Window() const override { return nullptr; }
    void InvalidateArea(const RECT&) override {}
    bool IsBuilding() const override { return m_building; }
    void SetBuilding(bool building) override { m_building = building; }
    RECT ClientArea() const override {
        return m_hasArea ? m_area
                         : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    void SetCurrentScreen(corlist::Control*) override {}
    corlist::Control* CurrentScreen() const override { return nullptr; }
    corlist::DrawSurface* Surface() override { return nullptr; }
    void SetModal(corlist::Control*) override {}
    corlist::Control* Modal() const override { return nullptr; }

private:
    RECT m_area{};
    bool m_hasArea = false;
    bool m_building = false;
};

// The skin reports every fault of its package, description and pictures in the trace.
inline void ExpectNoSkinFault(const std::vector<std::string>& trace) {
    for (const std::string& line : trace)
        if (line.find("FAILED") != std::string::npos || line.find("Exception") != std::string::npos)
            ADD_FAILURE() << line;
}

// Every "image" element under `root` (itself included), and the picture of every button and
// image control.
inline std::vector<corlist::ImageElement*> NamedPictures(common::XmlNode* root) {
    using corlist::SkinKind::kButton;
    using corlist::SkinKind::kImage;
    using corlist::SkinKind::kImgCtrl;
    std::vector<corlist::ImageElement*> images;
    std::vector<common::XmlNode*> pending{root};
    while (!pending.empty()) {
        common::XmlNode* node = pending.back();
        pending.pop_back();
        if (node->element && node->Kind() == kImage)
            images.push_back(static_cast<corlist::ImageElement*>(node->element));
        else if (node->element && (node->Kind() == kButton || node->Kind() == kImgCtrl))
            images.push_back(&static_cast<corlist::ButtonElement*>(node->element)->Image());
        for (common::XmlNode* child = node->firstChild; child; child = child->nextSibling)
            pending.push_back(child);
    }
    return images;
}

} // namespace skintest
