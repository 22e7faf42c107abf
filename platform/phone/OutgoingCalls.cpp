#include "phone/OutgoingCalls.h"

#include "ce/user.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "pim/CallLogStore.h"

namespace platform {

namespace {

// More requests than a user could confirm means a program is looping; it is refused.
constexpr size_t kMaxQueued = 16;

bool IsDialChar(char16_t ch) {
    if (ch >= u'0' && ch <= u'9')
        return true;
    switch (ch) {
    case u'+': case u'*': case u'#': case u'p': case u'P': case u'w': case u'W': case u',':
    case u' ': case u'(': case u')': case u'-': case u'.':
        return true;
    default:
        return false;
    }
}

} // namespace

OutgoingCalls& OutgoingCalls::Instance() {
    static OutgoingCalls instance;
    return instance;
}

bool OutgoingCalls::IsDialable(std::u16string_view number) {
    if (number.empty() || number.size() > kMaxNumberLength)
        return false;
    bool anyDigit = false;
    for (char16_t ch : number) {
        if (!IsDialChar(ch))
            return false;
        anyDigit = anyDigit || (ch >= u'0' && ch <= u'9') || ch == u'*' || ch == u'#';
    }
    return anyDigit;
}

bool OutgoingCalls::Submit(HWND phoneWindow, CallRequest request) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_requests.size() >= kMaxQueued)
            return false;
        m_requests.push_back(std::move(request));
    }
    if (PostMessageW(phoneWindow, kWakeMessage, 0, 0))
        return true;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.pop_back();
    return false;
}

std::optional<CallRequest> OutgoingCalls::Take() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_requests.empty())
        return std::nullopt;
    CallRequest request = std::move(m_requests.front());
    m_requests.pop_front();
    return request;
}

void OutgoingCalls::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

DWORD OutgoingCalls::Place(const CallRequest& request, int64_t utcTicks) {
    CallLogRecord record;
    record.start = utcTicks;
    record.end = utcTicks;
    record.flags = kClogOutgoing;
    record.number = request.number;
    if (!request.calledParty.empty())
        record.name = request.calledParty.substr(0, kClogMaxText);
    CEOID oid = 0;
    DWORD error = CallLogStore::Instance().Add(record, oid);
    Trace("phone", "dial \"%s\": %s", ToUtf8(request.number).c_str(),
          error == ERROR_SUCCESS ? "logged" : "not logged");
    return error;
}

} // namespace platform
