// Calls programs asked the phone to place: PhoneMakeCall checks and queues a request and
// wakes the phone application, whose thread takes it, asks the user first when the
// request says so, dials and writes the outgoing call to the call log. The queue does not
// travel in a message, so a request is never lost with a window or leaked by a full queue.
#pragma once

#include "ce/types.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace platform {

struct CallRequest {
    std::u16string number;
    std::u16string calledParty; // empty: no name given
    bool prompt = false;
};

class OutgoingCalls {
public:
    // The message a submit posts to the phone application's window.
    static constexpr UINT kWakeMessage = 0x8150; // WM_APP + 0x150
    static constexpr size_t kMaxNumberLength = 80;

    static OutgoingCalls& Instance();

    // True when `number` is something a phone dials: 1 to 80 characters of digits, "+",
    // "*", "#", the pause and wait letters "p", "w" and ",", and the separators " ()-.".
    static bool IsDialable(std::u16string_view number);

    // Queues the request; false (nothing queued) when there is no window to wake.
    bool Submit(HWND phoneWindow, CallRequest request);
    std::optional<CallRequest> Take();
    void Clear();

    // Dials: writes the outgoing call, started and ended now (there is no network to
    // connect it), to the call log. Returns a Win32 error code.
    static DWORD Place(const CallRequest& request, int64_t utcTicks);

private:
    std::mutex m_mutex;
    std::deque<CallRequest> m_requests;
};

} // namespace platform
