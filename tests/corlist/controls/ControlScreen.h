// A screen of skinned controls for the control tests: a skin package written into the test
// device (a description and generated pictures), a parent window that records the commands
// and draw requests the controls send, a control host the size asked for, pen helpers, and
// the comparison of the painted host surface with a golden PNG.
#pragma once

#include "../skin/SkinDevice.h"

#include "corlist/controls/ControlHost.h"
#include "corlist/image/Image.h"
#include "corlist/skin/Skin.h"

#include <memory>
#include <string>
#include <vector>

namespace controltest {

struct Command {
    WPARAM wParam;
    LPARAM lParam;
    WORD Number() const { return LOWORD(wParam); }
    WORD Code() const { return HIWORD(wParam); }
};

struct DrawRequest {
    UINT control;
    UINT item;
    RECT rect;
};

class ControlScreen : public skintest::SkinDevice {
public:
    // What the parent window received since SetUp, and what it answers to WM_DRAWITEM.
    static std::vector<Command> commands;
    static std::vector<DrawRequest> drawRequests;
    static LRESULT drawAnswer;

protected:
    void SetUp() override;
    void TearDown() override;

    // Loads `description` (single quotes become double quotes) with `pictures` beside it and
    // builds the screen `screen` with `table` in a host of width x height.
    void Build(const std::string& description, std::vector<testsupport::PackageItem> pictures, const char* screen,
               const corlist::ControlTableRow* table, int width = 120, int height = 80);
    corlist::Control& Screen() { return m_host.Screen(); }
    template <typename Type>
    Type& Find(UINT number) {
        corlist::Control* control = Screen().FindById(number);
        EXPECT_NE(control, nullptr) << number;
        return *static_cast<Type*>(control);
    }

    void Down(int x, int y);
    void Move(int x, int y);
    void Up(int x, int y);
    void Tap(int x, int y) {
        Down(x, y);
        Up(x, y);
    }

    // Paints the whole screen into the host's surface and compares it with NAME.
    void ExpectScreenMatches(const char* name, int tolerance = 0, int allowed = 0);
    // A PNG of width x height with the gradient pattern of the image fixtures, or with
    // `paletteEntries` colours in diagonal stripes.
    static std::string Picture(int width, int height, int paletteEntries = 0);
    // A 16-bit picture in memory whose pixel (x, y) is `pixel(x, y)`.
    static std::unique_ptr<corlist::Image> Rgb565Picture(int width, int height, uint16_t (*pixel)(int x, int y));

    corlist::Skin m_skin;
    HWND m_parent = nullptr;
    corlist::ControlHost m_host;
};

} // namespace controltest
