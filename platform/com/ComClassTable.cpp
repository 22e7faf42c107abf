#include "com/ComClassTable.h"

#include "kernel/ProcessTable.h"
#include "kernel/WaitHub.h"

#include <cstdlib>
#include <map>

extern "C" const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000,
                                     {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

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

namespace {

// COM initialisation count per thread id. Guarded by the WaitHub lock.
std::map<DWORD, int>& Apartments() {
    static std::map<DWORD, int> apartments;
    return apartments;
}

} // namespace

} // namespace platform

using namespace platform;

CE_API HRESULT CoInitializeEx(LPVOID, DWORD) {
    DWORD thread = ProcessTable::CurrentThread()->Id();
    std::lock_guard lock(WaitHub::Instance().Mutex());
    return Apartments()[thread]++ == 0 ? S_OK : S_FALSE;
}

CE_API void CoUninitialize() {
    DWORD thread = ProcessTable::CurrentThread()->Id();
    std::lock_guard lock(WaitHub::Instance().Mutex());
    auto it = Apartments().find(thread);
    if (it != Apartments().end() && --it->second <= 0)
        Apartments().erase(it);
}

CE_API HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD, REFIID iid,
                                LPVOID* object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    {
        DWORD thread = ProcessTable::CurrentThread()->Id();
        std::lock_guard lock(WaitHub::Instance().Mutex());
        if (!Apartments().count(thread))
            return CO_E_NOTINITIALIZED;
    }
    return ComClassTable::Instance().Create(clsid, iid, object);
}

CE_API LPVOID CoTaskMemAlloc(SIZE_T bytes) { return std::malloc(bytes ? bytes : 1); }

CE_API void CoTaskMemFree(LPVOID memory) { std::free(memory); }
