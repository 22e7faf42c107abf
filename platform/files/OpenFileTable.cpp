#include "files/OpenFileTable.h"

#include "ce/files.h"

#include <algorithm>

namespace platform {

OpenFileTable& OpenFileTable::Instance() {
    static OpenFileTable table;
    return table;
}

bool OpenFileTable::TryAdd(FileIdentity file, const void* owner, DWORD access, DWORD share) {
    std::lock_guard lock(m_mutex);
    auto& opens = m_opens[file];
    for (const Open& open : opens) {
        // Each side must allow what the other one does.
        if ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ))
            return false;
        if ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE))
            return false;
        if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ))
            return false;
        if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE))
            return false;
    }
    opens.push_back({owner, access, share});
    return true;
}

void OpenFileTable::Remove(FileIdentity file, const void* owner) {
    std::lock_guard lock(m_mutex);
    auto it = m_opens.find(file);
    if (it == m_opens.end())
        return;
    auto& opens = it->second;
    opens.erase(std::remove_if(opens.begin(), opens.end(),
                               [owner](const Open& open) { return open.owner == owner; }),
                opens.end());
    if (opens.empty())
        m_opens.erase(it);
}

bool OpenFileTable::AllOpensShare(FileIdentity file, DWORD share) const {
    std::lock_guard lock(m_mutex);
    auto it = m_opens.find(file);
    if (it == m_opens.end())
        return true;
    return std::all_of(it->second.begin(), it->second.end(),
                       [share](const Open& open) { return (open.share & share) == share; });
}

} // namespace platform
