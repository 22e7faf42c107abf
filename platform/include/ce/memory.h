// Virtual memory of the device: reserving address space and committing pages in it.
#pragma once

#include "ce/types.h"

#ifndef ERROR_INVALID_ADDRESS
#define ERROR_INVALID_ADDRESS 487L
#endif

#define MEM_COMMIT 0x00001000u
#define MEM_RESERVE 0x00002000u
#define MEM_DECOMMIT 0x00004000u
#define MEM_RELEASE 0x00008000u
#define MEM_FREE 0x00010000u
#define MEM_PRIVATE 0x00020000u
#define PAGE_NOACCESS 0x01u
#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u

struct MEMORY_BASIC_INFORMATION {
    PVOID BaseAddress;
    PVOID AllocationBase;
    DWORD AllocationProtect;
    SIZE_T RegionSize;
    DWORD State;
    DWORD Protect;
    DWORD Type;
};
typedef MEMORY_BASIC_INFORMATION* PMEMORY_BASIC_INFORMATION;

// MEM_RESERVE (address null: anywhere), MEM_COMMIT of pages inside a reservation, or both.
// Protection PAGE_READWRITE, PAGE_READONLY or PAGE_NOACCESS.
CE_API LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protect);
// MEM_RELEASE of a whole reservation (size 0, the base it returned) or MEM_DECOMMIT of pages.
CE_API BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD type);
// Describes the reservation holding address: its base, size and whether the page is committed.
CE_API SIZE_T VirtualQuery(LPCVOID address, PMEMORY_BASIC_INFORMATION info, SIZE_T length);

// Memory sections: memory-backed file mappings (file INVALID_HANDLE_VALUE), unnamed, as
// the place of DIB sections over memory the caller keeps (CreateDIBSection's section).
#define FILE_MAP_WRITE 0x0002u
#define FILE_MAP_READ 0x0004u
#define FILE_MAP_ALL_ACCESS 0x000F001Fu

// Only memory-backed, unnamed PAGE_READWRITE sections of 1 byte to 256 MiB; the pages start
// zeroed. Other files fail with ERROR_NOT_SUPPORTED. Closed with CloseHandle; views and DIB
// sections keep the memory until they are gone.
CE_API HANDLE CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect, DWORD maximumSizeHigh,
                                 DWORD maximumSizeLow, LPCWSTR name);
// A view of `bytes` (0: to the end) from the offset; null when it lies outside the section.
CE_API LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD fileOffsetHigh, DWORD fileOffsetLow,
                            SIZE_T bytes);
CE_API BOOL UnmapViewOfFile(LPCVOID baseAddress);
