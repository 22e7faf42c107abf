// Change notifications of the contact store. Every Logon is a session with its window and
// process; a session that enabled them on the contacts folder (PIMPR_FOLDERNOTIFICATIONS)
// gets PIM_ITEM_* messages: LOCAL codes for changes made by its own process, REMOTE codes
// for changes of other processes and of the console.
#pragma once

#include "ce/cedbtypes.h"

#include <mutex>
#include <vector>

namespace platform {

enum class PimChange { Created = 0, Deleted = 1, Changed = 2 };

class PimNotifier {
public:
    // The origin of console changes: no process.
    static constexpr DWORD kConsoleOrigin = 0;

    static PimNotifier& Instance();

    // A new session for `window` of `process`; returns its id (never 0).
    DWORD AddSession(HWND window, DWORD process);
    void RemoveSession(DWORD session);
    // PIMFOLDERNOTIFICATION_* flags of a folder for one session.
    void SetFolderFlags(DWORD session, int folder, DWORD flags);
    DWORD FolderFlags(DWORD session, int folder) const;

    // Posts the change of contact `oid` to every session that wants it (wParam = OID,
    // lParam = the contacts folder). Never called with the volume's lock held.
    void Raise(PimChange change, CEOID oid, DWORD origin);

    void Clear();

private:
    struct Session {
        DWORD id;
        HWND window;
        DWORD process;
        DWORD contactFlags = 0;
    };

    mutable std::mutex m_mutex;
    std::vector<Session> m_sessions;
    DWORD m_nextId = 1;
};

} // namespace platform
