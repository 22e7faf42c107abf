// The device's screen buffer in memory (the headless back end): each Compose stacks the
// top-level windows' surfaces into a new RGB565 frame of the screen's size. Frames are
// never changed once composed, so the console can save one while the SDL window shows
// another. The SDL back end (SdlScreen) shows frames; the console saves them as PNG.
#pragma once

#include "ce/types.h"
#include "gdi/Surface.h"

#include <filesystem>
#include <memory>
#include <mutex>

namespace platform {

class Display {
public:
    static Display& Instance();

    struct Frame {
        std::shared_ptr<Surface> screen;
        // What differs from the frame composed before (the whole screen after a size
        // change); empty when nothing changed.
        RECT damage{};
    };
    // Composes the screen as it is now. Takes the WaitHub lock briefly; never call it with
    // the lock held. A null screen only when memory ran out.
    Frame Compose();
    // The last frame composed (composes one when there is none yet).
    std::shared_ptr<Surface> LatestScreen();
    // Composes the screen and saves it as a 24-bit PNG; false when it cannot be written.
    bool SaveScreenshot(const std::filesystem::path& path, int& width, int& height);
    // Forgets the frames (device shutdown).
    void Reset();

    // What shows where no window is.
    static constexpr uint16_t kBackground = 0x0000;

private:
    std::mutex m_mutex;
    std::shared_ptr<Surface> m_latest;
};

} // namespace platform
