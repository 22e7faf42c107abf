#include "user/HardwareKeys.h"

#include "ce/user.h"
#include "user/UserPrivate.h"

namespace platform {

std::optional<BYTE> HardwareKeys::FromName(std::string_view name) {
    struct Named {
        std::string_view name;
        BYTE key;
    };
    static constexpr Named kKeys[] = {
        {"talk", VK_TTALK},      {"end", VK_TEND},        {"action", VK_TACTION},
        {"left", VK_LEFT},       {"right", VK_RIGHT},     {"up", VK_UP},
        {"down", VK_DOWN},       {"softkey1", VK_TSOFT1}, {"softkey2", VK_TSOFT2},
        {"back", VK_TBACK},      {"star", VK_TSTAR},      {"pound", VK_TPOUND},
    };
    for (const Named& named : kKeys)
        if (named.name == name)
            return named.key;
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
        return BYTE(name[0]);
    return std::nullopt;
}

void HardwareKeys::Key(BYTE virtualKey, bool up) {
    keybd_event(virtualKey, 0, up ? KEYEVENTF_KEYUP : 0, 0);
}

bool HardwareKeys::Type(const std::u16string& text) {
    auto lock = LockUser();
    HWND target = Wm().m_focus ? Wm().m_focus : Wm().m_active;
    WindowObject* window = Wm().m_windows.Find(target);
    if (!window)
        return false;
    for (char16_t ch : text)
        if (!PostLocked(*window->m_queue, target, WM_CHAR, WPARAM(ch), 1))
            return false;
    return true;
}

} // namespace platform
