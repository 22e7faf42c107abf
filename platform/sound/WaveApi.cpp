// waveOut functions of the device: only the volume of the one wave device so far.
#include "ce/mmsystem.h"
#include "sound/WaveDevice.h"

using platform::WaveDevice;

namespace {

// Only device id 0 exists, and no wave handle can be opened yet.
bool IsDeviceZero(HWAVEOUT waveOut) { return waveOut == nullptr; }

} // namespace

CE_API UINT waveOutGetNumDevs() { return 1; }

CE_API MMRESULT waveOutSetVolume(HWAVEOUT waveOut, DWORD volume) {
    if (!IsDeviceZero(waveOut))
        return MMSYSERR_INVALHANDLE;
    WaveDevice::Instance().SetVolume(volume);
    return MMSYSERR_NOERROR;
}

CE_API MMRESULT waveOutGetVolume(HWAVEOUT waveOut, LPDWORD volume) {
    if (!IsDeviceZero(waveOut))
        return MMSYSERR_INVALHANDLE;
    if (!volume)
        return MMSYSERR_INVALPARAM;
    *volume = WaveDevice::Instance().Volume();
    return MMSYSERR_NOERROR;
}
