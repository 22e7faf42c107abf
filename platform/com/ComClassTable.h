// The in-process classes CoCreateInstance can make: a factory function per class
// identifier, registered by the subsystems at boot.
#pragma once

#include "ce/objbase.h"

#include <functional>
#include <mutex>
#include <vector>

namespace platform {

class ComClassTable {
public:
    using Factory = std::function<HRESULT(REFIID iid, void** object)>;

    static ComClassTable& Instance();

    // A second registration of the same class replaces the first.
    void Register(const CLSID& clsid, Factory factory);
    // REGDB_E_CLASSNOTREG for an unknown class, else the factory's result.
    HRESULT Create(const CLSID& clsid, REFIID iid, void** object);

private:
    struct Entry {
        CLSID clsid;
        Factory factory;
    };
    std::mutex m_mutex;
    std::vector<Entry> m_entries;
};

} // namespace platform
