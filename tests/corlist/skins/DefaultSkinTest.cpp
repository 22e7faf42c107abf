// The default skins as built: each package loads on the screens it is made for, holds every
// element the code looks up, builds every screen with the code's own control tables (so a
// skin cannot silently drop a control), decodes every picture it names at the package's
// size, and keeps its tap targets finger-sized. Later pages add their screens and tables
// to the tables below.
#include "../skin/SkinDevice.h"

#include "common/XmlReader.h"
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/controls/MenuElement.h"
#include "corlist/controls/PopupDialog.h"
#include "corlist/controls/SkinMessageBox.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

#include <cstring>
#include <filesystem>
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
};

// Screens the code builds, with the control table it builds them with.
struct BuiltScreen {
    uint32_t kind;
    const char* name;
    const ControlTableRow* rows;
};
const BuiltScreen kBuiltScreens[] = {
    {SkinKind::kPopupDlg, "MessageBox", kMessageBoxRows},
};

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

// Just enough of a window for a pop-up dialog to be built over.
class BareOwner : public ControlOwner {
public:
    HWND Window() const override { return nullptr; }
    void InvalidateArea(const RECT&) override {}
    bool IsBuilding() const override { return m_building; }
    void SetBuilding(bool building) override { m_building = building; }
    RECT ClientArea() const override { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }
    void SetCurrentScreen(Control*) override {}
    Control* CurrentScreen() const override { return nullptr; }
    DrawSurface* Surface() override { return nullptr; }
    void SetModal(Control*) override {}
    Control* Modal() const override { return nullptr; }

private:
    bool m_building = false;
};

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
    // The skin reports every fault of its package, description and pictures in the trace.
    static void ExpectNoTrace() {
        for (const std::string& line : TakeTrace())
            if (line.find("FAILED") != std::string::npos || line.find("Exception") != std::string::npos)
                ADD_FAILURE() << line;
    }

    Skin m_skin;
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

// Every row of the code's table binds to an element of its kind, lies on the screen, and a
// button is at least a finger high.
TEST_P(DefaultSkinTest, BuildsEveryScreenWithEveryControlRow) {
    const int width = GetParam().width, height = GetParam().height;
    for (const BuiltScreen& screen : kBuiltScreens) {
        ASSERT_EQ(screen.kind, SkinKind::kPopupDlg) << "only pop-up dialogs are built so far";
        BareOwner owner;
        PopupDialog dialog;
        ASSERT_TRUE(dialog.Build(m_skin, owner, screen.name, screen.rows)) << screen.name;
        const RECT& box = dialog.Rect();
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height) << screen.name;
        for (const ControlTableRow* row = screen.rows; row->kind != 0; ++row) {
            Control* control = dialog.FindById(row->number);
            ASSERT_NE(control, nullptr) << screen.name << ": no " << row->name;
            ASSERT_NE(control->Descriptor(), nullptr) << row->name;
            EXPECT_EQ(control->Descriptor()->Node()->Kind(), row->kind) << row->name;
            const RECT& rect = control->Rect();
            EXPECT_LT(rect.left, rect.right) << row->name;
            EXPECT_LT(rect.top, rect.bottom) << row->name;
            EXPECT_TRUE(rect.left >= box.left && rect.right <= box.right && rect.top >= box.top &&
                        rect.bottom <= box.bottom)
                << screen.name << ": " << row->name << " leaves the dialog";
            if (row->kind == SkinKind::kButton) {
                EXPECT_GE(rect.bottom - rect.top, kFingerPixels * Scale()) << row->name;
            }
        }
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
    std::vector<ImageElement*> images;
    std::vector<common::XmlNode*> pending{m_skin.Root()};
    while (!pending.empty()) {
        common::XmlNode* node = pending.back();
        pending.pop_back();
        if (node->element && node->Kind() == SkinKind::kImage)
            images.push_back(static_cast<ImageElement*>(node->element));
        else if (node->element && (node->Kind() == SkinKind::kButton || node->Kind() == SkinKind::kImgCtrl))
            images.push_back(&static_cast<ButtonElement*>(node->element)->Image());
        for (common::XmlNode* child = node->firstChild; child; child = child->nextSibling)
            pending.push_back(child);
    }
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
