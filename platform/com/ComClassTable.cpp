#include "com/ComClassTable.h"

namespace platform {

ComClassTable& ComClassTable::Instance() {
    static ComClassTable table;
    return table;
}

void ComClassTable::Register(const CLSID& clsid, Factory factory) {
    std::lock_guard lock(m_mutex);
    for (Entry& entry : m_entries) {
        if (entry.clsid == clsid) {
            entry.factory = std::move(factory);
            return;
        }
    }
    m_entries.push_back({clsid, std::move(factory)});
}

HRESULT ComClassTable::Create(const CLSID& clsid, REFIID iid, void** object) {
    Factory factory;
    {
        // The factory runs without the table lock: it may create other classes.
        std::lock_guard lock(m_mutex);
        for (const Entry& entry : m_entries)
            if (entry.clsid == clsid)
                factory = entry.factory;
    }
    if (!factory)
        return REGDB_E_CLASSNOTREG;
    return factory(iid, object);
}

} // namespace platform
