// The phone's hardware keys as keyboard input. Talk/Send is VK_F3, End VK_F4, the action
// key (the centre of the direction pad) VK_RETURN, the soft keys VK_F1 and VK_F2, back
// VK_ESCAPE, star VK_F8 and pound VK_F9 (TranslateMessage makes '*' and '#' of them), the
// digits '0'..'9' and the direction pad the arrow keys. Key events go through the
// InputRouter (hot keys win over the focus).
#pragma once

#include "ce/types.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

class HardwareKeys {
public:
    // The virtual key of a key name (talk, end, action, left, right, up, down, softkey1,
    // softkey2, back, 0-9, star, pound), or nothing.
    static std::optional<BYTE> FromName(std::string_view name);
    // One press or release, as the keypad driver reports it.
    static void Key(BYTE virtualKey, bool up);
    // WM_CHAR for each character to the focus window (the active window when nothing has
    // the focus); false when no window takes keys.
    static bool Type(const std::u16string& text);
};

} // namespace platform
