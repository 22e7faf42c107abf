#include "GalleryToday.h"

#include "common/XmlReader.h"
#include "corlist/controls/Control.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlHost.h"
#include "corlist/controls/GridElement.h"
#include "corlist/controls/TextElement.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinMetrics.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace gallery {

namespace {

using namespace corlist;
using common::XmlNode;
using common::XmlReader;

// The ten default items: the strip and picture each draws, and its badge count (0: none).
struct SampleItem {
    const char* strip;
    int index;
    int badge;
};
constexpr SampleItem kItems[] = {
    {"StdItems", 0, 0},         {"StdItems", 1, 0},
    {"StdItems", 2, 3},         {"StdItems", 4, 2},
    {"StdItems", 5, 0},         {"WirelessIcons", 0, 0},
    {"WirelessIconsOff", 1, 0}, {"WirelessIcons", 2, 0},
    {"Profiles", 0, 0},         {nullptr, 0, 0}, // the keyboard lock, from the drawing section
};
constexpr int kPressedItem = 2;
constexpr int kSelectedItem = 6;

RECT Resolve(const RectSpec* spec, const RECT& parent) {
    return spec ? ResolveRect(*spec, &parent, GetSystemMetrics(SM_CXSCREEN),
                              GetSystemMetrics(SM_CYSCREEN))
                : RECT{};
}

XmlNode* DrawEntry(Skin& skin, const char* name) {
    XmlNode* section =
        XmlReader::FindNode(skin.Root()->firstChild, "KTSkin", common::kGenericElementKind);
    for (XmlNode* draw = section ? section->firstChild : nullptr; draw; draw = draw->nextSibling)
        for (XmlNode* item = draw->firstAttribute; item; item = item->nextSibling)
            if (item->name && std::strcmp(item->name, "name") == 0 && item->payload &&
                std::strcmp(static_cast<const char*>(item->payload), name) == 0)
                return draw;
    return nullptr;
}

ImageElement* ItemPicture(Skin& skin, const SampleItem& item) {
    XmlNode* node = nullptr;
    if (item.strip) {
        XmlNode* images =
            XmlReader::FindNode(skin.Root()->firstChild, "Images", common::kGenericElementKind);
        node = images ? XmlReader::FindNode(images->firstChild, item.strip, SkinKind::kImage)
                      : nullptr;
    } else if (XmlNode* lock = DrawEntry(skin, "KeyLock")) {
        node = XmlReader::FindNode(lock->firstChild, nullptr, SkinKind::kImage);
    }
    return node ? static_cast<ImageElement*>(node->element) : nullptr;
}

void DrawBadge(Skin& skin, DrawSurface& surface, const RECT& icon, int count, const RECT& clip) {
    XmlNode* badge = DrawEntry(skin, "Badge");
    XmlNode* node =
        badge ? XmlReader::FindNode(badge->firstChild, "Count", SkinKind::kText) : nullptr;
    if (!node)
        return;
    auto* look = static_cast<TextElement*>(node->element);
    RECT rect = Resolve(ChooseRectSpec(look->RectSpecs(), OrientationClass()), icon);
    if (FillElement* fill = look->Fill())
        fill->Paint(surface, rect, clip);
    std::u16string text(1, char16_t(u'0' + count));
    look->Font()->DrawText(surface, text.c_str(), -1, rect, DT_SINGLELINE);
}

// Draws the sample items into the grid cells, rows centred in the grid.
void DrawItems(Skin& skin, Control& screen, DrawSurface& surface) {
    Control* bar = screen.FindByDescriptor(SkinKind::kControl, "ItemBar", true);
    XmlNode* strip = XmlReader::FindNode(skin.Root()->firstChild, "MainWnd", SkinKind::kControl);
    XmlNode* node =
        strip ? XmlReader::FindNode(strip->firstChild, "ItemBar", SkinKind::kControl) : nullptr;
    node = node ? XmlReader::FindNode(node->firstChild, "ItemsGrid", SkinKind::kGrid) : nullptr;
    if (!bar || !node)
        return;
    auto* grid = static_cast<GridElement*>(node->element);
    XmlNode* itemNode = XmlReader::FindNode(node->firstChild, "Item", SkinKind::kControl);
    auto* cellLook = itemNode ? static_cast<ControlElement*>(itemNode->element) : nullptr;
    RECT area = Resolve(ChooseRectSpec(grid->RectSpecs(), OrientationClass()), bar->Rect());
    RECT cell = Resolve(&grid->ItemRect(), area);
    int width = std::max<int>(cell.right - cell.left, 1);
    int height = std::max<int>(cell.bottom - cell.top, 1);
    int columns = std::max<int>((area.right - area.left) / width, 1);
    int left = area.left + (area.right - area.left - columns * width) / 2;
    RECT all{0, 0, surface.Width(), surface.Height()};
    for (int slot = 0; slot < int(std::size(kItems)); ++slot) {
        RECT box{left + slot % columns * width, area.top + slot / columns * height, 0, 0};
        box.right = box.left + width;
        box.bottom = box.top + height;
        const char* look = slot == kPressedItem    ? "Pressed"
                           : slot == kSelectedItem ? "Selected"
                                                   : "Normal";
        if (FillElement* fill = cellLook ? cellLook->Fill(look) : nullptr)
            fill->Paint(surface, box, all);
        RECT icon = Resolve(&grid->ImageRect(), box);
        if (ImageElement* picture = ItemPicture(skin, kItems[slot]))
            picture->Draw(surface, icon, kItems[slot].index, &all);
        if (kItems[slot].badge > 0)
            DrawBadge(skin, surface, icon, kItems[slot].badge, all);
    }
}

void FillTimeBar(Control& screen) {
    const struct {
        const char* name;
        const char16_t* text;
    } kTexts[] = {
        {"Time", u"09:41"},
        {"AMPM", u"AM"},
        {"Date", u"Tue, 8 Dec 2026"},
        {"Operator", u"Tavik Mobile"},
        {"Alarm", u"07:30AM\n08:15AM"},
    };
    for (const auto& sample : kTexts)
        if (Control* control = screen.FindByDescriptor(SkinKind::kText, sample.name, true))
            control->SetText(sample.text);
}

} // namespace

bool ShootToday(const RECT& area, const ScreenFile& file) {
    int width = area.right - area.left;
    std::u16string package = width < 480 ? u"Default.rpk" : u"Default.VGA.rpk";
    Skin skin;
    skin.SetProgramFolder(u"\\Program Files\\Tavik Dialora\\Skins\\Today\\");
    InstallControlDescriptors(skin);
    if (!skin.Load((u"\\Program Files\\Tavik Dialora\\Skins\\Today\\" + package).c_str()))
        return false;
    XmlNode* strip = XmlReader::FindNode(skin.Root()->firstChild, "MainWnd", SkinKind::kControl);
    const RectSpec* spec =
        strip ? ChooseRectSpec(static_cast<ControlElement*>(strip->element)->RectSpecs(),
                               OrientationClass())
              : nullptr;
    RECT window = Resolve(spec, area);
    bool ok = spec && window.bottom > window.top;
    HWND parent = ok ? CreateParentWindow(u"GalleryTodayParent", &DefWindowProcW, window) : nullptr;
    ControlHost host;
    ok = ok && parent &&
         host.Create(skin, "MainWnd", nullptr, parent, WS_CHILD | WS_VISIBLE, window);
    if (ok)
        FillTimeBar(host.Screen());
    ok = ok && SaveSurface(host, file("today"),
                           [&](DrawSurface& surface) { DrawItems(skin, host.Screen(), surface); });
    host.Destroy();
    if (parent)
        DestroyWindow(parent);
    skin.ClearSkin();
    return ok;
}

} // namespace gallery
