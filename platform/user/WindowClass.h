// One registered window class: its procedure, styles and defaults, owned by the process
// that registered it (the system process owns the platform's global classes).
#pragma once

#include "ce/user.h"

#include <string>

namespace platform {

class WindowClass {
public:
    WindowClass(const WNDCLASSW& info, std::u16string name, ATOM atom, DWORD processId)
        : m_info(info), m_name(std::move(name)), m_atom(atom), m_processId(processId) {
        m_info.lpszClassName = nullptr; // the caller's string is not kept
        m_info.lpszMenuName = nullptr;
    }

    const WNDCLASSW& Info() const { return m_info; }
    const std::u16string& Name() const { return m_name; }
    ATOM Atom() const { return m_atom; }
    DWORD ProcessId() const { return m_processId; }

    // Windows of this class still alive; a class with windows cannot be unregistered.
    // Guarded by the WaitHub lock.
    int m_windowCount = 0;

private:
    WNDCLASSW m_info;
    std::u16string m_name;
    ATOM m_atom;
    DWORD m_processId;
};

} // namespace platform
