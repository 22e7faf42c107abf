#include "display/Display.h"

#include "display/Compositor.h"
#include "gdi/PngFile.h"
#include "user/WindowSurfaces.h"

namespace platform {

Display& Display::Instance() {
    static Display display;
    return display;
}

Display::Frame Display::Compose() {
    // The layers are collected under the WaitHub lock; the pixels are copied without it.
    int width = 0, height = 0;
    std::vector<ScreenLayer> layers = WindowSurfaces::Layers(width, height);
    Frame frame;
    frame.screen = Surface::Create(width, height, PixelLayout::Rgb565, true);
    if (!frame.screen)
        return frame;
    Compositor::Compose(*frame.screen, layers, kBackground);
    std::lock_guard lock(m_mutex);
    frame.damage = m_latest ? Compositor::Difference(*m_latest, *frame.screen)
                            : RECT{0, 0, width, height};
    m_latest = frame.screen;
    return frame;
}

std::shared_ptr<Surface> Display::LatestScreen() {
    {
        std::lock_guard lock(m_mutex);
        if (m_latest)
            return m_latest;
    }
    return Compose().screen;
}

bool Display::SaveScreenshot(const std::filesystem::path& path, int& width, int& height) {
    Frame frame = Compose();
    if (!frame.screen)
        return false;
    width = frame.screen->Width();
    height = frame.screen->Height();
    return SavePng(*frame.screen, path);
}

void Display::Reset() {
    std::lock_guard lock(m_mutex);
    m_latest.reset();
}

} // namespace platform
