#include "device/LedBank.h"

#include "ce/nled.h"
#include "ce/sysinfo.h"
#include "ce/winerror.h"
#include "device/Device.h"
#include "kernel/Utf.h"

#include <cstring>

namespace platform {

LedBank& LedBank::Instance() {
    static LedBank bank;
    return bank;
}

void LedBank::Reset(int count) {
    std::lock_guard lock(m_mutex);
    m_states.assign(count > 0 ? count : 0, 0);
    m_onCounts.assign(m_states.size(), 0);
}

int LedBank::Count() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_states.size());
}

bool LedBank::Set(int led, int state) {
    std::lock_guard lock(m_mutex);
    if (led < 0 || led >= static_cast<int>(m_states.size()) || state < 0 || state > 2)
        return false;
    if (state != 0 && m_states[led] == 0)
        ++m_onCounts[led];
    m_states[led] = state;
    return true;
}

std::vector<int> LedBank::States() const {
    std::lock_guard lock(m_mutex);
    return m_states;
}

std::vector<int> LedBank::OnCounts() const {
    std::lock_guard lock(m_mutex);
    return m_onCounts;
}

} // namespace platform

using platform::LedBank;

CE_API BOOL NLedGetDeviceInfo(INT infoId, void* info) {
    if (infoId != NLED_COUNT_INFO_ID || !info)
        return FALSE;
    static_cast<NLED_COUNT_INFO*>(info)->cLeds = static_cast<UINT>(LedBank::Instance().Count());
    return TRUE;
}

CE_API BOOL NLedSetDevice(INT infoId, void* info) {
    if (infoId != NLED_SETTINGS_INFO_ID || !info)
        return FALSE;
    auto* settings = static_cast<NLED_SETTINGS_INFO*>(info);
    return LedBank::Instance().Set(static_cast<int>(settings->LedNum), settings->OffOnBlink) ? TRUE
                                                                                            : FALSE;
}

CE_API BOOL SystemParametersInfoW(UINT action, UINT param, PVOID value, UINT) {
    if (action != SPI_GETOEMINFO && action != SPI_GETPLATFORMTYPE)
        return FALSE;
    auto* device = platform::Device::Current();
    std::u16string text = action == SPI_GETPLATFORMTYPE
                              ? std::u16string(u"PocketPC")
                              : platform::FromUtf8(device ? device->Options().oem : "");
    size_t capacity = param / sizeof(WCHAR);
    if (!value || capacity <= text.size())
        return FALSE;
    std::memcpy(value, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
    return TRUE;
}
