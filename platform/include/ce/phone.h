// The phone application's call interface: a program asks the phone to dial a number.
#pragma once

#include "ce/types.h"

#define PMCF_DEFAULT 0x00000001
#define PMCF_PROMPTBEFORECALLING 0x00000002

// cbSize is this platform's sizeof(PHONEMAKECALLINFO): the record holds pointers, so the
// device's 24 bytes cannot be kept (the field order is the device's).
struct PHONEMAKECALLINFO {
    DWORD cbSize;
    DWORD dwFlags;
    LPCWSTR pszDestAddress; // the number to dial; required
    LPCWSTR pszAppName;     // ignored
    LPCWSTR pszCalledParty; // the name the call log shows; may be null
    LPCWSTR pszComment;     // ignored
};
typedef PHONEMAKECALLINFO* PPHONEMAKECALLINFO;

// Hands the call to the phone application, which asks first with
// PMCF_PROMPTBEFORECALLING, dials and logs the outgoing call. Returns 0 when the phone
// application took the request, otherwise a Win32 error code: ERROR_INVALID_PARAMETER
// (null record, wrong cbSize, unknown flags, an empty number, a number longer than 80
// characters or with characters a phone does not dial), ERROR_SERVICE_NOT_ACTIVE (the
// phone application is not running).
CE_API LONG PhoneMakeCall(PHONEMAKECALLINFO* callInfo);
