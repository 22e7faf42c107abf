#include "user/WindowTable.h"

#include <algorithm>

namespace platform {

namespace {

// Number of topmost windows at the head of a top-level list.
size_t TopmostBand(const std::vector<HWND>& siblings, const WindowTable& table) {
    size_t count = 0;
    while (count < siblings.size()) {
        WindowObject* window = table.Find(siblings[count]);
        if (!window || !window->IsTopmost())
            break;
        ++count;
    }
    return count;
}

} // namespace

bool WindowTable::Decode(HWND hwnd, size_t& index, uint16_t& generation) const {
    auto value = reinterpret_cast<uintptr_t>(hwnd);
    if (value & 1 || value >> 32)
        return false;
    size_t slot = (value >> 16) & 0xFFFF;
    if (slot == 0 || slot > m_slots.size())
        return false;
    index = slot - 1;
    generation = uint16_t((value >> 1) & 0x7FFF);
    return true;
}

HWND WindowTable::Insert(std::shared_ptr<WindowObject> window) {
    size_t index;
    if (!m_free.empty()) {
        index = m_free.back();
        m_free.pop_back();
    } else {
        if (m_slots.size() >= kMaxWindows)
            return nullptr;
        index = m_slots.size();
        m_slots.emplace_back();
    }
    Slot& slot = m_slots[index];
    // Generations run 1..0x7FFF so that no handle is ever zero in its low half.
    slot.generation = uint16_t(slot.generation % 0x7FFF + 1);
    auto value = (uintptr_t(index + 1) << 16) | (uintptr_t(slot.generation) << 1);
    HWND hwnd = reinterpret_cast<HWND>(value);
    window->m_handle = hwnd;
    slot.window = std::move(window);
    return hwnd;
}

WindowObject* WindowTable::Find(HWND hwnd) const {
    size_t index;
    uint16_t generation;
    if (!Decode(hwnd, index, generation))
        return nullptr;
    const Slot& slot = m_slots[index];
    return slot.window && slot.generation == generation ? slot.window.get() : nullptr;
}

std::shared_ptr<WindowObject> WindowTable::FindShared(HWND hwnd) const {
    WindowObject* window = Find(hwnd);
    if (!window)
        return nullptr;
    size_t index;
    uint16_t generation;
    Decode(hwnd, index, generation);
    return m_slots[index].window;
}

void WindowTable::Remove(HWND hwnd) {
    size_t index;
    uint16_t generation;
    if (!Find(hwnd) || !Decode(hwnd, index, generation))
        return;
    Unlink(*m_slots[index].window);
    m_slots[index].window.reset();
    m_free.push_back(index);
}

void WindowTable::Clear() {
    m_slots.clear();
    m_free.clear();
    m_topLevel.clear();
}

void WindowTable::ForEach(const std::function<void(WindowObject&)>& visit) const {
    for (const Slot& slot : m_slots)
        if (slot.window)
            visit(*slot.window);
}

std::vector<HWND>& WindowTable::SiblingsOf(const WindowObject& window) {
    if (window.m_parent)
        if (WindowObject* parent = Find(window.m_parent))
            return parent->m_children;
    return m_topLevel;
}

void WindowTable::Unlink(const WindowObject& window) {
    auto& siblings = SiblingsOf(window);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window.m_handle), siblings.end());
}

void WindowTable::Place(WindowObject& window, HWND insertAfter) {
    auto& siblings = SiblingsOf(window);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window.m_handle), siblings.end());
    InsertAt(siblings, window, insertAfter);
}

void WindowTable::InsertAt(std::vector<HWND>& siblings, WindowObject& window, HWND insertAfter) {
    if (&siblings != &m_topLevel) {
        // Children have no topmost band.
        size_t position = 0;
        if (insertAfter == HWND_BOTTOM) {
            position = siblings.size();
        } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST &&
                   insertAfter != HWND_NOTOPMOST) {
            auto it = std::find(siblings.begin(), siblings.end(), insertAfter);
            position = it == siblings.end() ? 0 : size_t(it - siblings.begin()) + 1;
        }
        siblings.insert(siblings.begin() + position, window.m_handle);
        return;
    }
    if (insertAfter == HWND_TOPMOST)
        window.m_exStyle |= WS_EX_TOPMOST;
    else if (insertAfter == HWND_NOTOPMOST || insertAfter == HWND_BOTTOM)
        window.m_exStyle &= ~DWORD(WS_EX_TOPMOST);
    size_t band = TopmostBand(siblings, *this);
    size_t position;
    if (insertAfter == HWND_BOTTOM) {
        position = siblings.size();
    } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST ||
               insertAfter == HWND_NOTOPMOST) {
        position = window.IsTopmost() ? 0 : band;
    } else {
        auto it = std::find(siblings.begin(), siblings.end(), insertAfter);
        position = it == siblings.end() ? 0 : size_t(it - siblings.begin()) + 1;
        // A window stays inside its own band whatever it is placed after.
        position = window.IsTopmost() ? std::min(position, band) : std::max(position, band);
    }
    siblings.insert(siblings.begin() + position, window.m_handle);
}

} // namespace platform
