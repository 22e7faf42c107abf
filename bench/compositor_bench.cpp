// Compositing a full VGA frame: the screen buffer from the top-level windows' surfaces.
// Aim: under 1 ms per frame.
#include "display/Compositor.h"

#include <benchmark/benchmark.h>

using platform::Compositor;
using platform::PixelLayout;
using platform::ScreenLayer;
using platform::Surface;

namespace {

std::shared_ptr<Surface> Filled(int width, int height, uint16_t color) {
    auto surface = Surface::Create(width, height, PixelLayout::Rgb565, true);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reinterpret_cast<uint16_t*>(surface->Row(y))[x] = uint16_t(color + x);
    return surface;
}

// A phone's usual stack: the desktop, a full-screen program, the task bar and a message box.
std::vector<ScreenLayer> VgaStack() {
    return {
        {Filled(480, 640, 0x1000), RECT{0, 0, 480, 640}},
        {Filled(480, 588, 0x2000), RECT{0, 52, 480, 640}},
        {Filled(480, 52, 0x3000), RECT{0, 0, 480, 52}},
        {Filled(448, 200, 0x4000), RECT{16, 220, 464, 420}},
    };
}

void FullVgaFrame(benchmark::State& state) {
    auto screen = Surface::Create(480, 640, PixelLayout::Rgb565, true);
    std::vector<ScreenLayer> layers = VgaStack();
    for (auto _ : state) {
        Compositor::Compose(*screen, layers, 0);
        benchmark::DoNotOptimize(screen->Bits());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 480 * 640 * 2);
}
BENCHMARK(FullVgaFrame)->Unit(benchmark::kMicrosecond);

// One frame as the phone window gets it: composing plus finding the damaged area.
void FrameWithDamage(benchmark::State& state) {
    auto previous = Surface::Create(480, 640, PixelLayout::Rgb565, true);
    auto screen = Surface::Create(480, 640, PixelLayout::Rgb565, true);
    std::vector<ScreenLayer> layers = VgaStack();
    Compositor::Compose(*previous, layers, 0);
    for (auto _ : state) {
        Compositor::Compose(*screen, layers, 0);
        benchmark::DoNotOptimize(Compositor::Difference(*previous, *screen));
    }
}
BENCHMARK(FrameWithDamage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
