#include "pim/PimNotifier.h"

#include "ce/pimstore.h"
#include "ce/user.h"
#include "kernel/Trace.h"

namespace platform {

PimNotifier& PimNotifier::Instance() {
    static PimNotifier notifier;
    return notifier;
}

DWORD PimNotifier::AddSession(HWND window, DWORD process) {
    std::lock_guard lock(m_mutex);
    DWORD id = m_nextId++;
    if (m_nextId == 0)
        m_nextId = 1;
    m_sessions.push_back(Session{id, window, process});
    return id;
}

void PimNotifier::RemoveSession(DWORD session) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_sessions, [session](const Session& s) { return s.id == session; });
}

void PimNotifier::SetFolderFlags(DWORD session, int folder, DWORD flags) {
    if (folder != olFolderContacts)
        return;
    std::lock_guard lock(m_mutex);
    for (Session& s : m_sessions)
        if (s.id == session)
            s.contactFlags = flags & PIMFOLDERNOTIFICATION_ALL;
}

DWORD PimNotifier::FolderFlags(DWORD session, int folder) const {
    if (folder != olFolderContacts)
        return 0;
    std::lock_guard lock(m_mutex);
    for (const Session& s : m_sessions)
        if (s.id == session)
            return s.contactFlags;
    return 0;
}

void PimNotifier::Raise(PimChange change, CEOID oid, DWORD origin) {
    struct Post {
        HWND window;
        UINT message;
    };
    std::vector<Post> posts;
    {
        std::lock_guard lock(m_mutex);
        for (const Session& s : m_sessions) {
            bool local = origin != kConsoleOrigin && origin == s.process;
            DWORD wanted = local ? PIMFOLDERNOTIFICATION_LOCAL : PIMFOLDERNOTIFICATION_REMOTE;
            if (!(s.contactFlags & wanted) || !s.window)
                continue;
            UINT base = local ? PIM_ITEM_CREATED_LOCAL : PIM_ITEM_CREATED_REMOTE;
            posts.push_back(Post{s.window, base + UINT(change)});
        }
    }
    // Posted outside the lock: PostMessageW takes the kernel's.
    for (const Post& post : posts)
        if (!PostMessageW(post.window, post.message, WPARAM(oid), LPARAM(olFolderContacts)))
            Trace("pim", "notification 0x%04X of %lu not posted (window gone)", post.message,
                  (unsigned long)oid);
}

void PimNotifier::Clear() {
    std::lock_guard lock(m_mutex);
    m_sessions.clear();
}

} // namespace platform
