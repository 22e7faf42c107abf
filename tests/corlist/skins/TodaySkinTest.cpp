// The Today plug-in's skins as built ("Default" and "Simple", each at both sizes): every
// package loads from "\Skins\Today" on the screens it is made for, holds every element the
// plug-in looks up with the kind it looks for, its icon strips decode with the number of
// pictures the items index, and "MainWnd" lays out on every screen: the strip no higher
// than the screen, every control inside it, the time-bar texts apart, and an item grid of
// finger-sized cells that takes the ten default items.
#include "../skin/SkinDevice.h"
#include "SkinChecks.h"

#include "common/XmlReader.h"
#include "corlist/controls/Control.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/controls/GridElement.h"
#include "corlist/controls/MenuElement.h"
#include "corlist/controls/ScreenBuilder.h"
#include "corlist/controls/TextElement.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <strings.h>

using namespace corlist;
using common::XmlNode;

namespace {

struct Screen {
    int width;
    int height;
    int scale; // the coordinate scale of that screen
};
const Screen kScreens[] = {
    {240, 320, 1}, {320, 240, 1}, {480, 640, 2}, {640, 480, 2}, {800, 480, 2}};
const char* const kVariants[] = {"Default", "Simple"};

constexpr int kFingerPixels = 36; // the smallest tap target at scale 1
constexpr int kStripHeight = 188; // "MainWnd": the time bar and two rows of items
constexpr int kDefaultItems = 10; // the plug-in's default slots

// Elements the plug-in finds by kind and name: top-level ones, and those anywhere under
// "MainWnd".
struct Wanted {
    uint32_t kind;
    const char* name;
};
const Wanted kTopLevel[] = {
    {SkinKind::kControl, "MainWnd"},
    {SkinKind::kMenu, "Popup"},
    {SkinKind::kText, "Small"},
    {common::kGenericElementKind, "KTSkin"},
    {common::kGenericElementKind, "Images"},
};
const Wanted kInMainWnd[] = {
    {SkinKind::kControl, "Background"}, {SkinKind::kText, "Operator"},
    {SkinKind::kText, "Date"},          {SkinKind::kText, "Time"},
    {SkinKind::kText, "AMPM"},          {SkinKind::kText, "Alarm"},
    {SkinKind::kImgCtrl, "AlarmIcon"},  {SkinKind::kGrid, "ItemsGrid"},
    {SkinKind::kControl, "Item"},       {SkinKind::kButton, "Remover"},
};

// The strips and pictures of "Images": how many pictures each holds, and the size of one
// at scale 1.
struct Strip {
    const char* name;
    int count;
    int width;
    int height;
};
const Strip kStrips[] = {
    {"StdItems", 6, 32, 32}, {"WirelessIcons", 3, 32, 32}, {"WirelessIconsOff", 3, 32, 32},
    {"Profiles", 7, 32, 32}, {"Caller", 1, 32, 32},        {"Remove", 1, 24, 24},
};

// The controls of the strip as the plug-in builds it: the time bar's texts and icon, the
// bars, and the item bar's remover. The grid is laid out by the plug-in itself.
const ControlTableRow kStripRows[] = {
    {SkinKind::kControl, "Background", 1},
    {SkinKind::kControl, "TimeBar", 2},
    {SkinKind::kText, "Time", 3},
    {SkinKind::kText, "AMPM", 4},
    {SkinKind::kText, "Date", 5},
    {SkinKind::kText, "Operator", 6},
    {SkinKind::kImgCtrl, "AlarmIcon", 7},
    {SkinKind::kText, "Alarm", 8},
    {SkinKind::kControl, "ItemBar", 9},
    {SkinKind::kButton, "Remover", 10},
    {},
};
// The time-bar elements, which must not cover one another, and whether a tap on the
// element itself opens something (the others share the tap of the text beside them).
struct TimeBarElement {
    uint32_t kind;
    const char* name;
    bool tapped;
};
const TimeBarElement kTimeBar[] = {
    {SkinKind::kText, "Time", true},          {SkinKind::kText, "AMPM", false},
    {SkinKind::kText, "Date", true},          {SkinKind::kText, "Operator", true},
    {SkinKind::kImgCtrl, "AlarmIcon", false}, {SkinKind::kText, "Alarm", true},
};

// The first node of `kind` named `name` at or below `first` and its siblings.
XmlNode* FindDeep(XmlNode* first, const char* name, uint32_t kind) {
    for (XmlNode* node = first; node; node = node->nextSibling) {
        if (node->Kind() == kind && node->name && strcasecmp(node->name, name) == 0)
            return node;
        if (XmlNode* found = FindDeep(node->firstChild, name, kind))
            return found;
    }
    return nullptr;
}

// The "name" attribute of a section's generic element ("Draw"), or null.
const char* GenericName(const XmlNode* node) {
    for (const XmlNode* list : {node->firstAttribute, node->firstChild})
        for (const XmlNode* item = list; item; item = item->nextSibling)
            if (item->Kind() == common::kGenericAttributeKind && item->name &&
                strcmp(item->name, "name") == 0)
                return static_cast<const char*>(item->payload);
    return nullptr;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// One variant of the skin on one screen.
struct Param {
    const char* variant;
    Screen screen;
};
std::vector<Param> AllParams() {
    std::vector<Param> all;
    for (const char* variant : kVariants)
        for (const Screen& screen : kScreens)
            all.push_back({variant, screen});
    return all;
}
std::string ParamName(const Param& param) {
    return std::string(param.variant) + std::to_string(param.screen.width) + "x" +
           std::to_string(param.screen.height);
}
void PrintTo(const Param& param, std::ostream* out) {
    *out << ParamName(param);
}

class TodaySkinTest : public skintest::SkinDevice, public ::testing::WithParamInterface<Param> {
protected:
    TodaySkinTest() {
        m_options.screenWidth = GetScreen().width;
        m_options.screenHeight = GetScreen().height;
    }
    static const Screen& GetScreen() { return GetParam().screen; }
    static int Scale() { return GetScreen().scale; }
    // The package the plug-in picks for the screen: ".VGA" from 480 pixels wide.
    static std::string PackageFile() {
        return std::string(GetParam().variant) + (Scale() == 2 ? ".VGA.rpk" : ".rpk");
    }
    void SetUp() override {
        SkinDevice::SetUp();
        std::filesystem::path folder = m_device->FsRoot() / "Skins" / "Today";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(std::filesystem::path(DIALORA_IMAGE_DIR) / "Skins" / "Today" /
                                       PackageFile(),
                                   folder / PackageFile());
        InstallControlDescriptors(m_skin);
        std::string path = "\\Skins\\Today\\" + PackageFile();
        ASSERT_TRUE(m_skin.Load(std::u16string(path.begin(), path.end()).c_str()));
        ExpectNoTrace();
    }
    void TearDown() override {
        m_skin.ClearSkin();
        SkinDevice::TearDown();
    }
    XmlNode* TopLevel(uint32_t kind, const char* name) {
        return common::XmlReader::FindNode(m_skin.Root()->firstChild, name, kind);
    }
    XmlNode* InMainWnd(uint32_t kind, const char* name) {
        XmlNode* strip = TopLevel(SkinKind::kControl, "MainWnd");
        return strip ? FindDeep(strip->firstChild, name, kind) : nullptr;
    }
    // The window's area: the screen's width and the height "MainWnd" asks for.
    RECT StripArea() {
        XmlNode* strip = TopLevel(SkinKind::kControl, "MainWnd");
        if (!strip)
            return {};
        const RectSpec* spec = ChooseRectSpec(
            static_cast<ControlElement*>(strip->element)->RectSpecs(), OrientationClass());
        if (!spec)
            return {};
        RECT screen{0, 0, GetScreen().width, GetScreen().height};
        return ResolveRect(*spec, &screen, GetScreen().width, GetScreen().height);
    }
    // "MainWnd" built as the plug-in builds it, in a window the strip's size.
    bool BuildStrip(Control& root) {
        m_owner.SetArea(StripArea());
        return BuildScreen(root, m_owner, nullptr, m_skin, "MainWnd", kStripRows, 0);
    }
    static void ExpectNoTrace() { skintest::ExpectNoSkinFault(TakeTrace()); }

    Skin m_skin;
    skintest::BareOwner m_owner;
};

TEST_P(TodaySkinTest, LoadsAtTheScreensCoordinateScale) {
    EXPECT_EQ(CoordinateScale(), Scale());
    EXPECT_EQ(m_skin.Vga(), 0);
    EXPECT_NE(m_skin.ColourMask(), kColourNone);
}

TEST_P(TodaySkinTest, HoldsEveryElementThePlugInLooksUpWithItsKind) {
    for (const Wanted& wanted : kTopLevel) {
        XmlNode* node = TopLevel(wanted.kind, wanted.name);
        ASSERT_NE(node, nullptr) << wanted.name << " of kind " << wanted.kind;
        if (wanted.kind != common::kGenericElementKind) {
            EXPECT_NE(node->element, nullptr) << wanted.name;
        }
    }
    for (const Wanted& wanted : kInMainWnd) {
        XmlNode* node = InMainWnd(wanted.kind, wanted.name);
        ASSERT_NE(node, nullptr) << "MainWnd has no " << wanted.name << " of kind " << wanted.kind;
        EXPECT_NE(node->element, nullptr) << wanted.name;
    }
    // The cell look belongs to the grid, and the grid to the item bar.
    XmlNode* grid = InMainWnd(SkinKind::kGrid, "ItemsGrid");
    ASSERT_NE(grid, nullptr);
    EXPECT_NE(common::XmlReader::FindNode(grid->firstChild, "Item", SkinKind::kControl), nullptr);
    ASSERT_NE(grid->parent, nullptr);
    EXPECT_EQ(grid->parent, InMainWnd(SkinKind::kControl, "ItemBar"));
    EXPECT_EQ(InMainWnd(SkinKind::kButton, "Remover")->parent, grid->parent);
}

// Each strip holds as many pictures as the items index, each of the package's size.
TEST_P(TodaySkinTest, StripsDecodeWithTheirPictureCounts) {
    XmlNode* images = TopLevel(common::kGenericElementKind, "Images");
    ASSERT_NE(images, nullptr);
    for (const Strip& wanted : kStrips) {
        XmlNode* node =
            common::XmlReader::FindNode(images->firstChild, wanted.name, SkinKind::kImage);
        ASSERT_NE(node, nullptr) << wanted.name;
        auto* image = static_cast<ImageElement*>(node->element);
        ASSERT_NE(image->Image(false), nullptr) << wanted.name;
        ASSERT_NE(image->Image(true), nullptr) << wanted.name << " has no alpha picture";
        EXPECT_EQ(image->Columns() * image->Rows(), wanted.count) << wanted.name;
        SIZE size = image->SubImageSize();
        EXPECT_EQ(size.cx, wanted.width * Scale()) << wanted.name;
        EXPECT_EQ(size.cy, wanted.height * Scale()) << wanted.name;
    }
}

// The strip is built as the plug-in builds it in its window: every control lies inside the
// window, the window is the strip's height and fits on the screen, the background covers
// it, and the remover starts hidden.
TEST_P(TodaySkinTest, MainWndBuildsInsideTheWindowOnEveryScreen) {
    RECT area = StripArea();
    EXPECT_EQ(area.right - area.left, GetScreen().width);
    EXPECT_EQ(area.bottom - area.top, kStripHeight * Scale());
    EXPECT_LE(area.bottom, GetScreen().height);
    Control root;
    ASSERT_TRUE(BuildStrip(root));
    for (const ControlTableRow* row = kStripRows; row->kind != 0; ++row) {
        Control* control = root.FindByDescriptor(row->kind, row->name, true);
        ASSERT_NE(control, nullptr) << row->name;
        EXPECT_EQ(control->Number(), row->number) << row->name;
        const RECT& rect = control->Rect();
        EXPECT_LT(rect.left, rect.right) << row->name;
        EXPECT_LT(rect.top, rect.bottom) << row->name;
        EXPECT_TRUE(Inside(rect, area)) << row->name << " leaves the strip";
    }
    EXPECT_TRUE(
        EqualRect(&root.FindByDescriptor(SkinKind::kControl, "Background", true)->Rect(), &area));
    Control* remover = root.FindByDescriptor(SkinKind::kButton, "Remover", true);
    EXPECT_FALSE(remover->IsVisible());
    EXPECT_GE(remover->Rect().right - remover->Rect().left, kFingerPixels * Scale());
    EXPECT_GE(remover->Rect().bottom - remover->Rect().top, kFingerPixels * Scale());
}

// The time bar's texts and icon lie inside it and apart from one another, so the time, the
// date, the operator and the alarms never cover each other on a narrow screen; those a tap
// opens something from are a finger large.
TEST_P(TodaySkinTest, TimeBarElementsLieApartAndTapTargetsAreFingerSized) {
    Control root;
    ASSERT_TRUE(BuildStrip(root));
    Control* bar = root.FindByDescriptor(SkinKind::kControl, "TimeBar", true);
    ASSERT_NE(bar, nullptr);
    std::vector<std::pair<const char*, RECT>> placed;
    for (const TimeBarElement& wanted : kTimeBar) {
        const char* name = wanted.name;
        Control* control = bar->FindByDescriptor(wanted.kind, name, true);
        ASSERT_NE(control, nullptr) << name << " is not in the time bar";
        const RECT& box = control->Rect();
        EXPECT_TRUE(Inside(box, bar->Rect())) << name;
        if (wanted.tapped) {
            EXPECT_GE(box.right - box.left, kFingerPixels * Scale()) << name;
            EXPECT_GE(box.bottom - box.top, kFingerPixels * Scale()) << name;
        }
        for (const auto& [other, rect] : placed) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &rect, &box)) << name << " covers " << other;
        }
        placed.emplace_back(name, control->Rect());
    }
}

// The grid lies in the item bar; its cells, with the icon and caption inside them, are a
// finger large, and the grid takes the ten default items.
TEST_P(TodaySkinTest, ItemCellsAreFingerSizedAndTakeTheDefaultItems) {
    Control root;
    ASSERT_TRUE(BuildStrip(root));
    Control* bar = root.FindByDescriptor(SkinKind::kControl, "ItemBar", true);
    ASSERT_NE(bar, nullptr);
    XmlNode* node = InMainWnd(SkinKind::kGrid, "ItemsGrid");
    ASSERT_NE(node, nullptr);
    auto* grid = static_cast<GridElement*>(node->element);
    const RectSpec* gridSpec = ChooseRectSpec(grid->RectSpecs(), OrientationClass());
    ASSERT_NE(gridSpec, nullptr);
    RECT gridRect = ResolveRect(*gridSpec, &bar->Rect(), GetScreen().width, GetScreen().height);
    EXPECT_TRUE(Inside(gridRect, bar->Rect()));
    RECT cell = ResolveRect(grid->ItemRect(), &gridRect, GetScreen().width, GetScreen().height);
    OffsetRect(&cell, -cell.left, -cell.top);
    EXPECT_GE(cell.right, kFingerPixels * Scale());
    EXPECT_GE(cell.bottom, kFingerPixels * Scale());
    int columns = (gridRect.right - gridRect.left) / std::max<LONG>(cell.right, 1);
    int rows = (gridRect.bottom - gridRect.top) / std::max<LONG>(cell.bottom, 1);
    EXPECT_GE(columns * rows, kDefaultItems) << columns << " x " << rows;
    for (const RectSpec* part : {&grid->ImageRect(), &grid->TextRect()}) {
        RECT inCell = ResolveRect(*part, &cell, GetScreen().width, GetScreen().height);
        EXPECT_LT(inCell.left, inCell.right);
        EXPECT_LT(inCell.top, inCell.bottom);
        EXPECT_TRUE(Inside(inCell, cell)) << "an item's picture or caption leaves its cell";
    }
    // The cell's look is one cell in size.
    XmlNode* item = common::XmlReader::FindNode(node->firstChild, "Item", SkinKind::kControl);
    ASSERT_NE(item, nullptr);
    const RectSpec* itemSpec = ChooseRectSpec(
        static_cast<ControlElement*>(item->element)->RectSpecs(), OrientationClass());
    ASSERT_NE(itemSpec, nullptr);
    RECT itemRect = ResolveRect(*itemSpec, &gridRect, GetScreen().width, GetScreen().height);
    EXPECT_EQ(itemRect.right - itemRect.left, cell.right);
    EXPECT_EQ(itemRect.bottom - itemRect.top, cell.bottom);
}

// A cell has its normal, pressed and keyboard-selected looks; a look with a picture has
// that picture in the package.
TEST_P(TodaySkinTest, ItemCellHasItsThreeLooks) {
    XmlNode* grid = InMainWnd(SkinKind::kGrid, "ItemsGrid");
    ASSERT_NE(grid, nullptr);
    XmlNode* node = common::XmlReader::FindNode(grid->firstChild, "Item", SkinKind::kControl);
    ASSERT_NE(node, nullptr);
    auto* item = static_cast<ControlElement*>(node->element);
    for (const char* look : {"Normal", "Pressed", "Selected"}) {
        FillElement* fill = item->Fill(look);
        ASSERT_NE(fill, nullptr) << look;
        if (ImageElement* picture = fill->BackgroundImage()) {
            EXPECT_NE(picture->Image(false), nullptr) << look;
        }
    }
    // Pressed and selected cells must look different from a normal one.
    EXPECT_TRUE(item->Fill("Pressed")->BackgroundImage() ||
                item->Fill("Pressed")->Brush() != item->Fill("Normal")->Brush());
    EXPECT_TRUE(item->Fill("Selected")->BackgroundImage() ||
                item->Fill("Selected")->Brush() != item->Fill("Normal")->Brush());
}

// The pop-up menus have finger-sized rows, a caption font, a grey description font and a
// check mark; the drawing section has the keyboard lock's picture and the badge look.
TEST_P(TodaySkinTest, PopupAndDrawingSectionHaveTheirLooks) {
    XmlNode* popup = TopLevel(SkinKind::kMenu, "Popup");
    ASSERT_NE(popup, nullptr);
    auto* menu = static_cast<MenuElement*>(popup->element);
    EXPECT_GE(menu->RowHeight(), kFingerPixels * Scale());
    EXPECT_NE(menu->Child(SkinKind::kFont, nullptr), nullptr);
    EXPECT_NE(menu->Child(SkinKind::kFont, "Description"), nullptr);
    EXPECT_NE(menu->Child(SkinKind::kImgCtrl, "Check"), nullptr);

    XmlNode* section = TopLevel(common::kGenericElementKind, "KTSkin");
    ASSERT_NE(section, nullptr);
    XmlNode* lock = nullptr;
    XmlNode* badge = nullptr;
    for (XmlNode* draw = section->firstChild; draw; draw = draw->nextSibling) {
        if (draw->Kind() != common::kGenericElementKind || !draw->name ||
            strcmp(draw->name, "Draw") != 0)
            continue;
        const char* name = GenericName(draw);
        if (name && strcmp(name, "KeyLock") == 0)
            lock = draw;
        else if (name && strcmp(name, "Badge") == 0)
            badge = draw;
    }
    ASSERT_NE(lock, nullptr) << "no Draw entry KeyLock";
    XmlNode* picture = common::XmlReader::FindNode(lock->firstChild, nullptr, SkinKind::kImage);
    ASSERT_NE(picture, nullptr);
    auto* image = static_cast<ImageElement*>(picture->element);
    ASSERT_NE(image->Image(false), nullptr);
    EXPECT_EQ(image->SubImageSize().cx, 32 * Scale());
    ASSERT_NE(badge, nullptr) << "no Draw entry Badge";
    XmlNode* count = common::XmlReader::FindNode(badge->firstChild, "Count", SkinKind::kText);
    ASSERT_NE(count, nullptr);
    auto* look = static_cast<TextElement*>(count->element);
    EXPECT_NE(look->Fill(), nullptr) << "the badge has no tab under its count";
    EXPECT_GT(look->Font()->Size(), 0);
}

// Every picture an element names is in the package and decodes, its alpha picture too.
TEST_P(TodaySkinTest, EveryPictureNamedDecodes) {
    std::vector<ImageElement*> images = skintest::NamedPictures(m_skin.Root());
    ASSERT_GE(images.size(), 9u);
    for (ImageElement* image : images) {
        if (image->Source()) {
            EXPECT_NE(image->Image(false), nullptr);
        }
        if (image->AlphaSource()) {
            EXPECT_NE(image->Image(true), nullptr);
        }
    }
    ExpectNoTrace();
}

INSTANTIATE_TEST_SUITE_P(Screens, TodaySkinTest, ::testing::ValuesIn(AllParams()),
                         [](const auto& info) { return ParamName(info.param); });

} // namespace
