// Exported PhoneMakeCall: checks the request and hands it to the phone application.
#include "ce/phone.h"

#include "ce/kernel.h"
#include "ce/user.h"
#include "phone/OutgoingCalls.h"

#include <string>

using namespace platform;

namespace {

constexpr DWORD kKnownFlags = PMCF_DEFAULT | PMCF_PROMPTBEFORECALLING;
constexpr size_t kMaxNameLength = 256;

// Length of a terminated text, or `limit + 1` when it is longer than `limit`.
size_t BoundedLength(LPCWSTR text, size_t limit) {
    size_t length = 0;
    while (length <= limit && text[length])
        ++length;
    return length;
}

} // namespace

CE_API LONG PhoneMakeCall(PHONEMAKECALLINFO* callInfo) {
    if (!callInfo || callInfo->cbSize != sizeof(PHONEMAKECALLINFO) ||
        (callInfo->dwFlags & ~kKnownFlags) || !callInfo->pszDestAddress)
        return ERROR_INVALID_PARAMETER;
    size_t length = BoundedLength(callInfo->pszDestAddress, OutgoingCalls::kMaxNumberLength);
    std::u16string_view number(callInfo->pszDestAddress, length);
    if (!OutgoingCalls::IsDialable(number))
        return ERROR_INVALID_PARAMETER;
    CallRequest request;
    request.number = number;
    request.prompt = (callInfo->dwFlags & PMCF_PROMPTBEFORECALLING) != 0;
    if (callInfo->pszCalledParty) {
        size_t nameLength = BoundedLength(callInfo->pszCalledParty, kMaxNameLength);
        request.calledParty.assign(callInfo->pszCalledParty, std::min(nameLength, kMaxNameLength));
    }
    HWND phone = FindWindowW(u"MSCProg", nullptr);
    if (!phone || !OutgoingCalls::Instance().Submit(phone, std::move(request)))
        return ERROR_SERVICE_NOT_ACTIVE;
    return ERROR_SUCCESS;
}
