#include "corlist/frame/MenuIcons.h"

#include "corlist/controls/Menu.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/Skin.h"

namespace corlist {

namespace {

struct MenuIcon {
    UINT command;
    int strip;
    int index;
};

// The pictures' meanings are the skins' (skins/README.md).
constexpr MenuIcon kMenuIcons[] = {
    {144, WellKnownImage::kMenuContact, 0},  {143, WellKnownImage::kMenuContact, 1},
    {340, WellKnownImage::kMenuContact, 1},  {237, WellKnownImage::kMenuContact, 1},
    {238, WellKnownImage::kMenuContact, 1},  {531, WellKnownImage::kMenuContact, 1},
    {221, WellKnownImage::kMenuContact, 1},  {530, WellKnownImage::kMenuContact, 1},
    {529, WellKnownImage::kMenuContact, 1},  {174, WellKnownImage::kMenuContact, 1},
    {133, WellKnownImage::kMenuContact, 2},  {343, WellKnownImage::kMenuContact, 3},
    {176, WellKnownImage::kMenuContact, 3},  {219, WellKnownImage::kMenuContact, 4},
    {132, WellKnownImage::kMenuContact, 5},  {134, WellKnownImage::kMenuContact, 5},
    {135, WellKnownImage::kMenuContact, 5},  {171, WellKnownImage::kMenuContact, 5},
    {234, WellKnownImage::kMenuContact, 5},  {220, WellKnownImage::kMenuContact, 5},
    {345, WellKnownImage::kMenuContact, 5},  {361, WellKnownImage::kMenuContact, 6},
    {128, WellKnownImage::kMenuContact, 6},  {1712, WellKnownImage::kMenuContact, 7},
    {141, WellKnownImage::kMenuContact, 8},  {139, WellKnownImage::kMenuContact, 9},
    {140, WellKnownImage::kMenuContact, 10}, {163, WellKnownImage::kMenuContact, 11},
    {147, WellKnownImage::kMenuContact, 12}, {507, WellKnownImage::kMenuContact, 13},
    {511, WellKnownImage::kMenuContact, 13}, {509, WellKnownImage::kMenuContact, 13},
    {501, WellKnownImage::kMenuContact, 13}, {526, WellKnownImage::kMenuContact, 13},
    {508, WellKnownImage::kMenuContact, 13}, {131, WellKnownImage::kMenuContact, 15},
    {527, WellKnownImage::kMenuContact, 15}, {158, WellKnownImage::kMenuContact, 16},
    {127, WellKnownImage::kMenuContact, 17}, {137, WellKnownImage::kMenuContact, 0},
    {136, WellKnownImage::kMenuSendContact, 0}, {142, WellKnownImage::kMenuSendContact, 1},
    {239, WellKnownImage::kMenuSendContact, 2}, {240, WellKnownImage::kMenuSendContact, 3},
    {177, WellKnownImage::kMenuCategories, 0}, {178, WellKnownImage::kMenuCategories, 1},
    {179, WellKnownImage::kMenuCategories, 2}, {506, WellKnownImage::kMenuCategories, 3},
    {121, WellKnownImage::kCallState, 0},      {122, WellKnownImage::kCallState, 1},
    {125, WellKnownImage::kCallState, 2},      {124, WellKnownImage::kCallState, 3},
    {350, WellKnownImage::kCallState, 4},      {354, WellKnownImage::kCallState, 5},
    {351, WellKnownImage::kCallState, 6},      {352, WellKnownImage::kCallState, 7},
    {353, WellKnownImage::kCallState, 8},      {510, WellKnownImage::kCallState, 9},
};

} // namespace

int SubmenuStrip(UINT label) {
    switch (label) {
    case 127:
    case 167:
        return WellKnownImage::kMenuSendContact;
    case 138:
        return WellKnownImage::kMenuCategories;
    case 342:
    case 349:
        return WellKnownImage::kCallState;
    default:
        return WellKnownImage::kMenuContact;
    }
}

int MenuIconOf(UINT command, int strip) {
    for (const MenuIcon& icon : kMenuIcons)
        if (icon.command == command && icon.strip == strip)
            return icon.index;
    return -1;
}

void DecorateMenu(Skin& skin, MenuRowList& list, int strip) {
    auto* icons = static_cast<ImageElement*>(skin.WellKnownImage(strip, SkinKind::kImage));
    list.icons = icons;
    for (const auto& row : list.rows) {
        if (row->flags & MenuRowFlag::kTitle)
            continue;
        row->icon = icons ? MenuIconOf(row->command, strip) : -1;
        if (row->submenu)
            DecorateMenu(skin, *row->submenu, SubmenuStrip(row->command));
    }
}

} // namespace corlist
