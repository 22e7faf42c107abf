// The state of the window manager as a whole: the window and class tables, activation,
// focus and capture, the message queues of every thread, input routing, the screen size,
// recorded beeps and the cursor. Boots and shuts down with the device. Everything here is
// guarded by the WaitHub lock unless a method says otherwise.
//
// The internal API for the device console is at the end: it lists, finds and posts to
// windows and drains the recorded beeps.
#pragma once

#include "user/ClassTable.h"
#include "user/InputRouter.h"
#include "user/MessageQueue.h"
#include "user/WindowTable.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct DeviceOptions;
class ThreadObject;
class ProcessObject;

// One top-level window as the console lists it.
struct WindowInfo {
    HWND hwnd = nullptr;
    std::u16string className;
    std::u16string title;
    DWORD processId = 0;
    DWORD threadId = 0;
    bool visible = false;
    bool enabled = false;
    bool topmost = false;
    RECT rect{};
};

class WindowManager {
public:
    static WindowManager& Instance();

    // Boot step: checks the screen size and registers the thread and process exit hooks
    // and the timer due source. Takes the lock itself.
    bool Boot(const DeviceOptions& options, std::string& error);
    // Forgets every window, class, queue, hot key and beep (no window procedure runs), so
    // that the next boot in the same host process starts clean. Takes the lock itself.
    void Shutdown();

    // Screen sizes the device supports (portrait, landscape and square panels).
    static bool IsSupportedScreen(int width, int height);
    // Changes the screen size (rotation). Takes the lock itself; false when unsupported.
    bool SetScreenSize(int width, int height);
    int ScreenWidth() const { return m_screenWidth; }
    int ScreenHeight() const { return m_screenHeight; }

    // The queue of `thread`, created on first use.
    std::shared_ptr<MessageQueue> QueueOfLocked(ThreadObject& thread);

    void RecordBeepLocked(UINT type);

    WindowTable m_windows;
    ClassTable m_classes;
    InputRouter m_input;
    HWND m_active = nullptr;
    HWND m_focus = nullptr;
    HWND m_capture = nullptr;
    HCURSOR m_cursor = nullptr;

    // ---- internal API for the device console (each takes the lock itself) ----

    // Top-level windows in z-order, topmost first.
    std::vector<WindowInfo> ListTopLevel();
    // First top-level window (z-order) of a class, with the given title when one is given.
    HWND FindTopLevel(const std::u16string& className, const std::optional<std::u16string>& title);
    // Posts to the first top-level window of a class, or to the thread that owns it when
    // `toThread` is set. False when no such window exists or the post failed.
    bool PostToClass(const std::u16string& className, UINT message, WPARAM wParam, LPARAM lParam,
                     bool toThread);
    // Every MessageBeep type since the last call, oldest first.
    std::vector<UINT> DrainBeeps();

private:
    void OnThreadExit(ThreadObject& thread);
    void OnProcessExit(ProcessObject& process);
    std::optional<int64_t> NextTimerDueLocked() const;

    static constexpr size_t kMaxBeeps = 1000;
    std::vector<std::weak_ptr<MessageQueue>> m_queues;
    std::vector<UINT> m_beeps;
    int m_screenWidth = 240;
    int m_screenHeight = 320;
    uint64_t m_dueSource = 0;
};

} // namespace platform
