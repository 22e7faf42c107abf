#include "ControlScreen.h"

#include "corlist/controls/ControlFactory.h"
#include "corlist/image/ImageTypes.h"
#include "gdi/BitmapObject.h"
#include "gdi/GdiObjectTable.h"
#include "support/GoldenImage.h"

#include "ce/commctrl.h"
#include "ce/user.h"

#include <algorithm>

namespace controltest {

std::vector<Command> ControlScreen::commands;
std::vector<DrawRequest> ControlScreen::drawRequests;
LRESULT ControlScreen::drawAnswer = 0;

namespace {

LRESULT CALLBACK ParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        ControlScreen::commands.push_back({wParam, lParam});
        return 0;
    }
    if (message == WM_DRAWITEM) {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        ControlScreen::drawRequests.push_back({item->CtlID, item->itemID, item->rcItem});
        return ControlScreen::drawAnswer;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

void ControlScreen::SetUp() {
    SkinDevice::SetUp();
    commands.clear();
    drawRequests.clear();
    drawAnswer = 0;
    m_skin.SetProgramFolder(u"\\");
    corlist::InstallControlDescriptors(m_skin);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ParentProcedure;
    windowClass.lpszClassName = u"ControlTestParent";
    RegisterClassW(&windowClass);
    m_parent = CreateWindowExW(0, u"ControlTestParent", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                               nullptr);
    ASSERT_NE(m_parent, nullptr);
}

void ControlScreen::TearDown() {
    m_host.Destroy();
    DestroyWindow(m_parent);
    m_skin.ClearSkin();
    SkinDevice::TearDown();
}

void ControlScreen::Build(const std::string& description, std::vector<testsupport::PackageItem> pictures,
                          const char* screen, const corlist::ControlTableRow* table, int width, int height) {
    std::string xml = description;
    std::replace(xml.begin(), xml.end(), '\'', '"');
    pictures.push_back({u"Default.skn", xml});
    WritePackage("Test.rpk", std::move(pictures));
    ASSERT_TRUE(m_skin.Load(u"Test"));
    ASSERT_TRUE(m_host.Create(m_skin, screen, table, m_parent, WS_CHILD | WS_VISIBLE, RECT{0, 0, width, height}));
}

void ControlScreen::Down(int x, int y) {
    SendMessageW(m_host.Window(), WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
}

void ControlScreen::Move(int x, int y) {
    SendMessageW(m_host.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void ControlScreen::Up(int x, int y) {
    SendMessageW(m_host.Window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void ControlScreen::ExpectScreenMatches(const char* name, int tolerance, int allowed) {
    corlist::DrawSurface* surface = m_host.Surface();
    ASSERT_NE(surface, nullptr);
    RECT all{0, 0, surface->Width(), surface->Height()};
    surface->SetClip(all);
    Screen().Paint(*surface, all);
    surface->ResetClip();
    auto object = platform::GdiObjectTable::Instance().LookupAs<platform::BitmapObject>(surface->Bitmap(),
                                                                                        platform::GdiKind::Bitmap);
    ASSERT_NE(object, nullptr);
    testsupport::ExpectMatchesGolden(*object->GetSurface(), name, tolerance, allowed);
}

std::string ControlScreen::Picture(int width, int height, int paletteEntries) {
    imagetest::PngSpec spec;
    spec.width = width;
    spec.height = height;
    if (paletteEntries > 0) {
        spec.colourType = 3; // PNG_COLOR_TYPE_PALETTE
        spec.paletteEntries = paletteEntries;
    }
    return AsString(imagetest::MakePng(spec));
}

std::unique_ptr<corlist::Image> ControlScreen::Rgb565Picture(int width, int height, uint16_t (*pixel)(int x, int y)) {
    auto image = std::make_unique<corlist::Image>();
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(corlist::CreateBitmap(&image->Bitmap(), width, -height, 16, masks, 3), corlist::kImageOk);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(image->Bitmap().Row(y));
        for (int x = 0; x < width; ++x)
            row[x] = pixel(x, y);
    }
    return image;
}

} // namespace controltest
