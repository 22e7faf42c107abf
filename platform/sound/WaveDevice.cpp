#include "sound/WaveDevice.h"

#include "ce/regext.h"
#include "ce/registry.h"

namespace platform {

WaveDevice& WaveDevice::Instance() {
    static WaveDevice device;
    return device;
}

void WaveDevice::Boot() {
    DWORD stored = kFullVolume;
    if (FAILED(RegistryGetDWORD(HKEY_CURRENT_USER, u"ControlPanel\\Volume", u"Volume", &stored)))
        stored = kFullVolume;
    m_volume.store(stored);
}

} // namespace platform
