// The default skins as built: each package loads on the screens it is made for, holds every
// element the code looks up, builds every screen with the code's own control tables (so a
// skin cannot silently drop a control), decodes every picture it names at the package's
// size, and keeps its tap targets finger-sized. The main page's keypad pictures match the
// keypad's cell grids and the pane they are drawn in, and its list has every look the list
// code selects by name. Later pages add their screens and tables to the tables below.
#include "../skin/SkinDevice.h"
#include "SkinChecks.h"

#include "common/XmlReader.h"
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/MenuElement.h"
#include "corlist/controls/PopupDialog.h"
#include "corlist/controls/ScreenBuilder.h"
#include "corlist/controls/SkinMessageBox.h"
#include "corlist/frame/MainPageTable.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace corlist;

namespace {

struct Screen {
    const char* package;
    int width;
    int height;
    int scale; // the coordinate scale of that screen
};

const Screen kScreens[] = {
    {"Default", 240, 320, 1}, {"Default", 320, 240, 1},     {"Default.vga", 480, 640, 2},
    {"Default.vga", 640, 480, 2}, {"Default.vga", 800, 480, 2},
};

// Top-level elements the code finds by kind and name (null: the first unnamed one).
struct TopLevel {
    uint32_t kind;
    const char* name;
};
const TopLevel kTopLevel[] = {
    {SkinKind::kMenu, nullptr},
    {SkinKind::kPopupDlg, "MessageBox"},
    {SkinKind::kControl, kMainPageElement},
};

// Screens the code builds, with the control table it builds them with.
struct BuiltScreen {
    uint32_t kind;
    const char* name;
    const ControlTableRow* rows;
};
const BuiltScreen kBuiltScreens[] = {
    {SkinKind::kPopupDlg, "MessageBox", kMessageBoxRows},
    {SkinKind::kControl, kMainPageElement, kMainPageRows},
};

// The dialling keypad's layouts: one per logical screen width, with its grid of cells.
struct KeypadLayout {
    const char* name;
    int columns;
    int rows;
};
const KeypadLayout kKeypadLayouts[] = {{"w240", 4, 4}, {"w320", 5, 3}, {"w400", 5, 3}};
// The looks of the main list the list code selects by name (skins/README.md), and whether
// the look lays its items out as icons or shows check boxes.
struct ListLook {
    const char* name;
    bool icons;
    bool checkBoxes;
};
const ListLook kMainListLooks[] = {
    {"Contacts", false, false}, {"Faces", true, false},  {"Groups", false, false},
    {"History", false, false},  {"Select", false, true},
};
// The cell pictures each layout holds, one cell in size.
const char* const kKeypadCells[] = {"Key", "Friend", "ICE"};

// Every control kind has its look in the defaults, so a page's element of that kind needs
// only its name and rectangle.
const char* const kControlTags[] = {"control",  "button",    "text",      "edit",    "imgctrl",
                                    "tabctrl",  "boxctrl",   "slider",    "dslider", "imageview",
                                    "listview", "scrollbar", "letterbar", "grid"};
const char* const kLookedTags[] = {"button", "text",      "edit",     "imgctrl",   "tabctrl",  "boxctrl",
                                   "slider", "dslider",   "imageview", "listview", "scrollbar", "letterbar"};

// The well-known pictures (children of "Images") and their sizes at scale 1: the whole
// picture or one sub-image.
struct PictureSize {
    const char* name;
    int width;
    int height;
};
const PictureSize kWellKnownSizes[] = {
    {"Bkgnd", 240, 320},         {"FaceL", 96, 96},          {"SIM", 16, 16},
    {"CallState", 24, 24},       {"MenuContact", 24, 24},    {"MenuSendContact", 24, 24},
    {"MenuHistory", 24, 24},     {"MenuCategories", 24, 24},
};

constexpr int kFingerPixels = 36; // the smallest tap target at scale 1

class DefaultSkinTest : public skintest::SkinDevice, public ::testing::WithParamInterface<Screen> {
protected:
    DefaultSkinTest() {
        m_options.screenWidth = GetParam().width;
        m_options.screenHeight = GetParam().height;
    }
    void SetUp() override {
        SkinDevice::SetUp();
        std::string file = std::string(GetParam().package) + ".rpk";
        std::filesystem::copy_file(std::filesystem::path(DIALORA_IMAGE_DIR) / "Skins" / file,
                                   m_device->FsRoot() / "Skins" / file);
        m_skin.SetProgramFolder(u"\\");
        InstallControlDescriptors(m_skin);
        std::u16string name(GetParam().package, GetParam().package + std::strlen(GetParam().package));
        ASSERT_TRUE(m_skin.Load(name.c_str()));
        ExpectNoTrace();
    }
    void TearDown() override {
        m_skin.ClearSkin();
        SkinDevice::TearDown();
    }
    common::XmlNode* TopLevelNode(uint32_t kind, const char* name) {
        return common::XmlReader::FindNode(m_skin.Root()->firstChild, name, kind);
    }
    int Scale() const { return GetParam().scale; }
    // The main page as the frame builds it, over the whole screen.
    bool BuildMainPage(Control& root) {
        return BuildScreen(root, m_owner, nullptr, m_skin, kMainPageElement, kMainPageRows, 0);
    }
    common::XmlNode* KeypadLayoutNode(const std::string& name) {
        common::XmlNode* page = TopLevelNode(SkinKind::kControl, kMainPageElement);
        common::XmlNode* keypad = page ? common::XmlReader::FindNode(page->firstChild, "Keypad", SkinKind::kControl) : nullptr;
        return keypad ? common::XmlReader::FindNode(keypad->firstChild, name.c_str(), SkinKind::kControl) : nullptr;
    }
    // The first unnamed image among the node's children.
    static ImageElement* FirstImage(common::XmlNode* node) {
        for (common::XmlNode* child = node->firstChild; child; child = child->nextSibling)
            if (child->Kind() == SkinKind::kImage && !child->name && child->element)
                return static_cast<ImageElement*>(child->element);
        return nullptr;
    }
    void ExpectEveryRowBound(Control& top, const BuiltScreen& screen) {
        const RECT& box = top.Rect();
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= GetParam().width && box.bottom <= GetParam().height)
            << screen.name;
        for (const ControlTableRow* row = screen.rows; row->kind != 0; ++row) {
            const char* name = row->name ? row->name : "(unnamed)";
            Control* control = top.FindByDescriptor(row->kind, row->name, true);
            ASSERT_NE(control, nullptr) << screen.name << ": no " << name << " of kind " << row->kind;
            EXPECT_EQ(control->Number(), row->number) << screen.name << ": " << name;
            const RECT& rect = control->Rect();
            EXPECT_LT(rect.left, rect.right) << screen.name << ": " << name;
            EXPECT_LT(rect.top, rect.bottom) << screen.name << ": " << name;
            EXPECT_TRUE(rect.left >= box.left && rect.right <= box.right && rect.top >= box.top &&
                        rect.bottom <= box.bottom)
                << screen.name << ": " << name << " leaves the screen";
            if (row->kind == SkinKind::kButton) {
                EXPECT_GE(rect.bottom - rect.top, kFingerPixels * Scale()) << screen.name << ": " << name;
                EXPECT_GE(rect.right - rect.left, kFingerPixels * Scale()) << screen.name << ": " << name;
            }
        }
    }
    static void ExpectNoTrace() { skintest::ExpectNoSkinFault(TakeTrace()); }

    Skin m_skin;
    skintest::BareOwner m_owner;
};

TEST_P(DefaultSkinTest, LoadsAtTheScreensCoordinateScale) {
    EXPECT_EQ(CoordinateScale(), Scale());
    EXPECT_EQ(m_skin.Vga(), 0);
    EXPECT_NE(m_skin.ColourMask(), kColourNone);
}

TEST_P(DefaultSkinTest, HoldsEveryTopLevelElementTheCodeLooksUp) {
    for (const TopLevel& wanted : kTopLevel) {
        common::XmlNode* node = TopLevelNode(wanted.kind, wanted.name);
        ASSERT_NE(node, nullptr) << (wanted.name ? wanted.name : "(unnamed)") << " of kind " << wanted.kind;
        EXPECT_NE(node->element, nullptr);
    }
}

TEST_P(DefaultSkinTest, EveryControlKindHasItsLookInTheDefaults) {
    for (const char* tag : kControlTags)
        EXPECT_NE(m_skin.Types().LookupType(tag), nullptr) << tag;
    for (const char* tag : kLookedTags) {
        const SkinTypeEntry* entry = m_skin.Types().LookupType(tag);
        ASSERT_NE(entry, nullptr) << tag;
        EXPECT_NE(entry->templateElement, nullptr) << tag << " has no look in the defaults";
    }
}

// Every row of the code's table binds to an element of its kind and gets the row's number,
// lies on the screen, and a button is a finger high and wide.
TEST_P(DefaultSkinTest, BuildsEveryScreenWithEveryControlRow) {
    for (const BuiltScreen& screen : kBuiltScreens) {
        skintest::BareOwner owner;
        PopupDialog dialog;
        Control root;
        Control* top = &root;
        if (screen.kind == SkinKind::kPopupDlg) {
            ASSERT_TRUE(dialog.Build(m_skin, owner, screen.name, screen.rows)) << screen.name;
            top = &dialog;
        } else {
            ASSERT_EQ(screen.kind, SkinKind::kControl);
            ASSERT_TRUE(BuildScreen(root, owner, nullptr, m_skin, screen.name, screen.rows, 0)) << screen.name;
        }
        ExpectEveryRowBound(*top, screen);
    }
}

// The main page starts in plain browsing: the title band, the list and the tab strip shown,
// the panes the code shows later hidden. The number pane takes the title band's place and
// the mode panes the tab strip's.
TEST_P(DefaultSkinTest, MainPagePanesStartHiddenOverTheBandsTheyReplace) {
    Control root;
    ASSERT_TRUE(BuildMainPage(root));
    const struct {
        uint32_t kind;
        const char* name;
        bool shown;
        uint32_t bandKind; // the band whose place it takes, 0 for none
        const char* band;
    } kPanes[] = {
        {SkinKind::kControl, "Title", true, 0, nullptr},
        {SkinKind::kTabCtrl, "Tabs", true, 0, nullptr},
        {SkinKind::kListView, nullptr, true, 0, nullptr},
        {SkinKind::kControl, "Number", false, SkinKind::kControl, "Title"},
        {SkinKind::kControl, "NewContact", false, 0, nullptr},
        {SkinKind::kControl, "EditMode", false, SkinKind::kTabCtrl, "Tabs"},
        {SkinKind::kControl, "GroupMode", false, SkinKind::kTabCtrl, "Tabs"},
        {SkinKind::kControl, "Keypad", false, 0, nullptr},
    };
    for (const auto& wanted : kPanes) {
        const char* name = wanted.name ? wanted.name : "(list)";
        Control* pane = root.FindByDescriptor(wanted.kind, wanted.name, true);
        ASSERT_NE(pane, nullptr) << name;
        EXPECT_EQ(pane->IsVisible(), wanted.shown) << name;
        if (wanted.bandKind == 0)
            continue;
        Control* band = root.FindByDescriptor(wanted.bandKind, wanted.band, true);
        ASSERT_NE(band, nullptr) << wanted.band;
        EXPECT_TRUE(EqualRect(&pane->Rect(), &band->Rect())) << name << " does not cover " << wanted.band;
    }
}

// The keypad pane lies over the lower half of the screen, and the layout chosen for the
// screen's logical width has a picture exactly the pane's size, so that its cells are where
// the code looks for them.
TEST_P(DefaultSkinTest, KeypadPictureFillsTheKeypadPane) {
    Control root;
    ASSERT_TRUE(BuildMainPage(root));
    Control* pane = root.FindByDescriptor(SkinKind::kControl, "Keypad", true);
    ASSERT_NE(pane, nullptr);
    common::XmlNode* layout = KeypadLayoutNode("w" + std::to_string(GetParam().width / Scale()));
    if (!layout)
        layout = KeypadLayoutNode("w240");
    ASSERT_NE(layout, nullptr);
    ImageElement* picture = FirstImage(layout);
    ASSERT_NE(picture, nullptr);
    SIZE size = picture->SubImageSize();
    const RECT& rect = pane->Rect();
    EXPECT_EQ(rect.right - rect.left, size.cx) << layout->name;
    EXPECT_EQ(rect.bottom - rect.top, size.cy) << layout->name;
    EXPECT_EQ(rect.bottom, GetParam().height);
}

// Every layout has its picture and its cell pictures; the picture divides into the layout's
// cells exactly, each cell picture is one cell, and every cell is a finger large.
TEST_P(DefaultSkinTest, KeypadLayoutsDivideIntoTheirCells) {
    for (const KeypadLayout& wanted : kKeypadLayouts) {
        common::XmlNode* layout = KeypadLayoutNode(wanted.name);
        ASSERT_NE(layout, nullptr) << wanted.name;
        ImageElement* picture = FirstImage(layout);
        ASSERT_NE(picture, nullptr) << wanted.name << " has no keypad picture";
        ASSERT_NE(picture->Image(false), nullptr) << wanted.name;
        SIZE size = picture->SubImageSize();
        EXPECT_EQ(size.cx % wanted.columns, 0) << wanted.name;
        EXPECT_EQ(size.cy % wanted.rows, 0) << wanted.name;
        SIZE cell{size.cx / wanted.columns, size.cy / wanted.rows};
        EXPECT_GE(cell.cx, kFingerPixels * Scale()) << wanted.name;
        EXPECT_GE(cell.cy, kFingerPixels * Scale()) << wanted.name;
        for (const char* name : kKeypadCells) {
            common::XmlNode* node = common::XmlReader::FindNode(layout->firstChild, name, SkinKind::kControl);
            ASSERT_NE(node, nullptr) << wanted.name << " has no " << name;
            ImageElement* image = FirstImage(node);
            ASSERT_NE(image, nullptr) << wanted.name << "." << name;
            ASSERT_NE(image->Image(false), nullptr) << wanted.name << "." << name;
            SIZE cellPicture = image->SubImageSize();
            EXPECT_EQ(cellPicture.cx, cell.cx) << wanted.name << "." << name;
            EXPECT_EQ(cellPicture.cy, cell.cy) << wanted.name << "." << name;
        }
    }
}

// Each look of the main list lays out finger-sized rows (icon views at least three icons a
// row) with pictures for their items; the first look is the one a new list gets.
TEST_P(DefaultSkinTest, MainListHasEveryLookTheListCodeSelects) {
    Control root;
    ASSERT_TRUE(BuildMainPage(root));
    auto* list = static_cast<ListView*>(root.FindByDescriptor(SkinKind::kListView, nullptr, true));
    ASSERT_NE(list, nullptr);
    common::XmlNode* node = list->Descriptor()->Node();
    EXPECT_EQ(common::XmlReader::FindNode(node->firstChild, kMainListLooks[0].name, SkinKind::kGrid),
              list->Descriptor()->FirstChild(SkinKind::kGrid)->Node());
    for (const ListLook& wanted : kMainListLooks) {
        common::XmlNode* look = common::XmlReader::FindNode(node->firstChild, wanted.name, SkinKind::kGrid);
        ASSERT_NE(look, nullptr) << wanted.name;
        list->SetDescriptor(static_cast<ControlElement*>(look->element));
        EXPECT_GE(list->RowHeight(), kFingerPixels * Scale()) << wanted.name;
        EXPECT_GE(list->CellWidth(), kFingerPixels * Scale()) << wanted.name;
        EXPECT_GE(list->ItemsPerRow(), wanted.icons ? 3 : 1) << wanted.name;
        if (!wanted.icons) {
            EXPECT_EQ(list->ItemsPerRow(), 1) << wanted.name;
        }
        ImageElement* icons = FirstImage(look);
        ASSERT_NE(icons, nullptr) << wanted.name << " has no item pictures";
        EXPECT_NE(icons->Image(false), nullptr) << wanted.name;
        auto* grid = static_cast<ControlElement*>(look->element);
        EXPECT_EQ(grid->Child(SkinKind::kButton, "checkbox") != nullptr, wanted.checkBoxes) << wanted.name;
    }
}

TEST_P(DefaultSkinTest, MenuRowsAreFingerSized) {
    common::XmlNode* node = TopLevelNode(SkinKind::kMenu, nullptr);
    ASSERT_NE(node, nullptr);
    EXPECT_GE(static_cast<MenuElement*>(node->element)->RowHeight(), kFingerPixels * Scale());
}

TEST_P(DefaultSkinTest, WellKnownPicturesHaveThePackagesSize) {
    common::XmlNode* images = TopLevelNode(common::kGenericElementKind, "Images");
    ASSERT_NE(images, nullptr);
    for (const PictureSize& wanted : kWellKnownSizes) {
        common::XmlNode* node = common::XmlReader::FindNode(images->firstChild, wanted.name, SkinKind::kImage);
        ASSERT_NE(node, nullptr) << wanted.name;
        auto* image = static_cast<ImageElement*>(node->element);
        ASSERT_NE(image->Image(false), nullptr) << wanted.name;
        SIZE size = image->SubImageSize();
        EXPECT_EQ(size.cx, wanted.width * Scale()) << wanted.name;
        EXPECT_EQ(size.cy, wanted.height * Scale()) << wanted.name;
    }
}

// Every picture an element names is in the package and decodes, its alpha picture too.
TEST_P(DefaultSkinTest, EveryPictureNamedDecodes) {
    std::vector<ImageElement*> images = skintest::NamedPictures(m_skin.Root());
    ASSERT_GT(images.size(), 20u);
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

INSTANTIATE_TEST_SUITE_P(Screens, DefaultSkinTest, ::testing::ValuesIn(kScreens), [](const auto& info) {
    return std::string(info.param.package[7] ? "Vga" : "Qvga") + std::to_string(info.param.width) + "x" +
           std::to_string(info.param.height);
});

} // namespace
