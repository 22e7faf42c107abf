// The screen gallery: on a headless phone of each screen size it loads the Default skin with
// screens of its own beside the skin's (every control kind, a list), opens the menus and the
// message box with sample data, and saves each screen as a PNG with an index page.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace gallery {

struct ScreenSize {
    int width;
    int height;
};

class Gallery {
public:
    // `installFolder`: the built image folder the phone installs (it holds Skins\Default.rpk).
    Gallery(std::filesystem::path installFolder, std::filesystem::path outputFolder);

    // Saves every screen at every size; false with a reason when a phone does not boot or
    // the skin does not load.
    bool Run(const std::vector<ScreenSize>& sizes, std::string& error);
    // The pictures saved, as "SCREEN-WxH.png".
    const std::vector<std::string>& Saved() const { return m_saved; }
    // Writes index.html: one row per screen, its sizes side by side.
    bool WriteIndex(const std::vector<ScreenSize>& sizes) const;

    static const std::vector<std::string>& ScreenNames();

private:
    bool RunAt(ScreenSize size, std::string& error);
    // Every screen on the booted phone whose file system lies at `fsRoot`.
    bool Shoot(ScreenSize size, const std::filesystem::path& fsRoot, std::string& error);

    std::filesystem::path m_install;
    std::filesystem::path m_output;
    std::vector<std::string> m_saved;
};

} // namespace gallery
