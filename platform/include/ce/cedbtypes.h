// Types shared by the device's database interfaces: the contact store (ce/pimstore.h) and
// the property databases of the call log (ce/windbase.h). Values keep the device's layout.
#pragma once

#include "ce/types.h"

// Record (object) identifier inside a volume; 0 is no object.
typedef DWORD CEOID;
typedef CEOID* PCEOID;

// Identifies a mounted database volume.
struct CEGUID {
    DWORD Data1;
    DWORD Data2;
    DWORD Data3;
    DWORD Data4;
};
typedef CEGUID* PCEGUID;

// A property tag: the property's id in the high 16 bits, its value type in the low 16 bits.
typedef DWORD CEPROPID;
typedef CEPROPID* PCEPROPID;

#define TypeFromPropID(propid) ((WORD)((propid) & 0xFFFF))
#define PROPID_FROM_TYPE_AND_ID(type, id) ((CEPROPID)(((DWORD)(id) << 16) | (WORD)(type)))

// Value types (low 16 bits of a tag).
#define CEVT_I2 2
#define CEVT_I4 3
#define CEVT_R8 5
#define CEVT_BOOL 11
#define CEVT_UI2 18
#define CEVT_UI4 19
#define CEVT_LPWSTR 31
#define CEVT_FILETIME 64
#define CEVT_BLOB 65
#define CEVT_STREAM 100
#define CEVT_RECID 102
#define CEVT_AUTO_I4 103
#define CEVT_AUTO_I8 104

struct CEBLOB {
    DWORD dwCount;
    LPBYTE lpb;
};

union CEVALUNION {
    SHORT iVal;
    USHORT uiVal;
    LONG lVal;
    ULONG ulVal;
    FILETIME filetime;
    LPWSTR lpwstr;
    CEBLOB blob;
    BOOL boolVal;
    double dblVal;
};

// One property of a record. wFlags carries CEDB_PROPNOTFOUND on read and
// CEDB_PROPDELETE on write.
struct CEPROPVAL {
    CEPROPID propid;
    WORD wLenData;
    WORD wFlags;
    CEVALUNION val;
};
typedef CEPROPVAL* PCEPROPVAL;

// Read flag: the callee may allocate or grow the caller's buffer (from the heap given,
// LocalAlloc when that is null) and returns the buffer and its size.
#define CEDB_ALLOWREALLOC 0x00000001
// wFlags of a property the record does not hold (set by the reader).
#define CEDB_PROPNOTFOUND 0x0100
// wFlags of a property to remove from the record (set by the writer).
#define CEDB_PROPDELETE 0x0200
