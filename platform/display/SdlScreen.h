// The phone window (SDL2 back end): shows the composed screen at 1x or 2x, optionally in a
// device frame, and feeds the stylus (left mouse button) and the hardware keys into the
// device. Only the area that changed since the last frame is uploaded, and a frame is
// presented only when something changed or the window was exposed. SDL's video functions
// must run on the host's main thread: Open and Run are called there.
//
// Keys of the host keyboard: F1/F2 soft keys, F3 Talk, F4 End, Enter action, arrows the
// direction pad, Esc back, digits, '*' star, '#' pound, letters, space, backspace, shift.
#pragma once

#include "ce/types.h"
#include "display/PhoneBody.h"

#include <SDL2/SDL.h>

#include <functional>
#include <optional>
#include <string>

namespace platform {

struct SdlScreenOptions {
    int scale = 1;     // 1 or 2
    bool frame = true; // the phone body with its hardware keys around the screen
};

class SdlScreen {
public:
    explicit SdlScreen(SdlScreenOptions options) : m_options(options) {}
    ~SdlScreen();
    SdlScreen(const SdlScreen&) = delete;
    SdlScreen& operator=(const SdlScreen&) = delete;

    // Opens the window; false with a reason when SDL has no usable display.
    bool Open(std::string& error);
    // Shows frames and feeds input until `stop` returns true or the window is closed.
    void Run(const std::function<bool()>& stop);
    // One round: handles pending events and shows the screen if it changed. False once
    // the window was closed.
    bool Step();

    // The device's virtual key for a host key, or nothing for keys the phone lacks.
    static std::optional<BYTE> KeyFor(SDL_Keycode key);
    // The screen point under a window pixel; false outside the screen (clamped into it).
    bool ToScreen(int x, int y, POINT& point) const;
    // Frames presented so far (tests).
    int PresentedFrames() const { return m_presented; }

private:
    bool FitToScreen(int width, int height);
    // Draws the phone body with the platform's own drawing into a texture.
    bool PaintBody();
    void HandleEvent(const SDL_Event& event);
    void PressKey(int x, int y);
    void ReleaseKey();
    void Present();

    SdlScreenOptions m_options;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    SDL_Texture* m_bodyTexture = nullptr;
    std::optional<PhoneBody> m_body; // with the frame
    RECT m_target{};                  // where the screen lies in the window
    int m_pressedKey = -1;            // the body key held with the mouse
    bool m_wholeScreenStale = false;  // the screen texture was made again
    int m_width = 0;
    int m_height = 0;
    bool m_stylusDown = false;
    bool m_exposed = true;
    bool m_closed = false;
    bool m_initialized = false;
    int m_presented = 0;
};

} // namespace platform
