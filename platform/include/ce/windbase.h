// The device's database API over mounted volumes: sessions, databases, records of
// typed properties and change notifications. The phone's call log "clog.db" lives in the
// volume "\pim.vol". Handles of sessions and databases are closed with CloseHandle.
#pragma once

#include "ce/cedbtypes.h"
#include "ce/files.h"
#include "ce/kernel.h"
#include "ce/types.h"
#include "ce/winerror.h"

#include <cstring>

typedef WORD* LPWORD;

// The message a notification request's window gets: wParam = the kind (DB_CEOID_*),
// lParam = a CENOTIFICATION the platform allocated; the receiver releases it with
// CeFreeNotification.
#define WM_DBNOTIFICATION 0x03FD
#define DB_CEOID_CREATED 0x0401
#define DB_CEOID_DATABASE_DELETED 0x0402
#define DB_CEOID_RECORD_DELETED 0x0403
#define DB_CEOID_CHANGED 0x0404

// CENOTIFYREQUEST.dwFlags: notifications as WM_DBNOTIFICATION with a CENOTIFICATION.
#define CEDB_EXNOTIFICATION 0x00000001u

// The field order is the device's; its 20 bytes hold a window and a heap handle, so the
// size to pass is this platform's sizeof(CENOTIFYREQUEST).
struct CENOTIFYREQUEST {
    DWORD dwSize;
    HWND hwnd;
    DWORD dwFlags;
    HANDLE hHeap; // where notifications are allocated; null: the process heap
    DWORD dwParam;
};
typedef CENOTIFYREQUEST* PCENOTIFYREQUEST;

// 36 bytes, as on the device (no pointers): dwSize is sizeof(CENOTIFICATION).
struct CENOTIFICATION {
    DWORD dwSize;
    DWORD dwParam; // the request's dwParam
    UINT uType;    // DB_CEOID_*
    CEGUID guid;   // the volume
    CEOID oid;     // the record
    CEOID oidParent; // the database
};
typedef CENOTIFICATION* PCENOTIFICATION;
static_assert(sizeof(CENOTIFICATION) == 36, "CENOTIFICATION keeps the device's layout");

// Volume mount options; this platform keeps its volumes in SQLite and takes them as
// they are (null is accepted).
struct CEVOLUMEOPTIONS {
    WORD wVersion;
    DWORD cbBufferPool;
    DWORD dwAutoShrinkPercent;
    DWORD dwFlushInterval;
    DWORD cMaxSize;
    DWORD dwDefaultTimeout;
    DWORD dwFlags;
};
typedef CEVOLUMEOPTIONS* PCEVOLUMEOPTIONS;

#define CEDB_MAXSORTPROP 3
struct SORTORDERSPECEX {
    WORD wVersion;
    WORD wNumProps;
    WORD wKeyFlags;
    WORD wReserved;
    CEPROPID rgPropID[CEDB_MAXSORTPROP];
    DWORD rgdwFlags[CEDB_MAXSORTPROP];
};
typedef SORTORDERSPECEX* PSORTORDERSPECEX;

// CeOpenDatabaseInSession flags.
#define CEDB_AUTOINCREMENT 0x00000001u

// CeSeekDatabaseEx seek types.
#define CEDB_SEEK_CEOID 0x00000001u
#define CEDB_SEEK_BEGINNING 0x00000002u
#define CEDB_SEEK_END 0x00000004u
#define CEDB_SEEK_CURRENT 0x00000008u

// The object store's volume: a CEGUID with all bits set.
#define CREATE_SYSTEMGUID(pguid) (memset((pguid), -1, sizeof(CEGUID)))
#define CREATE_INVALIDGUID(pguid) (memset((pguid), 0, sizeof(CEGUID)))

// Mounts a volume (only "\pim.vol" exists here): `dwFlags` OPEN_EXISTING or OPEN_ALWAYS.
// Fills `pguid` with the volume's identifier.
CE_API BOOL CeMountDBVolEx(CEGUID* pguid, LPWSTR lpszVol, CEVOLUMEOPTIONS* pOptions, DWORD dwFlags);
// Each mount is undone by one unmount; ERROR_INVALID_PARAMETER for a volume not mounted.
CE_API BOOL CeUnmountDBVol(CEGUID* pguid);
// A session on a mounted volume, or INVALID_HANDLE_VALUE.
CE_API HANDLE CeCreateSession(CEGUID* pguid);
// Opens the database named `lpszName` (or, with a null name, the one whose identifier
// `*poid` holds) in `hSession`. `*poid` receives the database's identifier. Only a null
// sort order is taken: the call log reads newest first. With `pRequest` (dwSize
// sizeof(CENOTIFYREQUEST), CEDB_EXNOTIFICATION) every change made to the database from
// now on, by any process or the console, posts WM_DBNOTIFICATION to pRequest->hwnd.
// Returns INVALID_HANDLE_VALUE on failure (ERROR_FILE_NOT_FOUND: no such database).
CE_API HANDLE CeOpenDatabaseInSession(HANDLE hSession, CEGUID* pguid, CEOID* poid, LPWSTR lpszName,
                                      SORTORDERSPECEX* pSort, DWORD dwFlags,
                                      CENOTIFYREQUEST* pRequest);
// Reads the record at the seek position and moves the position to the next one. With
// `rgPropID` null every property is read and `*lpcPropID` receives their count; else the
// `*lpcPropID` properties named are read in that order (CEDB_PROPNOTFOUND for those the
// record lacks). The buffer holds the CEPROPVAL array and then the data it points to.
// CEDB_ALLOWREALLOC: a buffer too small is grown with HeapReAlloc in `hHeap` (null:
// LocalAlloc, the old buffer LocalFree'd; a null *lplpBuffer is allocated); without it
// the call fails with ERROR_INSUFFICIENT_BUFFER and `*lpcbBuffer` holds the size needed. Returns the
// record's CEOID, or 0 (ERROR_NO_MORE_ITEMS past the last record).
CE_API CEOID CeReadRecordPropsEx(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID,
                                 LPBYTE* lplpBuffer, LPDWORD lpcbBuffer, HANDLE hHeap);
// CEDB_SEEK_CEOID (dwValue = the record), CEDB_SEEK_BEGINNING (dwValue = index),
// CEDB_SEEK_CURRENT (dwValue = signed offset), CEDB_SEEK_END (dwValue = records back
// from the last one); the device's seeks by value are not supported
// (ERROR_INVALID_PARAMETER). Returns the record's CEOID and its index, or 0 (ERROR_NOT_FOUND
// for an unknown record or a position outside the database; the position stays).
CE_API CEOID CeSeekDatabaseEx(HANDLE hDatabase, DWORD dwSeekType, DWORD dwValue, WORD wNumVals,
                              LPDWORD lpdwIndex);
CE_API BOOL CeDeleteRecord(HANDLE hDatabase, CEOID oidRecord);
// Writes `cPropID` properties into record `oidRecord` (0 creates a record). Returns the
// record's CEOID, or 0.
CE_API CEOID CeWriteRecordProps(HANDLE hDbase, CEOID oidRecord, WORD cPropID, CEPROPVAL* rgPropVal);
// Releases a notification that arrived with WM_DBNOTIFICATION, from the heap of the
// request it was made for. A request or notification whose dwSize is not this platform's
// sizeof is refused (ERROR_INVALID_PARAMETER) and nothing is freed.
CE_API BOOL CeFreeNotification(PCENOTIFYREQUEST pRequest, PCENOTIFICATION pNotify);
