#include "registry/RegistryValue.h"

#include "ce/registry.h"

#include <cstring>

namespace platform {

DWORD RegistryValue::AsDword() const {
    if (type != REG_DWORD || data.size() != sizeof(DWORD))
        return 0;
    DWORD value;
    std::memcpy(&value, data.data(), sizeof value);
    return value;
}

std::u16string RegistryValue::AsText() const {
    std::u16string text(data.size() / 2, u'\0');
    if (!text.empty())
        std::memcpy(text.data(), data.data(), text.size() * 2);
    if (auto end = text.find(u'\0'); end != std::u16string::npos)
        text.resize(end);
    return text;
}

RegistryValue RegistryValue::Dword(DWORD value) {
    RegistryValue result;
    result.type = REG_DWORD;
    result.data.resize(sizeof value);
    std::memcpy(result.data.data(), &value, sizeof value);
    return result;
}

RegistryValue RegistryValue::Text(std::u16string_view text, DWORD type) {
    RegistryValue result;
    result.type = type;
    result.data.resize((text.size() + 1) * 2);
    if (!text.empty())
        std::memcpy(result.data.data(), text.data(), text.size() * 2);
    return result;
}

} // namespace platform
