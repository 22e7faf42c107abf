// A booted device with the main program's core object and its stores, the default skins in
// the install folder, and the frame made by the library's own entry on the test's thread.
#pragma once

#include "../contacts/ContactDevice.h"
#include "corlist/frame/Frame.h"

#include <string>
#include <vector>

namespace frametest {

class FrameDevice : public contacttest::ContactDevice {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the frame with `flags`; the caches post their changes to it.
    HWND Open(DWORD flags);
    void Close();
    // Handles this thread's messages for `milliseconds` (timers come due meanwhile).
    void PumpFor(int milliseconds);
    corlist::Frame& Frame() { return *corlist::Frame::Current(); }
    // The list rows `ui` shows for the frame: the text of each visible row.
    std::vector<std::string> Rows();
    // The `ui` line of the control numbered `number` of kind `kind` (its first word after
    // the number), or "" when the page does not show it.
    std::string UiLine(UINT number, const std::string& kind);
    // Sends WM_CHAR for every character of `text` to the frame.
    void Type(const std::string& text);
    // Brings another window to the front, and the frame back.
    void Deactivate();
    void Activate();

    HWND m_window = nullptr;
    HWND m_other = nullptr;

private:
    HWND m_cacheWindow = nullptr; // the fixture's window the caches posted to before
};

} // namespace frametest
