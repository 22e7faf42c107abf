// The in-process classes of the platform that CoCreateInstance can create (the imaging
// factory, the contact store application object, ...). Subsystems register theirs at boot.
#pragma once

#include "ce/objbase.h"

#include <functional>
#include <mutex>
#include <vector>

namespace platform {

class ComClassTable {
public:
    // Creates an object and queries `iid` on it; returns an HRESULT.
    using Factory = std::function<HRESULT(REFIID iid, void** object)>;

    static ComClassTable& Instance();

    void Register(const CLSID& clsid, Factory factory);
    HRESULT Create(const CLSID& clsid, REFIID iid, void** object) const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<CLSID, Factory>> m_classes;
};

} // namespace platform
