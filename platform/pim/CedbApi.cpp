// The exported database functions over the call log store. Sessions and databases are
// kernel objects of the handle table (closed with CloseHandle); a handle of another kind
// or of an earlier boot is refused with ERROR_INVALID_HANDLE.
#include "ce/windbase.h"
#include "kernel/HandleTable.h"
#include "kernel/Utf.h"
#include "pim/CedbDatabase.h"
#include "pim/CedbNotifier.h"
#include "pim/CedbRecordBuffer.h"

#include <cstring>

namespace platform {

namespace {

bool IsPimVolume(const CEGUID* guid) {
    return guid && std::memcmp(guid, &CallLogStore::kVolumeGuid, sizeof(CEGUID)) == 0;
}

template <typename T> std::shared_ptr<T> Lookup(HANDLE handle) {
    auto object = std::dynamic_pointer_cast<T>(HandleTable::Instance().Lookup(handle));
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

HANDLE FailHandle(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

bool IsValidRequest(const CENOTIFYREQUEST* request) {
    return request->dwSize == sizeof(CENOTIFYREQUEST) && request->dwFlags == CEDB_EXNOTIFICATION &&
           request->hwnd;
}

// The database named `name`, or the one whose identifier `*oid` holds.
bool NamesCallLog(LPCWSTR name, const CEOID* oid) {
    if (name)
        return EqualsNoCase(name, CallLogStore::kDatabaseName);
    return oid && *oid == CallLogStore::kDatabaseOid;
}

} // namespace

} // namespace platform

using platform::CallLogStore;

CE_API BOOL CeMountDBVolEx(CEGUID* pguid, LPWSTR lpszVol, CEVOLUMEOPTIONS*, DWORD dwFlags) {
    if (!pguid || !lpszVol) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (dwFlags != OPEN_EXISTING && dwFlags != OPEN_ALWAYS) {
        // New volumes are not made on this device; only "\pim.vol" exists.
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (!platform::EqualsNoCase(lpszVol, CallLogStore::kVolumeName) || !CallLogStore::Instance().IsAvailable()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    CallLogStore::Instance().Mount();
    *pguid = CallLogStore::kVolumeGuid;
    return TRUE;
}

CE_API BOOL CeUnmountDBVol(CEGUID* pguid) {
    if (!platform::IsPimVolume(pguid) || !CallLogStore::Instance().Unmount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

CE_API HANDLE CeCreateSession(CEGUID* pguid) {
    if (!platform::IsPimVolume(pguid) || !CallLogStore::Instance().IsMounted())
        return platform::FailHandle(ERROR_INVALID_PARAMETER);
    return platform::HandleTable::Instance().Insert(std::make_shared<platform::CedbSession>());
}

CE_API HANDLE CeOpenDatabaseInSession(HANDLE hSession, CEGUID* pguid, CEOID* poid, LPWSTR lpszName,
                                      SORTORDERSPECEX* pSort, DWORD dwFlags, CENOTIFYREQUEST* pRequest) {
    if (!platform::Lookup<platform::CedbSession>(hSession))
        return INVALID_HANDLE_VALUE;
    if (!platform::IsPimVolume(pguid) || pSort || (dwFlags & ~DWORD(CEDB_AUTOINCREMENT)) ||
        (pRequest && !platform::IsValidRequest(pRequest)))
        return platform::FailHandle(ERROR_INVALID_PARAMETER);
    if (!platform::NamesCallLog(lpszName, poid))
        return platform::FailHandle(ERROR_FILE_NOT_FOUND);
    if (poid)
        *poid = CallLogStore::kDatabaseOid;
    return platform::HandleTable::Instance().Insert(std::make_shared<platform::CedbDatabase>(pRequest));
}

CE_API CEOID CeReadRecordPropsEx(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID,
                                 LPBYTE* lplpBuffer, LPDWORD lpcbBuffer, HANDLE hHeap) {
    auto database = platform::Lookup<platform::CedbDatabase>(hDbase);
    if (!database)
        return 0;
    return database->ReadNext(dwFlags, lpcPropID, rgPropID, lplpBuffer, lpcbBuffer, hHeap);
}

CE_API CEOID CeSeekDatabaseEx(HANDLE hDatabase, DWORD dwSeekType, DWORD dwValue, WORD, LPDWORD lpdwIndex) {
    auto database = platform::Lookup<platform::CedbDatabase>(hDatabase);
    if (!database)
        return 0;
    return database->Seek(dwSeekType, dwValue, lpdwIndex);
}

CE_API BOOL CeDeleteRecord(HANDLE hDatabase, CEOID oidRecord) {
    if (!platform::Lookup<platform::CedbDatabase>(hDatabase))
        return FALSE;
    if (DWORD error = CallLogStore::Instance().Delete(oidRecord); error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

CE_API CEOID CeWriteRecordProps(HANDLE hDbase, CEOID oidRecord, WORD cPropID, CEPROPVAL* rgPropVal) {
    if (!platform::Lookup<platform::CedbDatabase>(hDbase))
        return 0;
    CallLogStore& store = CallLogStore::Instance();
    platform::CallLogRecord record;
    DWORD error = ERROR_SUCCESS;
    if (oidRecord) {
        error = store.Find(oidRecord, record);
    } else {
        // A new call without times happened now.
        FILETIME now{};
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        SystemTimeToFileTime(&utc, &now);
        record.start = record.end = int64_t(uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime);
    }
    if (error == ERROR_SUCCESS)
        error = platform::ApplyRecordProps(record, rgPropVal, cPropID);
    if (error == ERROR_SUCCESS)
        error = oidRecord ? store.Update(record) : store.Add(record, record.oid);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return 0;
    }
    return record.oid;
}

CE_API BOOL CeFreeNotification(PCENOTIFYREQUEST pRequest, PCENOTIFICATION pNotify) {
    // A structure that is not one of ours (wrong size) is refused rather than freed.
    if (!pRequest || !pNotify || pRequest->dwSize != sizeof(CENOTIFYREQUEST) ||
        pNotify->dwSize != sizeof(CENOTIFICATION)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return HeapFree(platform::CedbNotifier::HeapOf(*pRequest), 0, pNotify);
}
