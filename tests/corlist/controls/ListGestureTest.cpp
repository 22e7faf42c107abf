// Gestures on a long list through the console, on a frozen clock: the list's window runs on
// a UI thread of its own that waits in GetMessageW, as a program's does, while the test
// thread types `drag`, `flick`, `time advance` and `ui`. A drag moves the list by its
// distance, a flick flies on and comes to rest where the scroller's arithmetic puts it, and
// a pull past the top springs back to the first row.
#include "../skin/SkinDevice.h"

#include "console/Console.h"
#include "console/DeviceCommands.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlHost.h"
#include "corlist/controls/ListView.h"
#include "corlist/skin/Skin.h"

#include "ce/commctrl.h"
#include "ce/kernel.h"
#include "ce/user.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

using namespace corlist;

namespace {

using Lines = std::vector<std::string>;

constexpr int kRowHeight = 32;
constexpr int kItems = 200;
constexpr UINT kList = 40;
constexpr UINT kAskPosition = WM_USER + 5; // answers the list's scroll position
constexpr UINT kAskAnimating = WM_USER + 6;
constexpr UINT kQuit = WM_USER + 7;

const ControlTableRow kTable[] = {{SkinKind::kListView, "list", kList}, {}};

const char* kSkin = "<skin><control name='Main'><listview name='List' rect='0,0,0,0' style='touch'>"
                    "<grid itemRect='0,0,0,32' textRect='4,0,-4,0'/><font color='#000000' size='11'/>"
                    "<fill color='#FFFFFF'/><fill name='OutArea' color='#808080'/></listview></control></skin>";

ListView* g_list = nullptr; // the UI thread's list; only that thread touches it

LRESULT CALLBACK OwnerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code != LVN_GETDISPINFOW)
            return 0;
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        std::string text = "Name " + std::to_string(item.iItem);
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > int(text.size()))
            for (size_t i = 0; i <= text.size(); ++i)
                item.pszText[i] = i < text.size() ? WCHAR(text[i]) : 0;
        return 0;
    }
    case kAskPosition:
        return g_list ? g_list->ScrollPosition() : -99999;
    case kAskAnimating:
        return g_list && g_list->Scrolling().IsAnimating();
    case kQuit:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

class ListGesture : public skintest::SkinDevice {
protected:
    void SetUp() override {
        SkinDevice::SetUp();
        platform::RegisterDeviceCommands(m_console);
        std::string xml = kSkin;
        for (char& ch : xml)
            if (ch == '\'')
                ch = '"';
        WritePackage("Test.rpk", {{u"Default.skn", xml}});
        // An emulated thread, so that the console counts it when it waits for the device to settle.
        m_ui = CreateThread(nullptr, 0, &ListGesture::UiThread, this, 0, nullptr);
        ASSERT_NE(m_ui, nullptr);
        for (int i = 0; i < 400 && !m_ready; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_TRUE(m_ready);
        ASSERT_NE(m_owner, nullptr);
        ASSERT_EQ(Answer("time freeze"), (Lines{"OK"}));
    }
    void TearDown() override {
        if (m_owner)
            PostMessageW(m_owner, kQuit, 0, 0);
        if (m_ui) {
            WaitForSingleObject(m_ui, INFINITE);
            CloseHandle(m_ui);
        }
        SkinDevice::TearDown();
    }

    static DWORD WINAPI UiThread(LPVOID self) {
        static_cast<ListGesture*>(self)->RunUiThread();
        return 0;
    }
    // The list's window and its message loop, all on this thread.
    void RunUiThread() {
        Skin skin;
        ControlHost host;
        skin.SetProgramFolder(u"\\");
        InstallControlDescriptors(skin);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &OwnerProcedure;
        windowClass.lpszClassName = u"GestureOwner";
        RegisterClassW(&windowClass);
        HWND owner = CreateWindowExW(0, u"GestureOwner", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                                     nullptr);
        if (skin.Load(u"Test") && owner &&
            host.Create(skin, "Main", kTable, owner, WS_CHILD | WS_VISIBLE, RECT{0, 0, 240, 320})) {
            g_list = static_cast<ListView*>(host.Screen().FindById(kList));
            g_list->SetItemCount(kItems);
            m_owner = owner;
        }
        m_ready = true;
        MSG message{};
        while (m_owner && GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        g_list = nullptr;
        host.Destroy();
        if (owner)
            DestroyWindow(owner);
        skin.ClearSkin();
    }

    Lines Answer(const std::string& line) { return m_console.Execute(line).lines; }
    // The index of the first row `ui` shows, or -1.
    int FirstRow() {
        char handle[32];
        std::snprintf(handle, sizeof handle, "0x%llX",
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(m_owner.load())));
        for (const std::string& line : Answer(std::string("ui ") + handle))
            if (size_t at = line.find("row "); at != std::string::npos && line.find("\"Name ") != std::string::npos)
                return std::stoi(line.substr(at + 4));
        return -1;
    }
    int Position() { return int(SendMessageW(m_owner, kAskPosition, 0, 0)); }
    bool Animating() { return SendMessageW(m_owner, kAskAnimating, 0, 0) != 0; }

    platform::Console m_console;
    HANDLE m_ui = nullptr;
    std::atomic<bool> m_ready = false;
    std::atomic<HWND> m_owner = nullptr;
};

TEST_F(ListGesture, ADragMovesTheListByItsDistanceAndDoesNotFling) {
    ASSERT_EQ(FirstRow(), 0);
    // 150 pixels up in 300 ms, then the pen rests before it lifts.
    ASSERT_EQ(Answer("drag 120 250 120 100 300"), (Lines{"OK"}));
    EXPECT_EQ(Position(), 150);
    EXPECT_EQ(FirstRow(), 4);
    EXPECT_FALSE(Animating());
    ASSERT_EQ(Answer("time advance 1"), (Lines{"OK"}));
    EXPECT_EQ(Position(), 150);
    // Back down by 100.
    ASSERT_EQ(Answer("drag 120 100 120 200 200"), (Lines{"OK"}));
    EXPECT_EQ(Position(), 50);
    EXPECT_EQ(FirstRow(), 1);
}

TEST_F(ListGesture, AFlickFliesOnAndRestsWhereTheDecaySays) {
    // 180 pixels up in five 20 ms moves: the content runs at 1800 pixels per second.
    ASSERT_EQ(Answer("flick 120 300 120 120 100"), (Lines{"OK"}));
    ASSERT_TRUE(Animating());
    const double start = 180, speed = 1800;
    EXPECT_EQ(Position(), int(start));
    double distance = Scroller::FlingDistance(speed);
    int durationMs = Scroller::FlingDurationMs(speed);
    EXPECT_NEAR(distance, 1789.5, 0.1);
    EXPECT_EQ(durationMs, 2113);
    // One second later the list has covered 1 - 1/5 of the flight and still moves.
    ASSERT_EQ(Answer("time advance 1"), (Lines{"OK"}));
    int atOneSecond = int(std::lround(start + distance * (1 - 1 / 5.0)));
    EXPECT_EQ(Position(), atOneSecond);
    EXPECT_EQ(atOneSecond, 1612);
    EXPECT_EQ(FirstRow(), 50);
    EXPECT_TRUE(Animating());
    // It rests once the speed has fallen to 60 pixels per second.
    ASSERT_EQ(Answer("time advance 2"), (Lines{"OK"}));
    EXPECT_FALSE(Animating());
    int rest = int(std::lround(start + distance * (1 - std::pow(5.0, -durationMs / 1000.0))));
    EXPECT_EQ(Position(), rest);
    EXPECT_EQ(rest, 1910);
    EXPECT_EQ(FirstRow(), 59);
}

TEST_F(ListGesture, APullPastTheTopStretchesAndSpringsBack) {
    ASSERT_EQ(Answer("press 120 100"), (Lines{"OK"}));
    ASSERT_EQ(Answer("move 120 160"), (Lines{"OK"}));
    EXPECT_EQ(Position(), -30); // half the finger's way
    ASSERT_EQ(Answer("move 120 220"), (Lines{"OK"}));
    EXPECT_EQ(Position(), -60);
    EXPECT_EQ(FirstRow(), 0);
    ASSERT_EQ(Answer("release 120 220"), (Lines{"OK"}));
    EXPECT_TRUE(Animating());
    // A quarter of the overshoot per 25 ms step: -60, -45, -33, -24, ... home in 250 ms.
    ASSERT_EQ(Answer("time advance 1"), (Lines{"OK"}));
    EXPECT_FALSE(Animating());
    EXPECT_EQ(Position(), 0);
    EXPECT_EQ(FirstRow(), 0);
}

TEST_F(ListGesture, AFlickTowardTheTopStopsThereAndComesBack) {
    ASSERT_EQ(Answer("drag 120 250 120 100 300"), (Lines{"OK"}));
    ASSERT_EQ(Position(), 150);
    ASSERT_EQ(Answer("flick 120 100 120 250 100"), (Lines{"OK"}));
    ASSERT_EQ(Answer("time advance 2"), (Lines{"OK"}));
    EXPECT_FALSE(Animating());
    EXPECT_EQ(Position(), 0);
    EXPECT_EQ(FirstRow(), 0);
}

} // namespace
