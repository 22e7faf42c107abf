// Wave output of the device: the volume of the wave device that the sound settings and
// the sound profiles set.
#pragma once

#include "ce/types.h"

typedef UINT MMRESULT;
typedef HANDLE HWAVEOUT;

#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_BADDEVICEID 2
#define MMSYSERR_INVALHANDLE 5
#define MMSYSERR_INVALPARAM 11

// The device has one wave device, id 0; a device id is passed in place of a handle, as
// the platform allows. Volume: low word left, high word right channel, 0 silent,
// 0xFFFF full.
CE_API UINT waveOutGetNumDevs();
CE_API MMRESULT waveOutSetVolume(HWAVEOUT waveOut, DWORD volume);
CE_API MMRESULT waveOutGetVolume(HWAVEOUT waveOut, LPDWORD volume);
