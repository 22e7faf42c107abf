// Exported virtual memory: reservations are anonymous mappings without access; committing
// makes pages accessible with mprotect. A table of reservations lets VirtualFree and
// VirtualQuery refuse addresses they did not hand out.
#include "ce/kernel.h"
#include "ce/memory.h"

#include <map>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

struct Reservation {
    size_t size = 0;
    std::vector<bool> committed; // one flag per page
};

class VirtualSpace {
public:
    static VirtualSpace& Instance() {
        static VirtualSpace space;
        return space;
    }
    std::mutex& Mutex() { return m_mutex; }
    // The reservation containing address, with its base, or null.
    Reservation* Find(uintptr_t address, uintptr_t& base) {
        auto it = m_reservations.upper_bound(address);
        if (it == m_reservations.begin())
            return nullptr;
        --it;
        if (address >= it->first + it->second.size)
            return nullptr;
        base = it->first;
        return &it->second;
    }
    std::map<uintptr_t, Reservation>& Reservations() { return m_reservations; }

private:
    std::mutex m_mutex;
    std::map<uintptr_t, Reservation> m_reservations;
};

size_t PageSize() {
    static const size_t size = size_t(sysconf(_SC_PAGESIZE));
    return size;
}

int ProtectionOf(DWORD protect) {
    switch (protect) {
    case PAGE_READWRITE:
        return PROT_READ | PROT_WRITE;
    case PAGE_READONLY:
        return PROT_READ;
    case PAGE_NOACCESS:
        return PROT_NONE;
    default:
        return -1;
    }
}

// Largest reservation accepted: the device's address space is small, and a hostile size
// must not reach mmap.
constexpr uint64_t kMaxReservation = 1ull << 30;

LPVOID Reserve(uint64_t size) {
    void* base = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED)
        return nullptr;
    Reservation reservation;
    reservation.size = size;
    reservation.committed.assign(size / PageSize(), false);
    VirtualSpace::Instance().Reservations().emplace(reinterpret_cast<uintptr_t>(base), std::move(reservation));
    return base;
}

bool SetPages(uintptr_t base, Reservation& reservation, uintptr_t first, uint64_t size, int protection,
              bool commit) {
    uintptr_t start = first & ~(PageSize() - 1);
    uint64_t end = (uint64_t(first) + size + PageSize() - 1) & ~uint64_t(PageSize() - 1);
    if (end > base + reservation.size)
        return false;
    if (mprotect(reinterpret_cast<void*>(start), end - start, protection) != 0)
        return false;
    if (!commit) // decommitted pages give their memory back
        madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
    for (uintptr_t page = start; page < end; page += PageSize())
        reservation.committed[(page - base) / PageSize()] = commit;
    return true;
}

} // namespace

CE_API LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protect) {
    int protection = ProtectionOf(protect);
    if (size == 0 || size > kMaxReservation || protection < 0 || !(type & (MEM_RESERVE | MEM_COMMIT)) ||
        (type & ~(MEM_RESERVE | MEM_COMMIT))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto& space = VirtualSpace::Instance();
    std::lock_guard lock(space.Mutex());
    uint64_t rounded = (uint64_t(size) + PageSize() - 1) & ~uint64_t(PageSize() - 1);
    if (type & MEM_RESERVE) {
        if (address) { // FIXME: reservations at a chosen address are not supported.
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        address = Reserve(rounded);
        if (!address) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        if (!(type & MEM_COMMIT))
            return address;
    }
    uintptr_t base = 0;
    Reservation* reservation = space.Find(reinterpret_cast<uintptr_t>(address), base);
    if (!reservation || !SetPages(base, *reservation, reinterpret_cast<uintptr_t>(address), size, protection, true)) {
        SetLastError(reservation ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_ADDRESS);
        return nullptr;
    }
    return address;
}

CE_API BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD type) {
    auto& space = VirtualSpace::Instance();
    std::lock_guard lock(space.Mutex());
    uintptr_t base = 0;
    Reservation* reservation = space.Find(reinterpret_cast<uintptr_t>(address), base);
    if (!reservation) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    if (type == MEM_RELEASE) {
        if (size != 0 || base != reinterpret_cast<uintptr_t>(address)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        munmap(address, reservation->size);
        space.Reservations().erase(base);
        return TRUE;
    }
    if (type == MEM_DECOMMIT && size != 0 &&
        SetPages(base, *reservation, reinterpret_cast<uintptr_t>(address), size, PROT_NONE, false))
        return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

CE_API SIZE_T VirtualQuery(LPCVOID address, PMEMORY_BASIC_INFORMATION info, SIZE_T length) {
    if (!info || length < sizeof(MEMORY_BASIC_INFORMATION)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto& space = VirtualSpace::Instance();
    std::lock_guard lock(space.Mutex());
    uintptr_t base = 0;
    Reservation* reservation = space.Find(reinterpret_cast<uintptr_t>(address), base);
    if (!reservation) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return 0;
    }
    // The run of pages starting at the queried page that share its commit state.
    size_t page = (reinterpret_cast<uintptr_t>(address) - base) / PageSize();
    bool committed = reservation->committed[page];
    size_t end = page;
    while (end < reservation->committed.size() && reservation->committed[end] == committed)
        ++end;
    info->BaseAddress = reinterpret_cast<PVOID>(base + page * PageSize());
    info->AllocationBase = reinterpret_cast<PVOID>(base);
    info->AllocationProtect = PAGE_READWRITE;
    info->RegionSize = (end - page) * PageSize();
    info->State = committed ? MEM_COMMIT : MEM_RESERVE;
    info->Protect = committed ? PAGE_READWRITE : PAGE_NOACCESS;
    info->Type = MEM_PRIVATE;
    return sizeof(MEMORY_BASIC_INFORMATION);
}
