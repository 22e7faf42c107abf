// The stream interface of the component object model, as far as the platform's
// components (the Imaging API encoders) write through it.
#pragma once

#include "ce/objbase.h"

#define STREAM_SEEK_SET 0
#define STREAM_SEEK_CUR 1
#define STREAM_SEEK_END 2
#define STG_E_MEDIUMFULL ((HRESULT)0x80030070L)
#define STG_E_INVALIDFUNCTION ((HRESULT)0x80030001L)

union ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    ULONGLONG QuadPart;
};

struct ISequentialStream : IUnknown {
    // *read / *written (optional) receive the count transferred.
    virtual HRESULT Read(void* buffer, ULONG count, ULONG* read) = 0;
    virtual HRESULT Write(const void* data, ULONG count, ULONG* written) = 0;
};

struct IStream : ISequentialStream {
    virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
    virtual HRESULT SetSize(ULARGE_INTEGER size) = 0;
    virtual HRESULT Commit(DWORD flags) = 0;
};

extern "C" const IID IID_ISequentialStream;
extern "C" const IID IID_IStream;
