// Helpers shared by the exported functions of the window manager (Window.cpp,
// Message.cpp, Focus.cpp, ...). Functions named ...Locked expect the WaitHub lock;
// the others take it themselves and never hold it while a window procedure runs.
#pragma once

#include "ce/user.h"
#include "user/WindowManager.h"

#include <memory>
#include <mutex>

namespace platform {

std::unique_lock<std::mutex> LockUser();
inline WindowManager& Wm() { return WindowManager::Instance(); }

// The calling thread's queue (created on first use). Takes the lock.
std::shared_ptr<MessageQueue> CurrentQueue();
DWORD CurrentThreadId();

// ---- Window.cpp ----
bool IsVisibleLocked(const WindowObject& window);
POINT ClientOriginLocked(const WindowObject& window);
// Destroys a window from its own thread; false for a stale handle or another thread's.
bool DestroyWindowOwnThread(HWND hwnd);
// True when `message` was the internal request to destroy `hwnd` on its own thread.
bool HandleDestroyRequest(HWND hwnd, UINT message);

// ---- Message.cpp ----
// Calls the window procedure on the calling thread (no lock held).
LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Sends on the window's own thread, or queues a notification for another thread's
// window without waiting (activation and focus changes across threads).
void SendOrNotify(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
bool PostLocked(MessageQueue& queue, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Focus.cpp ----
// Activates `hwnd` (null deactivates) and brings it to the top; sends the activation
// and focus messages.
void ActivateWindow(HWND hwnd);
// The window to activate when the active window `leaving` is hidden or destroyed.
HWND NextActiveCandidateLocked(HWND leaving);
// Clears focus, activation and capture that point into a window being destroyed.
void ForgetWindowLocked(const WindowObject& window);

// ---- Paint.cpp ----
void InvalidateLocked(WindowObject& window, const RECT* rect, bool erase);
void ValidateLocked(WindowObject& window, const RECT* rect);
// Drops the update area of a window and its children (hidden or destroyed).
void ValidateTreeLocked(WindowObject& window);
// Marks a window and its visible children as wholly invalid (shown, moved or resized).
void InvalidateTreeLocked(WindowObject& window);

// ---- WindowPos.cpp ----
// Sends WM_WINDOWPOSCHANGING/CHANGED around a change of place, size, z-order or
// visibility. Shared by SetWindowPos, ShowWindow, activation and creation.
bool SetWindowPosInternal(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

} // namespace platform
