// Shared helpers of the window manager tests: a recording window class, emulated worker
// threads and a fixture that boots a device with the clock frozen.
#pragma once

#include "ce/kernel.h"
#include "ce/user.h"
#include "kernel/DeviceClock.h"
#include "kernel/ProcessTable.h"
#include "kernel/WaitHub.h"
#include "support/TestDevice.h"

#include <functional>
#include <mutex>
#include <vector>

namespace usertest {

struct Entry {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Entry&) const = default;
};

// Messages every recording window logs (others are too chatty to compare).
bool IsLogged(UINT message);

class Recorder {
public:
    static Recorder& Instance();
    void Add(const Entry& entry);
    std::vector<Entry> Take();
    std::vector<UINT> TakeMessages(HWND hwnd = nullptr);
    // Optional per-window behaviour: returns true when it handled the message.
    std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> m_hook;

private:
    std::mutex m_mutex;
    std::vector<Entry> m_entries;
};

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

inline const char16_t* kClass = u"TestWnd";

class UserTest : public testsupport::TestDevice {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND Create(DWORD style = WS_POPUP, DWORD exStyle = 0, HWND parent = nullptr,
                const char16_t* title = u"");
    // Removes every queued message of the calling thread (sent ones are handled).
    void Drain();
};

// Runs `body` on a new emulated thread of a new process.
std::shared_ptr<platform::ThreadObject> StartWorker(std::function<DWORD()> body);
bool JoinThread(const std::shared_ptr<platform::ThreadObject>& thread, int timeoutMs = 5000);
// Waits (host time) until `condition` holds.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

} // namespace usertest
