// Helpers of the display tests: window classes painted with a solid class brush, a
// message pump for the calling thread and pixels of the composed screen.
#pragma once

#include "ce/kernel.h"
#include "ce/user.h"
#include "ce/wingdi.h"
#include "display/Display.h"
#include "gdi/PngFile.h"
#include "gdi/Raster.h"
#include "support/TestDevice.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

namespace displaytest {

// Window procedure every test class uses; tests hook it to see or answer messages.
inline std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>& Hook() {
    static std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> hook;
    return hook;
}

inline LRESULT CALLBACK HookedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Hook() && Hook()(hwnd, message, wParam, lParam, result))
        return result;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class DisplayTest : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        Hook() = nullptr;
    }
    void TearDown() override {
        Hook() = nullptr;
        TestDevice::TearDown();
    }

    // A class whose background brush has `color` (no brush when `color` is CLR_INVALID).
    static void RegisterBrushClass(const char16_t* name, COLORREF color) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = HookedProc;
        wc.lpszClassName = name;
        wc.hbrBackground = color == CLR_INVALID ? nullptr : CreateSolidBrush(color);
        ASSERT_NE(RegisterClassW(&wc), 0);
    }

    static HWND Make(const char16_t* className, DWORD style, RECT rect, HWND parent = nullptr,
                     DWORD exStyle = 0) {
        return CreateWindowExW(exStyle, className, u"", style, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                               nullptr, nullptr);
    }

    // Dispatches every message queued for the calling thread, paints included.
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    static COLORREF ScreenPixel(int x, int y) {
        auto screen = platform::Display::Instance().Compose().screen;
        return ToColorRef(platform::GetPixelRgb(*screen, x, y));
    }

    // GetPixelRgb gives 0x00RRGGBB; tests speak COLORREF.
    static COLORREF ToColorRef(uint32_t rgb) {
        return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }

    // What a colour becomes on the RGB565 screen.
    static COLORREF On565(COLORREF color) {
        int r = GetRValue(color) >> 3, g = GetGValue(color) >> 2, b = GetBValue(color) >> 3;
        return RGB((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
    }

    static std::filesystem::path GoldenFolder() {
        return std::filesystem::path(DIALORA_FIXTURES_DIR) / "golden";
    }

    // Compares `area` of the composed screen with a stored PNG; DIALORA_UPDATE_GOLDEN=1
    // rewrites the PNG instead.
    static void ExpectScreenMatchesGolden(RECT area, const char* name) {
        auto screen = platform::Display::Instance().Compose().screen;
        auto crop = platform::Surface::Create(area.right - area.left, area.bottom - area.top,
                                              platform::PixelLayout::Rgb565, true);
        for (LONG y = area.top; y < area.bottom; ++y)
            std::memcpy(crop->Row(int(y - area.top)), screen->Row(int(y)) + area.left * 2,
                        size_t(area.right - area.left) * 2);
        auto path = GoldenFolder() / name;
        if (const char* update = std::getenv("DIALORA_UPDATE_GOLDEN"); update && *update == '1') {
            ASSERT_TRUE(platform::SavePng(*crop, path));
        }
        auto golden = platform::LoadPng(path);
        ASSERT_NE(golden, nullptr) << path;
        ASSERT_EQ(golden->Width(), crop->Width());
        ASSERT_EQ(golden->Height(), crop->Height());
        int differences = 0;
        for (int y = 0; y < crop->Height(); ++y)
            for (int x = 0; x < crop->Width(); ++x)
                differences += platform::GetPixelRgb(*crop, x, y) != platform::GetPixelRgb(*golden, x, y);
        EXPECT_EQ(differences, 0) << name;
    }
};

} // namespace displaytest
