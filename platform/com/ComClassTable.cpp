#include "com/ComClassTable.h"

namespace platform {

ComClassTable& ComClassTable::Instance() {
    static ComClassTable table;
    return table;
}

void ComClassTable::Register(const CLSID& clsid, Factory factory) {
    std::lock_guard lock(m_mutex);
    for (auto& entry : m_classes)
        if (entry.first == clsid) {
            entry.second = std::move(factory);
            return;
        }
    m_classes.emplace_back(clsid, std::move(factory));
}

HRESULT ComClassTable::Create(const CLSID& clsid, REFIID iid, void** object) const {
    Factory factory;
    {
        std::lock_guard lock(m_mutex);
        for (auto& entry : m_classes)
            if (entry.first == clsid)
                factory = entry.second;
    }
    if (!factory)
        return REGDB_E_CLASSNOTREG;
    return factory(iid, object);
}

void ComClassTable::Clear() {
    std::lock_guard lock(m_mutex);
    m_classes.clear();
}

} // namespace platform
