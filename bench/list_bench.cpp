// The finger list on a VGA screen (480x640): a header band over twelve visible rows of 50
// pixels, each with a 48x48 picture, a bold title line and a detail line, asked of the
// owner window through LVN_GETDISPINFOW from a prepared array. Measured: painting the whole
// frame, one fling step (the scroller's 25 ms step on the list's timer and the repaint), and
// the frame of a list of 10,000 rows, which must cost what the short list costs.
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlHost.h"
#include "corlist/controls/ListView.h"
#include "corlist/image/ImageLoader.h"
#include "corlist/skin/Skin.h"
#include "gdi/PngFile.h"
#include "kernel/DeviceClock.h"
#include "support/PackageBytes.h"
#include "support/ScratchDevice.h"

#include "ce/commctrl.h"
#include "ce/user.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace corlist;

constexpr int kWidth = 480;
constexpr int kHeight = 640;
constexpr UINT kListNumber = 40;
const ControlTableRow kTable[] = {{SkinKind::kListView, "list", kListNumber}, {}};

const char* kDescription =
    "<skin><application vga=\"1\"/><control name=\"Main\"><listview name=\"List\" rect=\"0,0,0,0\" style=\"touch\">"
    "<grid itemRect=\"0,0,0,50\" imageRect=\"4,1,48,48\" textRect=\"60,0,-4,0\" headerHeight=\"40\" marginX=\"4\"/>"
    "<font color=\"#404040\" size=\"13\" textstyle=\"...\"/>"
    "<font name=\"Title\" color=\"#000000\" size=\"16\" weight=\"700\" textstyle=\"...\"/>"
    "<font name=\"Header\" color=\"#FFFFFF\" size=\"14\"/>"
    "<fill color=\"#FFFFFF\"/><fill name=\"Row\" color=\"#F4F4F4\"/><fill name=\"Stripped\" color=\"#DDE6F4\"/>"
    "<fill name=\"Header\" color=\"#3169C6\" gradient=\"#10489C\"/><fill name=\"Selected\" color=\"#3169C6\"/>"
    "<color name=\"StrippedLine\" color=\"#8090B0\"/>"
    "<image source=\"icons.png\" imgList=\"2,1\"/></listview></control></skin>";

// What the owner answers: texts prepared once, handed out by pointer.
std::vector<std::u16string> g_texts;

LRESULT CALLBACK OwnerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_NOTIFY)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if (item.iItem < 0 || size_t(item.iItem) >= g_texts.size())
            return 0;
        if (item.mask & LVIF_TEXT)
            item.pszText = const_cast<WCHAR*>(g_texts[size_t(item.iItem)].c_str());
        if (item.mask & LVIF_IMAGE)
            item.iImage = item.iItem % 2;
        if (item.mask & LVIF_STATE)
            item.state = 0;
    }
    return 0;
}

std::u16string Utf16(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// Two 48x48 pictures side by side, as the skin's picture strip.
std::string IconsPng(const std::filesystem::path& scratch) {
    auto surface = platform::Surface::Create(96, 48, platform::PixelLayout::Rgb24, true);
    for (int y = 0; y < 48; ++y) {
        uint8_t* row = surface->Row(y);
        for (int x = 0; x < 96; ++x) {
            row[3 * x] = uint8_t(x * 2);
            row[3 * x + 1] = uint8_t(y * 5);
            row[3 * x + 2] = uint8_t(x < 48 ? 200 : 60);
        }
    }
    std::filesystem::path file = scratch / "icons.png";
    platform::SavePng(*surface, file);
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ListScreen : public benchmark::Fixture {
public:
    void SetUp(benchmark::State& state) override {
        platform::DeviceOptions options;
        options.screenWidth = kWidth;
        options.screenHeight = kHeight;
        m_device = std::make_unique<testsupport::ScratchDevice>(options);
        InitImagesInFolder(nullptr, nullptr, u"\\Program Files\\Tavik Dialora\\");
        std::filesystem::path skins = m_device->Get().FsRoot() / "Skins";
        std::filesystem::create_directories(skins);
        std::vector<testsupport::PackageItem> items{{u"Default.skn", kDescription}, {u"icons.png", IconsPng(skins)}};
        std::ofstream(skins / "Bench.rpk", std::ios::binary)
            << testsupport::PackageBytes(testsupport::SortedByHash(std::move(items)));
        m_skin.SetProgramFolder(u"\\");
        InstallControlDescriptors(m_skin);
        if (!m_skin.Load(u"Bench"))
            return state.SkipWithError("the skin did not load");
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &OwnerProcedure;
        windowClass.lpszClassName = u"ListBenchOwner";
        RegisterClassW(&windowClass);
        m_owner = CreateWindowExW(0, u"ListBenchOwner", u"", WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                  nullptr, nullptr);
        if (!m_host.Create(m_skin, "main", kTable, m_owner, WS_CHILD | WS_VISIBLE, RECT{0, 0, kWidth, kHeight}))
            return state.SkipWithError("the list screen was not built");
        m_list = static_cast<ListView*>(m_host.Screen().FindById(kListNumber));
        int rows = int(state.range(0));
        g_texts.clear();
        for (int row = 0; row < rows; ++row)
            g_texts.push_back(Utf16("Contact number " + std::to_string(row) +
                                    "\n+44 20 7946 " + std::to_string(1000 + row % 9000) + " mobile, yesterday"));
        m_list->SetColumns({ListColumn{-1, 0, u"Contacts"}});
        m_list->SetItemCount(rows);
        platform::DeviceClock::Instance().Freeze();
    }
    void TearDown(benchmark::State&) override {
        m_host.Destroy();
        if (m_owner)
            DestroyWindow(m_owner);
        m_owner = nullptr;
        m_list = nullptr;
        m_skin.ClearSkin();
        ShutdownImages();
        m_device.reset();
    }

protected:
    void Paint() {
        DrawSurface& surface = *m_host.Surface();
        const RECT all{0, 0, kWidth, kHeight};
        surface.SetClip(all);
        m_host.Screen().Paint(surface, all);
        surface.ResetClip();
    }
    void Pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    // A quick upward stroke released while moving, from the top of the list: samples 20 ms
    // apart on the frozen clock, so the list takes a fling of about 3000 pixels per second.
    void Fling() {
        m_list->ScrollTo(0);
        auto& clock = platform::DeviceClock::Instance();
        HWND window = m_host.Window();
        PostMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(240, 600));
        for (int step = 1; step <= 5; ++step) {
            clock.Advance(20);
            PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(240, 600 - 60 * step));
        }
        PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(240, 300));
        Pump();
    }

    std::unique_ptr<testsupport::ScratchDevice> m_device;
    Skin m_skin;
    HWND m_owner = nullptr;
    ControlHost m_host;
    ListView* m_list = nullptr;
};

BENCHMARK_DEFINE_F(ListScreen, Frame)(benchmark::State& state) {
    if (!m_list)
        return;
    m_list->ScrollTo(int(state.range(0)) / 2); // a page from the middle of the list
    Paint();
    if (m_list->Visible().count != 12)
        return state.SkipWithError(("the frame shows " + std::to_string(m_list->Visible().count) + " rows of " +
                                    std::to_string(m_list->RowHeight()) + " in " +
                                    std::to_string(m_host.Surface()->Width()) + "x" +
                                    std::to_string(m_host.Surface()->Height()))
                                       .c_str());
    for (auto _ : state) {
        Paint();
        benchmark::DoNotOptimize(m_host.Surface()->Pixel(100, 100));
    }
    state.counters["rows_shown"] = m_list->Visible().count;
}

BENCHMARK_DEFINE_F(ListScreen, FlingStep)(benchmark::State& state) {
    if (!m_list)
        return;
    Fling();
    if (!m_list->Scrolling().IsAnimating())
        return state.SkipWithError("the stroke did not fling");
    int flings = 0;
    for (auto _ : state) {
        if (!m_list->Scrolling().IsAnimating()) {
            state.PauseTiming();
            Fling();
            ++flings;
            state.ResumeTiming();
        }
        SendMessageW(m_host.Window(), WM_TIMER, m_list->TimerId(), 0);
        Paint();
        benchmark::DoNotOptimize(m_host.Surface()->Pixel(100, 100));
    }
    state.counters["flings"] = flings;
}

BENCHMARK_REGISTER_F(ListScreen, Frame)->Arg(40)->Arg(10000)->ArgName("rows")->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(ListScreen, FlingStep)->Arg(10000)->ArgName("rows")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
