// The exported clipboard. The state is the device's, shared by every process, guarded by
// its own mutex (no window procedure runs under it).
#include "ce/kernel.h"
#include "ce/user.h"
#include "user/Clipboard.h"

#include <map>
#include <mutex>

namespace {

struct ClipboardState {
    std::mutex mutex;
    DWORD openThread = 0; // 0 while closed
    HWND openWindow = nullptr;
    std::map<UINT, HANDLE> blocks;
};

ClipboardState& State() {
    static ClipboardState state;
    return state;
}

bool OpenedByCaller(ClipboardState& state) {
    if (state.openThread != GetCurrentThreadId()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return false;
    }
    return true;
}

} // namespace

namespace platform {

void ResetClipboard() {
    ClipboardState& state = State();
    std::lock_guard lock(state.mutex);
    for (auto& [format, block] : state.blocks)
        LocalFree(block);
    state.blocks.clear();
    state.openThread = 0;
    state.openWindow = nullptr;
}

} // namespace platform

CE_API BOOL OpenClipboard(HWND owner) {
    ClipboardState& state = State();
    std::lock_guard lock(state.mutex);
    DWORD self = GetCurrentThreadId();
    if (state.openThread && state.openThread != self) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    state.openThread = self;
    state.openWindow = owner;
    return TRUE;
}

CE_API BOOL CloseClipboard() {
    ClipboardState& state = State();
    std::lock_guard lock(state.mutex);
    if (!OpenedByCaller(state))
        return FALSE;
    state.openThread = 0;
    state.openWindow = nullptr;
    return TRUE;
}

CE_API BOOL EmptyClipboard() {
    ClipboardState& state = State();
    std::lock_guard lock(state.mutex);
    if (!OpenedByCaller(state))
        return FALSE;
    for (auto& [format, block] : state.blocks)
        LocalFree(block);
    state.blocks.clear();
    return TRUE;
}

CE_API HANDLE SetClipboardData(UINT format, HANDLE memory) {
    ClipboardState& state = State();
    std::lock_guard lock(state.mutex);
    if (!OpenedByCaller(state))
        return nullptr;
    if (!memory || !format) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HANDLE& slot = state.blocks[format];
    if (slot && slot != memory)
        LocalFree(slot);
    slot = memory;
    return memory;
}

CE_API HANDLE GetClipboardData(UINT format) {
    ClipboardState& state = State();
    std::lock_guard lock(state.mutex);
    if (!OpenedByCaller(state))
        return nullptr;
    auto found = state.blocks.find(format);
    return found == state.blocks.end() ? nullptr : found->second;
}

CE_API BOOL IsClipboardFormatAvailable(UINT format) {
    ClipboardState& state = State();
    std::lock_guard lock(state.mutex);
    return state.blocks.count(format) ? TRUE : FALSE;
}
