// Registry commands of the device console. Keys are written "HKLM\Software\..." or
// "HKCU\..." (the long root names are accepted too); text is UTF-8. Each function
// returns false with a one-line reason in `error`.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class RegistryConsole {
public:
    // `answer` is "dword 0x0000000A", "sz TEXT", "expand_sz TEXT", "binary 00ff10",
    // "multi_sz A|B", "none" (REG_NONE; "none HEX" when it holds bytes) or
    // "hex(N) HEX" for other types. Control characters in text show as '?'.
    static bool Get(std::string_view keyText, std::string_view valueName, std::string& answer, std::string& error);
    // `type` is dword (decimal or 0x-hex), sz, binary (hex pairs) or multi_sz (parts
    // separated by '|'). Missing keys are created.
    static bool Set(std::string_view keyText, std::string_view valueName, std::string_view type,
                    std::string_view data, std::string& error);
    static bool DeleteValue(std::string_view keyText, std::string_view valueName, std::string& error);
    // Deletes the key with all of its subkeys.
    static bool DeleteKey(std::string_view keyText, std::string& error);
};

} // namespace platform
