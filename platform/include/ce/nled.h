// Notification LEDs of the device (one of them usually drives the vibrator).
#pragma once

#include "ce/types.h"

#define NLED_COUNT_INFO_ID 0
#define NLED_SUPPORTS_INFO_ID 1
#define NLED_SETTINGS_INFO_ID 2

struct NLED_COUNT_INFO {
    UINT cLeds;
};

struct NLED_SETTINGS_INFO {
    UINT LedNum;
    INT OffOnBlink; // 0 off, 1 on, 2 blink
    LONG TotalCycleTime;
    LONG OnTime;
    LONG OffTime;
    INT MetaCycleOn;
    INT MetaCycleOff;
};

CE_API BOOL NLedGetDeviceInfo(INT infoId, void* info);
CE_API BOOL NLedSetDevice(INT infoId, void* info);
