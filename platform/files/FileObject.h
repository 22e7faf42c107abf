// An open file of the device: the kernel object behind a CreateFileW handle. It owns
// the host descriptor and its own file pointer, and holds its place in the share table
// for as long as the handle is open.
#pragma once

#include "ce/types.h"
#include "files/OpenFileTable.h"
#include "kernel/KernelObject.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace platform {

class FileObject : public KernelObject {
public:
    FileObject(DWORD access, std::u16string devicePath)
        : m_access(access), m_devicePath(std::move(devicePath)) {}
    // Closes the descriptor and leaves the share table.
    ~FileObject() override;

    // Takes ownership of `fd`, already recorded in the share table under `identity` with
    // this object as owner.
    void Attach(int fd, FileIdentity identity) {
        m_fd = fd;
        m_identity = identity;
    }

    ObjectType Type() const override { return ObjectType::File; }

    int Fd() const { return m_fd; }
    DWORD Access() const { return m_access; }
    const std::u16string& DevicePath() const { return m_devicePath; }

    // Serialises reads, writes and seeks of one handle; guards m_position.
    std::mutex m_mutex;
    int64_t m_position = 0;

private:
    int m_fd = -1;
    FileIdentity m_identity;
    DWORD m_access;
    std::u16string m_devicePath;
};

} // namespace platform
