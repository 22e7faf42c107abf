// The registered window classes of every process. A process sees its own classes first
// and then the system's, so two programs may each register a class of the same name.
// Guarded by the WaitHub lock.
#pragma once

#include "user/WindowClass.h"

#include <map>
#include <memory>
#include <utility>

namespace platform {

class ClassTable {
public:
    // Null when the process already has a class of that name.
    std::shared_ptr<WindowClass> Register(const WNDCLASSW& info, DWORD processId);
    // A name, or an atom made with MAKEINTRESOURCEW, as seen by `processId`.
    std::shared_ptr<WindowClass> Find(LPCWSTR nameOrAtom, DWORD processId) const;
    bool Remove(const std::shared_ptr<WindowClass>& windowClass);
    // Drops the classes of a process that ended.
    void RemoveProcess(DWORD processId);
    void Clear();

private:
    std::shared_ptr<WindowClass> FindOwn(LPCWSTR nameOrAtom, DWORD processId) const;

    std::map<std::pair<DWORD, std::u16string>, std::shared_ptr<WindowClass>> m_classes;
    ATOM m_nextAtom = 0xC000;
};

} // namespace platform
