#include "user/ClassTable.h"

#include "kernel/Utf.h"

namespace platform {

std::shared_ptr<WindowClass> ClassTable::Register(const WNDCLASSW& info, DWORD processId) {
    std::u16string name = info.lpszClassName;
    auto key = std::make_pair(processId, FoldCase(name));
    if (m_classes.count(key))
        return nullptr;
    // Atoms wrap within their range; a class that lives that long keeps its old atom.
    ATOM atom = m_nextAtom;
    m_nextAtom = m_nextAtom == 0xFFFF ? 0xC000 : ATOM(m_nextAtom + 1);
    auto windowClass = std::make_shared<WindowClass>(info, std::move(name), atom, processId);
    m_classes[key] = windowClass;
    return windowClass;
}

std::shared_ptr<WindowClass> ClassTable::FindOwn(LPCWSTR nameOrAtom, DWORD processId) const {
    if (IS_INTRESOURCE(nameOrAtom)) {
        ATOM atom = ATOM(reinterpret_cast<ULONG_PTR>(nameOrAtom));
        for (auto& [key, windowClass] : m_classes)
            if (key.first == processId && windowClass->Atom() == atom)
                return windowClass;
        return nullptr;
    }
    auto it = m_classes.find(std::make_pair(processId, FoldCase(nameOrAtom)));
    return it == m_classes.end() ? nullptr : it->second;
}

std::shared_ptr<WindowClass> ClassTable::Find(LPCWSTR nameOrAtom, DWORD processId) const {
    if (!nameOrAtom)
        return nullptr;
    if (auto own = FindOwn(nameOrAtom, processId))
        return own;
    constexpr DWORD kSystemProcessId = 1;
    return processId == kSystemProcessId ? nullptr : FindOwn(nameOrAtom, kSystemProcessId);
}

bool ClassTable::Remove(const std::shared_ptr<WindowClass>& windowClass) {
    return m_classes.erase(std::make_pair(windowClass->ProcessId(), FoldCase(windowClass->Name()))) > 0;
}

void ClassTable::RemoveProcess(DWORD processId) {
    std::erase_if(m_classes, [processId](const auto& entry) { return entry.first.first == processId; });
}

void ClassTable::Clear() {
    m_classes.clear();
    m_nextAtom = 0xC000;
}

} // namespace platform
