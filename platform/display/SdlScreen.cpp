#include "display/SdlScreen.h"

#include "display/Display.h"

#include "ce/user.h"
#include "user/HardwareKeys.h"
#include "user/StylusInput.h"

#include <algorithm>

namespace platform {

namespace {

// How often the screen is composed while the window is open.
constexpr Uint32 kFrameMs = 33;

} // namespace

SdlScreen::~SdlScreen() {
    if (m_bodyTexture)
        SDL_DestroyTexture(m_bodyTexture);
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
    // The window starts at the size the phone's screen needs, so no driver has to follow a
    // resize before the first frame.
    int width = std::max(GetSystemMetrics(SM_CXSCREEN), 1) * m_options.scale;
    int height = std::max(GetSystemMetrics(SM_CYSCREEN), 1) * m_options.scale;
    if (m_options.frame) {
        PhoneBody body(width / m_options.scale, height / m_options.scale, m_options.scale);
        width = body.WindowWidth();
        height = body.WindowHeight();
    }
    m_window = SDL_CreateWindow("Dialora", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, 0);
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
    m_width = width;
    m_height = height;
    if (m_options.frame) {
        m_body.emplace(width, height, m_options.scale);
        m_target = m_body->Screen();
        SDL_SetWindowSize(m_window, m_body->WindowWidth(), m_body->WindowHeight());
    } else {
        m_body.reset();
        m_target = RECT{0, 0, width * m_options.scale, height * m_options.scale};
        SDL_SetWindowSize(m_window, width * m_options.scale, height * m_options.scale);
    }
    // A renderer made now draws over the whole window at its new size, whatever the video
    // driver; the textures go with the old one.
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    if (m_bodyTexture)
        SDL_DestroyTexture(m_bodyTexture);
    m_texture = nullptr;
    m_bodyTexture = nullptr;
    SDL_DestroyRenderer(m_renderer);
    m_renderer = SDL_CreateRenderer(m_window, -1, 0);
    if (!m_renderer)
        return false;
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!m_texture)
        return false;
    if (m_body)
        PaintBody();
    m_wholeScreenStale = true;
    m_exposed = true;
    return true;
}

bool SdlScreen::ToScreen(int x, int y, POINT& point) const {
    int sx = (x - m_target.left) / m_options.scale, sy = (y - m_target.top) / m_options.scale;
    bool inside = x >= m_target.left && y >= m_target.top && sx < m_width && sy < m_height;
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
        if (event.button.button != SDL_BUTTON_LEFT)
            break;
        if (ToScreen(event.button.x, event.button.y, point)) {
            m_stylusDown = true;
            StylusInput::Deliver(StylusAction::Press, point);
        } else {
            PressKey(event.button.x, event.button.y);
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
        if (event.button.button == SDL_BUTTON_LEFT)
            ReleaseKey();
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
    if (m_wholeScreenStale) {
        // A new texture holds nothing yet: the whole screen goes up.
        frame.damage = RECT{0, 0, m_width, m_height};
        damaged = true;
        m_wholeScreenStale = false;
    }
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
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    if (m_bodyTexture)
        SDL_RenderCopy(m_renderer, m_bodyTexture, nullptr, nullptr);
    if (m_body && m_pressedKey >= 0) {
        // A held key looks pressed: its face darkens.
        const RECT& r = m_body->Keys()[size_t(m_pressedKey)].rect;
        SDL_Rect key{r.left, r.top, r.right - r.left, r.bottom - r.top};
        SDL_SetRenderDrawBlendMode(m_renderer, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 110);
        SDL_RenderFillRect(m_renderer, &key);
    }
    SDL_Rect target{m_target.left, m_target.top, m_width * m_options.scale, m_height * m_options.scale};
    SDL_RenderCopy(m_renderer, m_texture, nullptr, &target);
    SDL_RenderPresent(m_renderer);
    ++m_presented;
}

// A mouse press on a hardware key of the body presses that key until the button is let go.
void SdlScreen::PressKey(int x, int y) {
    if (!m_body || m_pressedKey >= 0)
        return;
    m_pressedKey = m_body->KeyAt(x, y);
    if (m_pressedKey < 0)
        return;
    HardwareKeys::Key(m_body->Keys()[size_t(m_pressedKey)].vk, false);
    m_exposed = true;
}

void SdlScreen::ReleaseKey() {
    if (!m_body || m_pressedKey < 0)
        return;
    HardwareKeys::Key(m_body->Keys()[size_t(m_pressedKey)].vk, true);
    m_pressedKey = -1;
    m_exposed = true;
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
