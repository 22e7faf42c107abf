// The phone window drawn by SDL's dummy video driver (a framebuffer in memory): the body
// around the screen with its keys, and a click on a key pressing that hardware key.
#include "display/SdlScreen.h"
#include "support/TestDevice.h"
#include "user/InputRouter.h"
#include "user/WindowManager.h"

#include "ce/user.h"

#include <cstdlib>

namespace {

class PhoneWindow : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    }
    // The colour of a window pixel after the last frame, as 0xRRGGBB.
    static uint32_t PixelAt(SDL_Window* window, int x, int y) {
        SDL_Renderer* renderer = SDL_GetRenderer(window);
        SDL_Rect one{x, y, 1, 1};
        uint32_t pixel = 0;
        SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_RGB888, &pixel, 4);
        return pixel & 0xFFFFFF;
    }
};

TEST_F(PhoneWindow, TheBodyIsDrawnAndItsKeysPressTheHardwareKeys) {
    platform::SdlScreen screen(platform::SdlScreenOptions{1, true});
    std::string error;
    if (!screen.Open(error))
        GTEST_SKIP() << "no dummy video driver: " << error;
    ASSERT_TRUE(screen.Step());
    SDL_Window* window = SDL_GetWindowFromID(1);
    ASSERT_NE(window, nullptr);
    platform::PhoneBody body(240, 320, 1);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, body.WindowWidth());
    EXPECT_EQ(height, body.WindowHeight());
    // The Call key shows its green face beside its label.
    const platform::BodyKey& call = body.Keys()[7];
    ASSERT_EQ(call.vk, VK_TTALK);
    uint32_t face = PixelAt(window, call.rect.left + 4, (call.rect.top + call.rect.bottom) / 2);
    EXPECT_GT((face >> 8) & 0xFF, (face >> 16) & 0xFF); // more green than red
    // A click inside the glass is the stylus; one on the key presses it.
    POINT point{};
    EXPECT_TRUE(screen.ToScreen(body.Screen().left + 10, body.Screen().top + 20, point));
    EXPECT_EQ(point.x, 10);
    EXPECT_EQ(point.y, 20);
    EXPECT_FALSE(screen.ToScreen(call.rect.left + 4, call.rect.top + 4, point));
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_LEFT;
    press.button.x = call.rect.left + 4;
    press.button.y = call.rect.top + 4;
    SDL_PushEvent(&press);
    screen.Step();
    EXPECT_TRUE(GetAsyncKeyState(VK_TTALK) & 0x8000);
    SDL_Event release = press;
    release.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&release);
    screen.Step();
    EXPECT_FALSE(GetAsyncKeyState(VK_TTALK) & 0x8000);
}

} // namespace
