// System parameters of the device.
#pragma once

#include "ce/types.h"

#define SPI_GETOEMINFO 258
#define SPI_GETPLATFORMTYPE 257

// For SPI_GETOEMINFO `param` is the buffer size in bytes and `value` the buffer.
CE_API BOOL SystemParametersInfoW(UINT action, UINT param, PVOID value, UINT winIni);
