// Exported memory sections: memory-backed file mappings and their views.
#include "ce/kernel.h"
#include "ce/memory.h"
#include "kernel/HandleTable.h"
#include "kernel/MappingObject.h"

#include <map>
#include <mutex>
#include <sys/mman.h>

namespace platform {

namespace {

// Every view handed out, by its address, with the section it keeps alive.
struct Views {
    std::mutex mutex;
    std::multimap<const void*, std::shared_ptr<MappingObject>> byAddress;
};

Views& AllViews() {
    static Views views;
    return views;
}

} // namespace

std::shared_ptr<MappingObject> MappingObject::Create(size_t bytes) {
    if (bytes == 0 || bytes > kMaxBytes)
        return nullptr;
    void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED)
        return nullptr;
    return std::make_shared<MappingObject>(static_cast<uint8_t*>(data), bytes);
}

MappingObject::~MappingObject() { munmap(m_data, m_size); }

std::shared_ptr<MappingObject> MappingObject::FromHandle(HANDLE handle) {
    return HandleTable::Instance().LookupAs<MappingObject>(handle, ObjectType::Mapping);
}

} // namespace platform

using platform::MappingObject;

CE_API HANDLE CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD maximumSizeHigh,
                                 DWORD maximumSizeLow, LPCWSTR name) {
    if (file != INVALID_HANDLE_VALUE || name) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    uint64_t bytes = (uint64_t(maximumSizeHigh) << 32) | maximumSizeLow;
    if (protect != PAGE_READWRITE || bytes == 0 || bytes > MappingObject::kMaxBytes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto mapping = MappingObject::Create(size_t(bytes));
    if (!mapping) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return platform::HandleTable::Instance().Insert(std::move(mapping));
}

CE_API LPVOID MapViewOfFile(HANDLE handle, DWORD, DWORD fileOffsetHigh, DWORD fileOffsetLow, SIZE_T bytes) {
    auto mapping = MappingObject::FromHandle(handle);
    if (!mapping) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    uint64_t offset = (uint64_t(fileOffsetHigh) << 32) | fileOffsetLow;
    uint64_t length = bytes ? bytes : (offset <= mapping->Size() ? mapping->Size() - offset : 0);
    if (length == 0 || !mapping->Contains(offset, length)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* view = mapping->Data() + offset;
    auto& views = platform::AllViews();
    std::lock_guard lock(views.mutex);
    views.byAddress.emplace(view, std::move(mapping));
    return view;
}

CE_API BOOL UnmapViewOfFile(LPCVOID baseAddress) {
    std::shared_ptr<MappingObject> released; // freed after the lock
    {
        auto& views = platform::AllViews();
        std::lock_guard lock(views.mutex);
        auto found = views.byAddress.find(baseAddress);
        if (found == views.byAddress.end()) {
            SetLastError(ERROR_INVALID_ADDRESS);
            return FALSE;
        }
        released = std::move(found->second);
        views.byAddress.erase(found);
    }
    return TRUE;
}
