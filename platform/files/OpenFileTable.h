// Share modes between the open file handles of the device. Each open is recorded
// under the host file's identity (device and inode), so two paths spelt differently
// that name the same file are one file here too.
#pragma once

#include "ce/types.h"

#include <map>
#include <mutex>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace platform {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator<(const FileIdentity& other) const {
        return std::pair(device, inode) < std::pair(other.device, other.inode);
    }
};

class OpenFileTable {
public:
    static OpenFileTable& Instance();

    // Records an open with `access` (GENERIC_READ/WRITE) and `share` (FILE_SHARE_*) unless
    // it conflicts with an open already recorded; false means ERROR_SHARING_VIOLATION.
    bool TryAdd(FileIdentity file, const void* owner, DWORD access, DWORD share);
    void Remove(FileIdentity file, const void* owner);
    // True when every open of `file` shares `share` (FILE_SHARE_DELETE for delete and
    // rename, FILE_SHARE_WRITE for overwriting by copy).
    bool AllOpensShare(FileIdentity file, DWORD share) const;

private:
    struct Open {
        const void* owner;
        DWORD access;
        DWORD share;
    };
    mutable std::mutex m_mutex;
    std::map<FileIdentity, std::vector<Open>> m_opens;
};

} // namespace platform
