// Every window of the device, by handle, and the z-order of the top-level windows.
// A handle carries the slot index and a generation, so a destroyed window's handle is
// recognised as stale even after its slot was reused; its lowest bit is always clear
// (SetForegroundWindow uses it as a flag). Guarded by the WaitHub lock.
#pragma once

#include "user/WindowObject.h"

#include <functional>
#include <memory>
#include <vector>

namespace platform {

class WindowTable {
public:
    // Null when the table is full.
    HWND Insert(std::shared_ptr<WindowObject> window);
    WindowObject* Find(HWND hwnd) const;
    std::shared_ptr<WindowObject> FindShared(HWND hwnd) const;
    void Remove(HWND hwnd);
    void Clear();
    void ForEach(const std::function<void(WindowObject&)>& visit) const;

    // Top-level windows, topmost first; the topmost band always precedes the others.
    const std::vector<HWND>& TopLevel() const { return m_topLevel; }
    // The sibling list that holds `window` (its parent's children or the top level).
    std::vector<HWND>& SiblingsOf(const WindowObject& window);
    // Places `window` among its siblings: HWND_TOP, HWND_BOTTOM, HWND_TOPMOST,
    // HWND_NOTOPMOST or after a sibling, keeping the topmost band first.
    void Place(WindowObject& window, HWND insertAfter);
    void Unlink(const WindowObject& window);

private:
    struct Slot {
        std::shared_ptr<WindowObject> window;
        uint16_t generation = 0;
    };
    bool Decode(HWND hwnd, size_t& index, uint16_t& generation) const;
    void InsertAt(std::vector<HWND>& siblings, WindowObject& window, HWND insertAfter);

    static constexpr size_t kMaxWindows = 0xFFFE;
    std::vector<Slot> m_slots;
    std::vector<size_t> m_free;
    std::vector<HWND> m_topLevel;
};

} // namespace platform
