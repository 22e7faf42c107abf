// Exported file handle functions: CreateFileW, ReadFile, WriteFile, the file pointer,
// size, end of file, flush and times.
#include "ce/files.h"
#include "ce/kernel.h"
#include "files/FileInfo.h"
#include "files/FileObject.h"
#include "files/FileSystem.h"
#include "kernel/HandleTable.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

FileObject::~FileObject() {
    if (m_fd < 0)
        return;
    OpenFileTable::Instance().Remove(m_identity, this);
    close(m_fd);
}

namespace {

// What CreateFileW decided to do with the host file.
struct OpenPlan {
    int flags = 0;
    bool truncate = false;
    bool existed = false;
};

// Picks the host open flags for a disposition; returns a Win32 error or ERROR_SUCCESS.
DWORD PlanOpen(const ResolvedPath& path, DWORD access, DWORD disposition, OpenPlan& plan) {
    plan.existed = path.exists;
    if (path.exists && path.isDirectory)
        return ERROR_ACCESS_DENIED;
    bool writes = (access & GENERIC_WRITE) != 0;
    switch (disposition) {
    case CREATE_NEW:
        if (path.exists)
            return ERROR_FILE_EXISTS;
        plan.flags = O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        plan.flags = path.exists ? 0 : O_CREAT | O_EXCL;
        plan.truncate = path.exists;
        break;
    case OPEN_EXISTING:
        if (!path.exists)
            return ERROR_FILE_NOT_FOUND;
        break;
    case OPEN_ALWAYS:
        plan.flags = path.exists ? 0 : O_CREAT | O_EXCL;
        break;
    case TRUNCATE_EXISTING:
        if (!path.exists)
            return ERROR_FILE_NOT_FOUND;
        if (!writes)
            return ERROR_INVALID_PARAMETER;
        plan.truncate = true;
        break;
    default:
        return ERROR_INVALID_PARAMETER;
    }
    // The host would let root write anyway: the read-only attribute is enforced here.
    if (path.exists && FileInfo::IsReadOnly(path.info) && (writes || plan.truncate))
        return ERROR_ACCESS_DENIED;
    bool reads = (access & GENERIC_READ) != 0;
    plan.flags |= (writes || plan.truncate) ? (reads ? O_RDWR : O_WRONLY) : O_RDONLY;
    plan.flags |= O_NOFOLLOW | O_CLOEXEC;
    return ERROR_SUCCESS;
}

// Opens the host file into `file` and takes its place in the share table; truncation
// waits until the share check passed. Returns a Win32 error or ERROR_SUCCESS.
DWORD OpenPlanned(const ResolvedPath& path, const OpenPlan& plan, DWORD share, DWORD attributes,
                  FileObject& file) {
    int fd = open(path.host.c_str(), plan.flags, 0644);
    if (fd < 0)
        return FileSystem::ErrorFromErrno(errno);
    struct stat info;
    fstat(fd, &info);
    FileIdentity identity{info.st_dev, info.st_ino};
    if (!OpenFileTable::Instance().TryAdd(identity, &file, file.Access(), share)) {
        close(fd);
        return ERROR_SHARING_VIOLATION;
    }
    file.Attach(fd, identity);
    if (plan.truncate && ftruncate(fd, 0) != 0)
        return FileSystem::ErrorFromErrno(errno);
    if (!plan.existed || plan.truncate)
        FileInfo::TouchWithDeviceClock(fd);
    if (!plan.existed && (attributes & FILE_ATTRIBUTE_READONLY))
        fchmod(fd, 0444);
    return ERROR_SUCCESS;
}

std::shared_ptr<FileObject> LookupFile(HANDLE handle) {
    auto file = HandleTable::Instance().LookupAs<FileObject>(handle, ObjectType::File);
    if (!file)
        SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

} // namespace

CE_API HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE) {
    if (!fileName || !*fileName) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    DWORD access = desiredAccess & (GENERIC_READ | GENERIC_WRITE);
    DWORD error = ERROR_SUCCESS;
    // A second pass covers a file that appeared or vanished between lookup and open.
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto path = FileSystem::Lookup(fileName, error);
        if (!path) {
            SetLastError(error);
            return INVALID_HANDLE_VALUE;
        }
        OpenPlan plan;
        if ((error = PlanOpen(*path, access, creationDisposition, plan)) != ERROR_SUCCESS)
            break;
        auto file = std::make_shared<FileObject>(access, path->device);
        error = OpenPlanned(*path, plan, shareMode, flagsAndAttributes, *file);
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_NOT_FOUND)
            continue;
        if (error != ERROR_SUCCESS)
            break;
        bool reportExisting = plan.existed && (creationDisposition == CREATE_ALWAYS ||
                                               creationDisposition == OPEN_ALWAYS);
        HANDLE handle = HandleTable::Instance().Insert(file);
        SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
        return handle;
    }
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

CE_API BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
                     LPVOID overlapped) {
    if (bytesRead)
        *bytesRead = 0;
    auto file = LookupFile(handle);
    if (!file)
        return FALSE;
    if (overlapped || (!buffer && bytesToRead))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!(file->Access() & GENERIC_READ))
        return Fail(ERROR_ACCESS_DENIED);
    std::lock_guard lock(file->m_mutex);
    DWORD done = 0;
    while (done < bytesToRead) {
        ssize_t n = pread(file->Fd(), static_cast<char*>(buffer) + done, bytesToRead - done,
                          file->m_position + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            file->m_position += done;
            if (bytesRead)
                *bytesRead = done;
            return Fail(ERROR_READ_FAULT);
        }
        if (n == 0)
            break; // end of file: a successful short read, as on the device
        done += static_cast<DWORD>(n);
    }
    file->m_position += done;
    if (bytesRead)
        *bytesRead = done;
    return TRUE;
}

CE_API BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
                      LPVOID overlapped) {
    if (bytesWritten)
        *bytesWritten = 0;
    auto file = LookupFile(handle);
    if (!file)
        return FALSE;
    if (overlapped || (!buffer && bytesToWrite))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!(file->Access() & GENERIC_WRITE))
        return Fail(ERROR_ACCESS_DENIED);
    std::lock_guard lock(file->m_mutex);
    DWORD done = 0;
    DWORD error = ERROR_SUCCESS;
    while (done < bytesToWrite) {
        ssize_t n = pwrite(file->Fd(), static_cast<const char*>(buffer) + done, bytesToWrite - done,
                           file->m_position + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A full disk (or file size limit) is reported, never a silent short write.
            error = n == 0 ? (DWORD)ERROR_DISK_FULL : FileSystem::ErrorFromErrno(errno);
            if (error == ERROR_ACCESS_DENIED)
                error = ERROR_WRITE_FAULT;
            break;
        }
        done += static_cast<DWORD>(n);
    }
    file->m_position += done;
    if (bytesWritten)
        *bytesWritten = done;
    if (done)
        FileInfo::TouchWithDeviceClock(file->Fd());
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

CE_API DWORD SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD moveMethod) {
    auto file = LookupFile(handle);
    if (!file)
        return INVALID_SET_FILE_POINTER;
    // Without a high part the distance is a signed 32-bit value.
    int64_t move = distanceHigh ? int64_t((uint64_t(uint32_t(*distanceHigh)) << 32) | uint32_t(distance))
                                : int64_t(distance);
    std::lock_guard lock(file->m_mutex);
    int64_t base = 0;
    if (moveMethod == FILE_CURRENT) {
        base = file->m_position;
    } else if (moveMethod == FILE_END) {
        struct stat info;
        if (fstat(file->Fd(), &info) != 0) {
            SetLastError(ERROR_INVALID_HANDLE);
            return INVALID_SET_FILE_POINTER;
        }
        base = info.st_size;
    } else if (moveMethod != FILE_BEGIN) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if ((move > 0 && base > std::numeric_limits<int64_t>::max() - move) || base + move < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    int64_t target = base + move;
    if (!distanceHigh && target > 0xFFFFFFFELL) {
        // The position would not fit the return value: refuse instead of truncating it.
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    file->m_position = target;
    if (distanceHigh)
        *distanceHigh = LONG(uint64_t(target) >> 32);
    // INVALID_SET_FILE_POINTER may be a real low part: callers then check the last error.
    SetLastError(ERROR_SUCCESS);
    return DWORD(uint64_t(target) & 0xFFFFFFFFu);
}

CE_API DWORD GetFileSize(HANDLE handle, LPDWORD fileSizeHigh) {
    auto file = LookupFile(handle);
    if (!file)
        return INVALID_FILE_SIZE;
    struct stat info;
    if (fstat(file->Fd(), &info) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    uint64_t size = uint64_t(info.st_size);
    if (fileSizeHigh)
        *fileSizeHigh = DWORD(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return DWORD(size & 0xFFFFFFFFu);
}

CE_API BOOL SetEndOfFile(HANDLE handle) {
    auto file = LookupFile(handle);
    if (!file)
        return FALSE;
    if (!(file->Access() & GENERIC_WRITE))
        return Fail(ERROR_ACCESS_DENIED);
    std::lock_guard lock(file->m_mutex);
    if (ftruncate(file->Fd(), file->m_position) != 0)
        return Fail(FileSystem::ErrorFromErrno(errno));
    FileInfo::TouchWithDeviceClock(file->Fd());
    return TRUE;
}

CE_API BOOL FlushFileBuffers(HANDLE handle) {
    auto file = LookupFile(handle);
    if (!file)
        return FALSE;
    if (fsync(file->Fd()) != 0)
        return Fail(FileSystem::ErrorFromErrno(errno));
    return TRUE;
}

CE_API BOOL GetFileTime(HANDLE handle, LPFILETIME creation, LPFILETIME lastAccess,
                        LPFILETIME lastWrite) {
    auto file = LookupFile(handle);
    if (!file)
        return FALSE;
    struct stat info;
    if (fstat(file->Fd(), &info) != 0)
        return Fail(ERROR_INVALID_HANDLE);
    if (creation)
        *creation = FileInfo::CreationTime(file->Fd(), info);
    if (lastAccess)
        *lastAccess = FileInfo::ToFileTime(info.st_atim);
    if (lastWrite)
        *lastWrite = FileInfo::ToFileTime(info.st_mtim);
    return TRUE;
}
