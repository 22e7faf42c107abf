#include "corvane/RestartBudget.h"

#include "ce/kernel.h"
#include "ce/regext.h"
#include "ce/registry.h"

namespace corvane {

namespace {
const WCHAR kKey[] = u"System\\State\\Tavik\\Dialora";
} // namespace

bool RestartBudget::TakeOne() {
    DWORD count = 0, since = 0;
    if (FAILED(RegistryGetDWORD(HKEY_LOCAL_MACHINE, kKey, u"RestartCount", &count)))
        count = 0;
    if (FAILED(RegistryGetDWORD(HKEY_LOCAL_MACHINE, kKey, u"RestartWindowStart", &since)))
        count = 0;
    DWORD now = GetTickCount();
    if (count == 0 || now - since >= kWindowMs) {
        count = 0;
        since = now;
    }
    if (count >= kMaxRestarts)
        return false;
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, kKey, u"RestartCount", count + 1);
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, kKey, u"RestartWindowStart", since);
    return true;
}

} // namespace corvane
