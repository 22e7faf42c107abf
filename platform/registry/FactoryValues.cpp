#include "registry/FactoryValues.h"

#include "ce/registry.h"

#include <string_view>

namespace platform {

namespace {

enum class Hive { Machine, User };

struct FactoryValue {
    Hive hive;
    const char16_t* key;
    const char16_t* name;
    DWORD type; // REG_DWORD or REG_SZ
    DWORD number;
    const char16_t* text;
};

// Kept short: only what the device's own programs and the installed product expect to
// find on a fresh device. Phone state starts idle with nothing missed or unread.
const FactoryValue kFactoryValues[] = {
    {Hive::Machine, u"Software\\Microsoft\\Shell\\Rai\\:Corvane", u"0", REG_SZ, 0, u"Corvane"},
    {Hive::Machine, u"Software\\Microsoft\\Shell\\Rai\\:Corvane", u"1", REG_SZ, 0,
     u"\\Program Files\\Tavik Dialora\\Corvane.exe"},
    {Hive::Machine, u"Software\\Apps\\Tavik Dialora", u"InstallDir", REG_SZ, 0, u"\\Program Files\\Tavik Dialora"},
    {Hive::Machine, u"Software\\Tavik\\Dialora", u"LangID", REG_DWORD, 1033, nullptr},
    // The picture codec library shipped with the product, loaded on its first picture.
    {Hive::Machine, u"Software\\Tavik\\Dialora\\ImageCodecs\\BmpCodec.dll", u"Extensions", REG_SZ, 0,
     u"bmp;dib"},
    {Hive::Machine, u"System\\State\\Phone", u"Status", REG_DWORD, 0, nullptr},
    {Hive::Machine, u"System\\State\\Phone", u"Active Call Count", REG_DWORD, 0, nullptr},
    {Hive::Machine, u"System\\State\\Connections", u"Count", REG_DWORD, 0, nullptr},
    {Hive::Machine, u"System\\State", u"Lock", REG_DWORD, 0, nullptr},
    {Hive::User, u"System\\State\\Phone", u"Missed Call Count", REG_DWORD, 0, nullptr},
    {Hive::User, u"System\\State\\Messages\\SMS\\Unread", u"Count", REG_DWORD, 0, nullptr},
    // Sound settings of a phone whose ringer counts in levels (0 to 5) rather than in
    // wave volume: system volume at level 9 of 15, ringer and first ring at level 3,
    // soft screen taps and key clicks, the default ring tone rung with the ordinary
    // ring pattern, no profile override in force and nothing saved.
    {Hive::User, u"ControlPanel\\Volume", u"Volume", REG_DWORD, 0x99999999, nullptr},
    {Hive::User, u"ControlPanel\\Volume", u"Ringer", REG_DWORD, 3, nullptr},
    {Hive::User, u"ControlPanel\\Volume", u"Screen", REG_DWORD, 1, nullptr},
    {Hive::User, u"ControlPanel\\Volume", u"Key", REG_DWORD, 1, nullptr},
    {Hive::User, u"ControlPanel\\SoundCategories\\Ring", u"InitVol", REG_DWORD, 3, nullptr},
    {Hive::User, u"ControlPanel\\Sounds\\RingTone0", u"Sound", REG_SZ, 0, u"\\Windows\\Ring.wav"},
    {Hive::User, u"ControlPanel\\Sounds\\RingTone0", u"Script", REG_SZ, 0, u"apw3r"},
    {Hive::User, u"ControlPanel\\Sounds\\RingTone0", u"Category", REG_SZ, 0, u"Ring"},
    {Hive::User, u"ControlPanel\\Notifications\\ShellOverrides", u"Mode", REG_DWORD, 0, nullptr},
};

} // namespace

void ApplyFactoryValues(RegistryRoots& roots, bool volatileOnly) {
    for (const FactoryValue& entry : kFactoryValues) {
        bool isVolatile = std::u16string_view(entry.key).starts_with(u"System\\State");
        if (volatileOnly && !isVolatile)
            continue;
        RegistryKey& root = entry.hive == Hive::Machine ? *roots.machine : *roots.user;
        bool created;
        RegistryKey* key = root.CreatePath(entry.key, created);
        if (!key)
            continue;
        key->SetValue(entry.name, entry.type == REG_DWORD ? RegistryValue::Dword(entry.number)
                                                          : RegistryValue::Text(entry.text));
    }
}

} // namespace platform
