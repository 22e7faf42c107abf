#include "display/SdlScreen.h"

#include "display/Display.h"
#include "user/HardwareKeys.h"
#include "user/StylusInput.h"

#include <algorithm>

namespace platform {

namespace {

// How often the screen is composed while the window is open.
constexpr Uint32 kFrameMs = 33;

} // namespace

SdlScreen::~SdlScreen() {
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    if (m_window)
        SDL_DestroyWindow(m_window);
    if (m_initialized)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlScreen::Open(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = SDL_GetError();
        return false;
    }
    m_initialized = true;
    m_window = SDL_CreateWindow("Dialora", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 240, 320, 0);
    if (m_window)
        m_renderer = SDL_CreateRenderer(m_window, -1, 0);
    if (!m_window || !m_renderer) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

// Makes the window and the texture fit a screen of `width` x `height` (boot or rotation).
bool SdlScreen::FitToScreen(int width, int height) {
    if (m_texture && width == m_width && height == m_height)
        return true;
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                  width, height);
    if (!m_texture)
        return false;
    m_width = width;
    m_height = height;
    SDL_SetWindowSize(m_window, width * m_options.scale + 2 * Margin(),
                      height * m_options.scale + 2 * Margin());
    return true;
}

bool SdlScreen::ToScreen(int x, int y, POINT& point) const {
    int sx = (x - Margin()) / m_options.scale, sy = (y - Margin()) / m_options.scale;
    bool inside = x >= Margin() && y >= Margin() && sx < m_width && sy < m_height;
    point = POINT{std::clamp(sx, 0, std::max(m_width - 1, 0)), std::clamp(sy, 0, std::max(m_height - 1, 0))};
    return inside;
}

std::optional<BYTE> SdlScreen::KeyFor(SDL_Keycode key) {
    if (key >= SDLK_0 && key <= SDLK_9)
        return BYTE('0' + (key - SDLK_0));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return BYTE('1' + (key - SDLK_KP_1));
    if (key >= SDLK_a && key <= SDLK_z)
        return BYTE('A' + (key - SDLK_a));
    switch (key) {
    case SDLK_KP_0:
        return BYTE('0');
    case SDLK_F1:
        return BYTE(VK_TSOFT1);
    case SDLK_F2:
        return BYTE(VK_TSOFT2);
    case SDLK_F3:
        return BYTE(VK_TTALK);
    case SDLK_F4:
        return BYTE(VK_TEND);
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return BYTE(VK_TACTION);
    case SDLK_LEFT:
        return BYTE(VK_LEFT);
    case SDLK_RIGHT:
        return BYTE(VK_RIGHT);
    case SDLK_UP:
        return BYTE(VK_UP);
    case SDLK_DOWN:
        return BYTE(VK_DOWN);
    case SDLK_ESCAPE:
        return BYTE(VK_TBACK);
    case SDLK_BACKSPACE:
        return BYTE(VK_BACK);
    case SDLK_ASTERISK:
    case SDLK_KP_MULTIPLY:
        return BYTE(VK_TSTAR);
    case SDLK_HASH:
        return BYTE(VK_TPOUND);
    case SDLK_SPACE:
        return BYTE(VK_SPACE);
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return BYTE(VK_SHIFT);
    default:
        return std::nullopt;
    }
}

void SdlScreen::HandleEvent(const SDL_Event& event) {
    POINT point;
    switch (event.type) {
    case SDL_QUIT:
        m_closed = true;
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
            m_exposed = true;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT && ToScreen(event.button.x, event.button.y, point)) {
            m_stylusDown = true;
            StylusInput::Deliver(StylusAction::Press, point);
        }
        break;
    case SDL_MOUSEMOTION:
        // The stylus is only seen while it touches the screen.
        if (m_stylusDown) {
            ToScreen(event.motion.x, event.motion.y, point);
            StylusInput::Deliver(StylusAction::Move, point);
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && m_stylusDown) {
            m_stylusDown = false;
            ToScreen(event.button.x, event.button.y, point);
            StylusInput::Deliver(StylusAction::Release, point);
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (auto key = KeyFor(event.key.keysym.sym))
            HardwareKeys::Key(*key, event.type == SDL_KEYUP);
        break;
    default:
        break;
    }
}

void SdlScreen::Present() {
    Display::Frame frame = Display::Instance().Compose();
    if (!frame.screen || !FitToScreen(frame.screen->Width(), frame.screen->Height()))
        return;
    bool damaged = frame.damage.right > frame.damage.left && frame.damage.bottom > frame.damage.top;
    if (damaged) {
        // Only the rows and columns that changed go to the texture.
        SDL_Rect area{frame.damage.left, frame.damage.top, frame.damage.right - frame.damage.left,
                      frame.damage.bottom - frame.damage.top};
        const uint8_t* first = frame.screen->Row(area.y) + size_t(area.x) * 2;
        SDL_UpdateTexture(m_texture, &area, first, int(frame.screen->Stride()));
    }
    if (!damaged && !m_exposed)
        return;
    m_exposed = false;
    if (m_options.frame)
        SDL_SetRenderDrawColor(m_renderer, 36, 36, 40, 255);
    else
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_Rect target{Margin(), Margin(), m_width * m_options.scale, m_height * m_options.scale};
    if (m_options.frame) {
        // A lighter bezel line around the glass.
        SDL_Rect bezel{target.x - 3, target.y - 3, target.w + 6, target.h + 6};
        SDL_SetRenderDrawColor(m_renderer, 90, 90, 98, 255);
        SDL_RenderFillRect(m_renderer, &bezel);
    }
    SDL_RenderCopy(m_renderer, m_texture, nullptr, &target);
    SDL_RenderPresent(m_renderer);
    ++m_presented;
}

bool SdlScreen::Step() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        HandleEvent(event);
    if (!m_closed)
        Present();
    return !m_closed;
}

void SdlScreen::Run(const std::function<bool()>& stop) {
    Uint32 next = SDL_GetTicks();
    while (!stop()) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, int(kFrameMs / 2)))
            HandleEvent(event);
        if (m_closed)
            return;
        if (SDL_TICKS_PASSED(SDL_GetTicks(), next)) {
            if (!Step())
                return;
            next = SDL_GetTicks() + kFrameMs;
        }
    }
}

} // namespace platform
