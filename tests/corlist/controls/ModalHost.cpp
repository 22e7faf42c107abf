#include "ModalHost.h"

#include "corlist/controls/ControlFactory.h"
#include "corlist/skin/DrawSurface.h"
#include "gdi/BitmapObject.h"
#include "gdi/GdiObjectTable.h"
#include "support/GoldenImage.h"
#include "user/WindowManager.h"

#include "ce/user.h"

#include <vector>

namespace controltest {

namespace {

constexpr UINT kRunActions = WM_USER + 1;
std::vector<std::function<void()>> g_actions;

LRESULT CALLBACK ParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunActions) {
        auto actions = std::move(g_actions);
        g_actions.clear();
        for (auto& action : actions)
            action();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

void ModalHost::Open(const char* description) {
    m_skin.SetProgramFolder(u"\\");
    corlist::InstallControlDescriptors(m_skin);
    WriteDescription("Test.rpk", description);
    ASSERT_TRUE(m_skin.Load(u"Test"));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ParentProcedure;
    windowClass.lpszClassName = u"ModalHostParent";
    RegisterClassW(&windowClass);
    m_parent = CreateWindowExW(0, u"ModalHostParent", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                               nullptr);
    ASSERT_TRUE(m_host.Create(m_skin, "Main", nullptr, m_parent, WS_CHILD | WS_VISIBLE, RECT{0, 0, 240, 320}));
    platform::WindowManager::Instance().DrainBeeps();
}

void ModalHost::TearDown() {
    g_actions.clear();
    m_host.Destroy();
    if (m_parent)
        DestroyWindow(m_parent);
    m_skin.ClearSkin();
    SkinDevice::TearDown();
}

void ModalHost::QueueTap(POINT point) {
    Queue([this, point] {
        SendMessageW(m_host.Window(), WM_LBUTTONDOWN, 0, MAKELPARAM(point.x, point.y));
        SendMessageW(m_host.Window(), WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    });
}

void ModalHost::QueueKey(WPARAM key) {
    Queue([this, key] { SendMessageW(m_host.Window(), WM_KEYUP, key, 0); });
}

void ModalHost::Queue(std::function<void()> action) {
    g_actions.push_back(std::move(action));
}

void ModalHost::ExpectPaintedMatches(const char* name, int tolerance, int allowed) {
    corlist::DrawSurface* surface = m_host.Surface();
    ASSERT_NE(surface, nullptr);
    RECT all{0, 0, surface->Width(), surface->Height()};
    surface->SetClip(all);
    m_host.Screen().Paint(*surface, all);
    if (corlist::Control* popup = m_host.Modal()) {
        surface->SetClip(all);
        popup->Paint(*surface, all);
    }
    surface->ResetClip();
    auto object = platform::GdiObjectTable::Instance().LookupAs<platform::BitmapObject>(surface->Bitmap(),
                                                                                        platform::GdiKind::Bitmap);
    ASSERT_NE(object, nullptr);
    testsupport::ExpectMatchesGolden(*object->GetSurface(), name, tolerance, allowed);
}

void ModalHost::StartQueue() {
    PostMessageW(m_parent, kRunActions, 0, 0);
}

} // namespace controltest
