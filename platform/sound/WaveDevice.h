// The device's one wave output device. It keeps the wave volume that waveOutSetVolume
// sets; at boot it takes over the system volume stored under HKCU
// "ControlPanel\Volume", as the phone does when it starts.
#pragma once

#include <atomic>
#include <cstdint>

namespace platform {

class WaveDevice {
public:
    static constexpr uint32_t kFullVolume = 0xFFFFFFFF;

    static WaveDevice& Instance();

    // After the registry was loaded.
    void Boot();

    uint32_t Volume() const { return m_volume.load(); }
    void SetVolume(uint32_t volume) { m_volume.store(volume); }

private:
    std::atomic<uint32_t> m_volume{kFullVolume};
};

} // namespace platform
