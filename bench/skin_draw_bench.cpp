// One VGA screen (480x640) of skin drawing on a DrawSurface: a background picture tiled
// or drawn once, twelve list rows each with a fill (every other one translucent), a 48x48
// icon with an alpha picture and two lines of text, and a gradient title bar.
#include "corlist/image/Image.h"
#include "corlist/image/ImageLoader.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinImageProvider.h"
#include "corlist/skin/SkinImageSlot.h"
#include "corlist/skin/SurfaceFill.h"
#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace corlist;

constexpr int kWidth = 480;
constexpr int kHeight = 640;
constexpr int kRows = 12;

// Pictures built in memory, handed out as a skin would.
class BenchSkin : public SkinImageProvider {
public:
    SkinImageSlot* AcquireImage(LPCWSTR name, bool, bool) override {
        auto it = m_slots.find(name);
        return it == m_slots.end() ? nullptr : &it->second.slot;
    }
    void ReleaseImage(Image*) override {}
    void Add(const std::u16string& name, std::unique_ptr<Image> image) {
        Entry& entry = m_slots[name];
        entry.image = std::move(image);
        entry.slot.image = entry.image.get();
    }

private:
    struct Entry {
        std::unique_ptr<Image> image;
        SkinImageSlot slot;
    };
    std::map<std::u16string, Entry> m_slots;
};

std::unique_ptr<Image> Picture(int width, int height, int bits) {
    auto image = std::make_unique<Image>();
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    CreateBitmap(&image->Bitmap(), width, -height, bits, bits == 16 ? masks : nullptr, bits == 16 ? 3 : 0);
    ImageBitmap& bitmap = image->Bitmap();
    for (int y = 0; y < height; ++y) {
        BYTE* row = bitmap.Row(y);
        for (int x = 0; x < width; ++x) {
            if (bits == 16) {
                uint16_t v = uint16_t(((x * 31 / width) << 11) | ((y * 63 / height) << 5) | 12);
                std::memcpy(row + 2 * x, &v, 2);
            } else { // alpha: a soft disc
                int dx = 2 * x - width + 1, dy = 2 * y - height + 1;
                int d2 = dx * dx + dy * dy;
                row[x] = BYTE(d2 >= width * width ? 0 : 255 - d2 * 255 / (width * width));
            }
        }
    }
    return image;
}

struct Screen {
    Screen() {
        skin.Add(u"tile", Picture(64, 64, 16));
        skin.Add(u"full", Picture(kWidth, kHeight, 16));
        skin.Add(u"icon", Picture(48, 48, 16));
        skin.Add(u"icon_a", Picture(48, 48, 8));
        surface.Create(kWidth, kHeight);
        Set(tiled, {{"source", "tile"}, {"repeat", "64,64"}});
        Set(whole, {{"source", "full"}});
        Set(icon, {{"source", "icon"}, {"source_a", "icon_a"}, {"flags", "center"}});
        Set(rowFill, {{"color", "#FFFFFF"}});
        Set(translucentFill, {{"color", "#000000"}, {"opacity", "30"}});
        Set(title, {{"color", "#3169C6"}, {"gradient", "#10489C"}});
        Set(name, {{"color", "#000000"}, {"size", "16"}, {"weight", "700"}, {"textstyle", "..."}});
        Set(detail, {{"color", "#404040"}, {"size", "13"}, {"shadow", "#FFFFFF"}, {"textstyle", "..."}});
    }
    // The surface goes before the device that made it.
    ~Screen() { surface.Destroy(); }
    template <typename Element>
    void Set(Element& element, std::initializer_list<std::pair<const char*, const char*>> attributes) {
        for (auto [key, value] : attributes)
            element.SetAttribute(key, value, arena);
    }
    void Draw(bool tile) {
        const RECT all{0, 0, kWidth, kHeight};
        (tile ? tiled : whole).Draw(surface, all);
        title.Paint(surface, RECT{0, 0, kWidth, 40}, all);
        int rowHeight = (kHeight - 40) / kRows;
        for (int i = 0; i < kRows; ++i) {
            int top = 40 + i * rowHeight;
            (i % 2 ? translucentFill : rowFill).Paint(surface, RECT{0, top, kWidth, top + rowHeight - 2}, all);
            icon.Draw(surface, RECT{4, top, 56, top + rowHeight});
            RECT first{64, top + 2, kWidth - 4, top + 24};
            RECT second{64, top + 26, kWidth - 4, top + rowHeight - 2};
            name.DrawText(surface, u"Contact name number one", -1, first, DT_SINGLELINE);
            detail.DrawText(surface, u"+44 20 7946 0123 mobile, last call yesterday", -1, second, DT_SINGLELINE);
        }
    }
    testsupport::ScratchDevice device; // booted first, shut down last
    common::NodeArena arena;
    BenchSkin skin;
    DrawSurface surface;
    ImageElement tiled{skin}, whole{skin}, icon{skin};
    FillElement rowFill, translucentFill, title;
    FontElement name, detail;
};

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

void VgaScreen(benchmark::State& state) {
    Screen& screen = TheScreen();
    bool tile = state.range(0) != 0;
    for (auto _ : state) {
        screen.Draw(tile);
        benchmark::DoNotOptimize(screen.surface.Pixel(100, 100));
    }
}

// The same screen without text: the share of the pixel loops.
void VgaScreenWithoutText(benchmark::State& state) {
    Screen& screen = TheScreen();
    const RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        screen.tiled.Draw(screen.surface, all);
        screen.title.Paint(screen.surface, RECT{0, 0, kWidth, 40}, all);
        for (int i = 0; i < kRows; ++i) {
            int top = 40 + i * 50;
            (i % 2 ? screen.translucentFill : screen.rowFill).Paint(screen.surface, RECT{0, top, kWidth, top + 48}, all);
            screen.icon.Draw(screen.surface, RECT{4, top, 56, top + 50});
        }
        benchmark::DoNotOptimize(screen.surface.Pixel(100, 100));
    }
}

void TranslucentFullScreen(benchmark::State& state) {
    Screen& screen = TheScreen();
    for (auto _ : state)
        FillRect(screen.surface, RECT{0, 0, kWidth, kHeight}, RGB(0, 0, 0), 77);
}

} // namespace

BENCHMARK(VgaScreen)->Arg(1)->Arg(0)->ArgName("tiled")->Unit(benchmark::kMillisecond);
BENCHMARK(VgaScreenWithoutText)->Unit(benchmark::kMillisecond);
BENCHMARK(TranslucentFullScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
