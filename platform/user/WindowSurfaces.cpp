#include "user/WindowSurfaces.h"

#include "gdi/Surface.h"
#include "user/UserPrivate.h"

namespace platform {

namespace {

constexpr int kMaxDepth = 256;

RECT ClientRectOn(const WindowObject& window, POINT rootOrigin) {
    POINT origin = ClientOriginLocked(window);
    LONG left = origin.x - rootOrigin.x, top = origin.y - rootOrigin.y;
    return RECT{left, top, left + window.Width(), top + window.Height()};
}

// Removes the visible windows of `siblings` that come before `stopAt` (those above it).
void SubtractSiblingsAbove(Region& region, const std::vector<HWND>& siblings, HWND stopAt,
                           POINT rootOrigin) {
    for (HWND hwnd : siblings) {
        if (hwnd == stopAt)
            break;
        WindowObject* sibling = Wm().m_windows.Find(hwnd);
        if (sibling && (sibling->m_style & WS_VISIBLE))
            region.Subtract(ClientRectOn(*sibling, rootOrigin));
    }
}

} // namespace

WindowObject* WindowSurfaces::RootLocked(WindowObject& window) {
    WindowObject* current = &window;
    for (int depth = 0; current->IsChild() && depth < kMaxDepth; ++depth) {
        WindowObject* parent = Wm().m_windows.Find(current->m_parent);
        if (!parent)
            break;
        current = parent;
    }
    return current;
}

bool WindowSurfaces::EnsureSurfaceLocked(WindowObject& root) {
    int width = root.Width(), height = root.Height();
    if (width <= 0 || height <= 0)
        return false;
    if (root.m_surface && root.m_surface->Width() == width && root.m_surface->Height() == height)
        return true;
    // A resized window gets a new store; the resize invalidated the whole window anyway.
    root.m_surface = Surface::Create(width, height, PixelLayout::Rgb565, true);
    return root.m_surface != nullptr;
}

DcTarget WindowSurfaces::TargetLocked(WindowObject& window) {
    DcTarget target;
    WindowObject* root = RootLocked(window);
    if (!EnsureSurfaceLocked(*root))
        return target;
    target.surface = root->m_surface;
    POINT rootOrigin = ClientOriginLocked(*root);
    RECT own = ClientRectOn(window, rootOrigin);
    target.origin = POINT{own.left, own.top};
    if (!IsVisibleLocked(window))
        return target;
    target.visible = Region(own);
    // Visible children cover their part of the window.
    for (HWND hwnd : window.m_children)
        if (WindowObject* child = Wm().m_windows.Find(hwnd); child && (child->m_style & WS_VISIBLE))
            target.visible.Subtract(ClientRectOn(*child, rootOrigin));
    // Each ancestor level clips to the parent and drops the siblings above.
    WindowObject* current = &window;
    for (int depth = 0; current->IsChild() && depth < kMaxDepth; ++depth) {
        WindowObject* parent = Wm().m_windows.Find(current->m_parent);
        if (!parent)
            break;
        target.visible.Intersect(ClientRectOn(*parent, rootOrigin));
        SubtractSiblingsAbove(target.visible, parent->m_children, current->m_handle, rootOrigin);
        current = parent;
    }
    return target;
}

std::vector<ScreenLayer> WindowSurfaces::Layers(int& screenWidth, int& screenHeight) {
    auto lock = LockUser();
    screenWidth = Wm().ScreenWidth();
    screenHeight = Wm().ScreenHeight();
    std::vector<ScreenLayer> layers;
    const auto& topLevel = Wm().m_windows.TopLevel();
    for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) {
        WindowObject* window = Wm().m_windows.Find(*it);
        if (window && (window->m_style & WS_VISIBLE) && window->m_surface)
            layers.push_back(ScreenLayer{window->m_surface, window->m_rect});
    }
    return layers;
}

} // namespace platform
